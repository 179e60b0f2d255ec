#include "wayland_activation.h"

#include <memory>

#include <qpa/qplatformnativeinterface.h>
#include <QGuiApplication>
#include <QObject>
#include <QWidget>
#include <QWindow>

#include "xdg_activation_client.h"

namespace tessary::update::qt {
namespace {

// The activation client lives with the window it serves: it is made on the
// first request and goes with the window, while Qt's connection still stands.
class ActivationClientHolder final : public QObject {
public:
    ActivationClientHolder(wl_display* display, QObject* owner) : QObject(owner), client(display) {}
    XdgActivationClient client;
};

XdgActivationClient& activationClientFor(QWidget& window, wl_display* display) {
    for (QObject* child : window.children()) {
        if (auto* holder = dynamic_cast<ActivationClientHolder*>(child)) return holder->client;
    }
    return (new ActivationClientHolder(display, &window))->client;
}

bool onWayland() {
    // "wayland", or "wayland-egl" and the like when chosen by name.
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

}  // namespace

bool activateOnWayland(QWidget& window) {
    if (!onWayland()) return false;
    QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
    QWindow* handle = window.windowHandle();
    if (!native || !handle) return false;
    auto* display = static_cast<wl_display*>(native->nativeResourceForIntegration("wl_display"));
    auto* surface = static_cast<wl_surface*>(native->nativeResourceForWindow("surface", handle));
    if (!display || !surface) return false;

    XdgActivationClient& client = activationClientFor(window, display);
    // Qt can activate only with a token it was handed at start, and only once;
    // each request of the host application therefore gets a token of its own.
    const std::optional<std::string> token = client.requestToken(surface);
    if (!token) return false;
    client.activate(*token, surface);
    return true;
}

}  // namespace tessary::update::qt
