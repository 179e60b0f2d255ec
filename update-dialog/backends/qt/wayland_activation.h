// Bringing the dialog forward in a Wayland session. A Wayland client can
// neither raise nor focus its own window: it asks the compositor for an
// activation token (xdg-activation) and then to be activated with it. The
// compositor's policy decides whether that gives the focus or only marks the
// window as wanting attention.
#pragma once

class QWidget;

namespace tessary::update::qt {

// Asks the compositor for a fresh token and activates the window with it.
// Returns false, having asked Wayland nothing, when the dialog does not run
// natively on Wayland; also false when the compositor offers no activation.
bool activateOnWayland(QWidget& window);

}  // namespace tessary::update::qt
