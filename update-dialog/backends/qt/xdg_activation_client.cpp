#include "xdg_activation_client.h"

#include <poll.h>

#include <cerrno>
#include <cstring>

#include <wayland-client.h>
#include "xdg-activation-v1-client-protocol.h"

namespace tessary::update::qt {
namespace {

constexpr std::uint32_t activationVersion = 1;
constexpr const char* appId = "tessary-update";

void onTokenDone(void* data, xdg_activation_token_v1*, const char* token) {
    static_cast<std::optional<std::string>*>(data)->emplace(token ? token : "");
}

constexpr xdg_activation_token_v1_listener tokenListener{onTokenDone};

void onSyncDone(void* data, wl_callback*, std::uint32_t) {
    *static_cast<bool*>(data) = true;
}

constexpr wl_callback_listener syncListener{onSyncDone};

struct TokenDeleter {
    void operator()(xdg_activation_token_v1* token) const { xdg_activation_token_v1_destroy(token); }
};

struct CallbackDeleter {
    void operator()(wl_callback* callback) const { wl_callback_destroy(callback); }
};

}  // namespace

void XdgActivationClient::QueueDeleter::operator()(wl_event_queue* queue) const {
    wl_event_queue_destroy(queue);
}

void XdgActivationClient::WrapperDeleter::operator()(wl_display* wrapper) const {
    wl_proxy_wrapper_destroy(wrapper);
}

void XdgActivationClient::RegistryDeleter::operator()(wl_registry* registry) const {
    wl_registry_destroy(registry);
}

void XdgActivationClient::ActivationDeleter::operator()(xdg_activation_v1* activation) const {
    xdg_activation_v1_destroy(activation);
}

XdgActivationClient::XdgActivationClient(wl_display* display)
    : display_(display), queue_(wl_display_create_queue(display)) {
    if (!queue_) return;
    // Requests made through the wrapper put their new objects on our queue,
    // without moving Qt's wl_display off its own.
    wrapper_.reset(static_cast<wl_display*>(wl_proxy_create_wrapper(display)));
    if (!wrapper_) return;
    wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(wrapper_.get()), queue_.get());
    registry_.reset(wl_display_get_registry(wrapper_.get()));
    if (!registry_) return;
    static constexpr wl_registry_listener registryListener{onGlobal, onGlobalRemove};
    wl_registry_add_listener(registry_.get(), &registryListener, this);
    roundtrip();
}

XdgActivationClient::~XdgActivationClient() {
    activation_.reset();
    registry_.reset();
    wrapper_.reset();
    // Nothing of ours may stay queued for the compositor when Qt goes on alone.
    wl_display_flush(display_);
}

void XdgActivationClient::onGlobal(void* data, wl_registry* registry, std::uint32_t name,
                                   const char* interface, std::uint32_t) {
    auto& self = *static_cast<XdgActivationClient*>(data);
    if (self.activation_ || std::strcmp(interface, xdg_activation_v1_interface.name) != 0) return;
    self.activation_.reset(static_cast<xdg_activation_v1*>(
        wl_registry_bind(registry, name, &xdg_activation_v1_interface, activationVersion)));
    self.activationName_ = name;
}

void XdgActivationClient::onGlobalRemove(void* data, wl_registry*, std::uint32_t name) {
    auto& self = *static_cast<XdgActivationClient*>(data);
    if (self.activation_ && name == self.activationName_) self.activation_.reset();
}

template <typename Done>
bool XdgActivationClient::dispatchUntil(Done done) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + answerTimeout;
    wl_event_queue* queue = queue_.get();
    while (!done()) {
        // Qt's own reader may already have read our events onto our queue.
        if (wl_display_prepare_read_queue(display_, queue) != 0) {
            if (wl_display_dispatch_queue_pending(display_, queue) < 0) return false;
            continue;
        }
        wl_display_flush(display_);
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            wl_display_cancel_read(display_);
            return false;
        }
        pollfd connection{wl_display_get_fd(display_), POLLIN, 0};
        const int ready = poll(&connection, 1, static_cast<int>(left.count()));
        if (ready <= 0) {
            wl_display_cancel_read(display_);
            if (ready < 0 && errno != EINTR) return false;
            continue;
        }
        if (wl_display_read_events(display_) < 0) return false;
        if (wl_display_dispatch_queue_pending(display_, queue) < 0) return false;
    }
    return true;
}

bool XdgActivationClient::roundtrip() {
    bool answered = false;
    const std::unique_ptr<wl_callback, CallbackDeleter> sync(wl_display_sync(wrapper_.get()));
    if (!sync) return false;
    wl_callback_add_listener(sync.get(), &syncListener, &answered);
    return dispatchUntil([&] { return answered; });
}

bool XdgActivationClient::available() {
    if (!registry_) return false;
    // Globals announced or withdrawn since the last request.
    wl_display_dispatch_queue_pending(display_, queue_.get());
    return activation_ != nullptr;
}

std::optional<std::string> XdgActivationClient::requestToken(wl_surface* surface) {
    if (!available()) return std::nullopt;
    std::optional<std::string> token;
    const std::unique_ptr<xdg_activation_token_v1, TokenDeleter> request(
        xdg_activation_v1_get_activation_token(activation_.get()));
    if (!request) return std::nullopt;
    xdg_activation_token_v1_add_listener(request.get(), &tokenListener, &token);
    xdg_activation_token_v1_set_app_id(request.get(), appId);
    if (surface) xdg_activation_token_v1_set_surface(request.get(), surface);
    xdg_activation_token_v1_commit(request.get());
    if (!dispatchUntil([&] { return token.has_value(); })) return std::nullopt;
    return token;
}

void XdgActivationClient::activate(const std::string& token, wl_surface* surface) {
    if (!available() || !surface) return;
    xdg_activation_v1_activate(activation_.get(), token.c_str(), surface);
    wl_display_flush(display_);
}

}  // namespace tessary::update::qt
