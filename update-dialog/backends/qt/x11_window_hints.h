// What Qt offers no call for on X11: keeping a window out of the taskbar, and
// bringing it to the front and giving it the focus when the program is asked
// to, whatever window had the focus before. Both do nothing outside X11.
#pragma once

#include <array>

#include <xcb/xcb.h>

class QWidget;

namespace tessary::update::qt {

// Keeps a window out of the taskbar and the pager: the EWMH skip-taskbar and
// skip-pager states. The atoms are asked for when this is made and their
// answers taken only when the states are written, just before the window is
// first shown; by then they have arrived, so the start waits for no round trip
// to the X server of its own.
class TaskbarExclusion {
public:
    TaskbarExclusion();
    ~TaskbarExclusion();
    TaskbarExclusion(const TaskbarExclusion&) = delete;
    TaskbarExclusion& operator=(const TaskbarExclusion&) = delete;

    // Writes the states on the window, whose native window it makes now. Must
    // run before the window is first shown; does something only once.
    void applyTo(QWidget& window);

private:
    xcb_connection_t* connection_ = nullptr;
    // _NET_WM_STATE, then the two states.
    std::array<xcb_intern_atom_cookie_t, 3> atoms_{};
};

// Raises the window and gives it the input focus. With a window manager this
// is an _NET_ACTIVE_WINDOW request on behalf of the user (the host application
// asked for it), which managers honour without focus-stealing prevention;
// without one, the focus is set directly. Returns false outside X11.
bool activateOnX11(QWidget& window);

}  // namespace tessary::update::qt
