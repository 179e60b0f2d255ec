#include "font_preload.h"

#include <fontconfig/fontconfig.h>

namespace tessary::update::qt {

// fontconfig makes its configuration once per process and may be asked for it
// from any thread; Qt's font database asks for the same configuration later.
FontConfigurationPreload::FontConfigurationPreload() : thread_([] { FcInit(); }) {}

FontConfigurationPreload::~FontConfigurationPreload() {
    thread_.join();
}

}  // namespace tessary::update::qt
