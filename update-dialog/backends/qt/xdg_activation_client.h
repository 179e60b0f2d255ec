// A client of the compositor's xdg-activation protocol on a connection that
// someone else (Qt) owns and reads. Everything asked here travels on an event
// queue of its own, so Qt never dispatches these events and the token request
// never dispatches Qt's.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

struct wl_display;
struct wl_event_queue;
struct wl_registry;
struct wl_surface;
struct xdg_activation_v1;

namespace tessary::update::qt {

class XdgActivationClient {
public:
    // How long one request may wait for the compositor before it gives up:
    // a compositor that never answers must not freeze the dialog.
    static constexpr std::chrono::milliseconds answerTimeout{1000};

    // Looks for the compositor's xdg_activation_v1 global on `display`.
    explicit XdgActivationClient(wl_display* display);
    ~XdgActivationClient();
    XdgActivationClient(const XdgActivationClient&) = delete;
    XdgActivationClient& operator=(const XdgActivationClient&) = delete;

    // Whether the compositor offers xdg-activation.
    bool available();

    // Asks for a fresh token for `surface`, with no input serial: the request
    // comes from the host application, not from an input event of the dialog.
    // Nothing when the compositor offers no activation or does not answer.
    std::optional<std::string> requestToken(wl_surface* surface);

    // Asks the compositor to activate `surface` with `token`. Whether that
    // gives the focus or only marks the window urgent is the compositor's call.
    void activate(const std::string& token, wl_surface* surface);

private:
    struct QueueDeleter {
        void operator()(wl_event_queue* queue) const;
    };
    struct WrapperDeleter {
        void operator()(wl_display* wrapper) const;
    };
    struct RegistryDeleter {
        void operator()(wl_registry* registry) const;
    };
    struct ActivationDeleter {
        void operator()(xdg_activation_v1* activation) const;
    };

    static void onGlobal(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
                         std::uint32_t version);
    static void onGlobalRemove(void* data, wl_registry* registry, std::uint32_t name);

    // Dispatches this client's queue until `done` holds, the deadline passes or
    // the connection fails. Returns whether `done` holds.
    template <typename Done>
    bool dispatchUntil(Done done);
    // Waits until the compositor has answered everything sent so far.
    bool roundtrip();

    wl_display* display_;
    // Declared in the order of making: the proxies go before their queue.
    std::unique_ptr<wl_event_queue, QueueDeleter> queue_;
    std::unique_ptr<wl_display, WrapperDeleter> wrapper_;
    std::unique_ptr<wl_registry, RegistryDeleter> registry_;
    std::unique_ptr<xdg_activation_v1, ActivationDeleter> activation_;
    std::uint32_t activationName_ = 0;
};

}  // namespace tessary::update::qt
