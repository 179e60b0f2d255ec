// What Qt offers no call for on X11: keeping a window out of the taskbar, and
// bringing it to the front and giving it the focus when the program is asked
// to, whatever window had the focus before. Both do nothing outside X11.
#pragma once

class QWidget;

namespace tessary::update::qt {

// Sets the EWMH skip-taskbar and skip-pager states. Must run before the
// window is first shown.
void hideFromTaskbar(QWidget& window);

// Raises the window and gives it the input focus. With a window manager this
// is an _NET_ACTIVE_WINDOW request on behalf of the user (the host application
// asked for it), which managers honour without focus-stealing prevention;
// without one, the focus is set directly. Returns false outside X11.
bool activateOnX11(QWidget& window);

}  // namespace tessary::update::qt
