// Keeps a window out of the taskbar and pager where the desktop honours the
// EWMH hints: the Linux counterpart of an accessory application without a Dock icon.
#pragma once

class QWidget;

namespace tessary::update::qt {

// Must run before the window is first shown. A no-op outside X11.
void hideFromTaskbar(QWidget& window);

}  // namespace tessary::update::qt
