#include "font_preload.h"

#include <cstddef>

#include <fontconfig/fontconfig.h>
#include <pthread.h>
#include <sys/mman.h>

namespace tessary::update::qt {
namespace {

// Enough for fontconfig's parsing of its configuration files.
constexpr std::size_t stackSize = 1024 * 1024;

void* loadConfiguration(void*) {
    // fontconfig makes its configuration once per process and may be asked for
    // it from any thread; Qt's font database asks for the same one later.
    FcInit();
    return nullptr;
}

}  // namespace

// The thread runs on a stack of its own making, which goes when it has
// finished: a stack of the thread library's would stay in memory for a thread
// that never comes.
FontConfigurationPreload::FontConfigurationPreload() {
    void* stack =
        mmap(nullptr, stackSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_STACK, -1, 0);
    if (stack == MAP_FAILED) return;
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstack(&attributes, stack, stackSize);
    if (pthread_create(&thread_, &attributes, loadConfiguration, nullptr) == 0) {
        stack_ = stack;
    } else {
        munmap(stack, stackSize);
    }
    pthread_attr_destroy(&attributes);
}

FontConfigurationPreload::~FontConfigurationPreload() {
    if (!stack_) return;
    pthread_join(thread_, nullptr);
    munmap(stack_, stackSize);
}

}  // namespace tessary::update::qt
