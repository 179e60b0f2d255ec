#include "fake_compositor.h"

#include <sys/socket.h>
#include <unistd.h>

#include <wayland-client-core.h>
#include <wayland-server.h>
#include "xdg-activation-v1-server-protocol.h"

namespace tessary::update::qt::fakes {

struct FakeCompositor::Server {
    Options options;
    wl_display* display = nullptr;
    mutable std::mutex mutex;
    std::vector<TokenRequest> tokenRequests;
    std::vector<std::string> activations;
    int tokensGiven = 0;
};

namespace {

using Server = FakeCompositor::Server;

struct Token {
    Server* server;
    TokenRequest request;
};

Token& tokenOf(wl_resource* resource) {
    return *static_cast<Token*>(wl_resource_get_user_data(resource));
}

void destroyResource(wl_client*, wl_resource* resource) {
    wl_resource_destroy(resource);
}

const struct xdg_activation_token_v1_interface tokenImplementation = {
    [](wl_client*, wl_resource* resource, uint32_t, wl_resource*) {
        tokenOf(resource).request.withSerial = true;
    },
    [](wl_client*, wl_resource* resource, const char* appId) { tokenOf(resource).request.appId = appId; },
    [](wl_client*, wl_resource* resource, wl_resource*) { tokenOf(resource).request.withSurface = true; },
    [](wl_client*, wl_resource* resource) {
        Token& token = tokenOf(resource);
        std::string answer;
        {
            const std::lock_guard lock(token.server->mutex);
            token.server->tokenRequests.push_back(token.request);
            if (token.server->options.answerTokens)
                answer = "token-" + std::to_string(++token.server->tokensGiven);
        }
        if (!answer.empty()) xdg_activation_token_v1_send_done(resource, answer.c_str());
    },
    destroyResource,
};

void getActivationToken(wl_client* client, wl_resource* activation, uint32_t id) {
    wl_resource* resource = wl_resource_create(client, &xdg_activation_token_v1_interface, 1, id);
    auto* token = new Token{static_cast<Server*>(wl_resource_get_user_data(activation)), {}};
    wl_resource_set_implementation(resource, &tokenImplementation, token,
                                   [](wl_resource* r) { delete &tokenOf(r); });
}

void activate(wl_client*, wl_resource* activation, const char* token, wl_resource*) {
    auto& server = *static_cast<Server*>(wl_resource_get_user_data(activation));
    const std::lock_guard lock(server.mutex);
    server.activations.emplace_back(token);
}

const struct xdg_activation_v1_interface activationImplementation = {destroyResource, getActivationToken,
                                                                     activate};

void bindActivation(wl_client* client, void* data, uint32_t version, uint32_t id) {
    wl_resource* resource =
        wl_resource_create(client, &xdg_activation_v1_interface, static_cast<int>(version), id);
    wl_resource_set_implementation(resource, &activationImplementation, data, nullptr);
}

// Surfaces exist only to be named in requests; the tests send none to them.
void createSurface(wl_client* client, wl_resource* compositor, uint32_t id) {
    wl_resource* surface =
        wl_resource_create(client, &wl_surface_interface, wl_resource_get_version(compositor), id);
    wl_resource_set_implementation(surface, nullptr, nullptr, nullptr);
}

const struct wl_compositor_interface compositorImplementation = {createSurface, nullptr};

void bindCompositor(wl_client* client, void*, uint32_t version, uint32_t id) {
    wl_resource* resource =
        wl_resource_create(client, &wl_compositor_interface, static_cast<int>(version), id);
    wl_resource_set_implementation(resource, &compositorImplementation, nullptr, nullptr);
}

}  // namespace

FakeCompositor::FakeCompositor(Options options) : server_(std::make_unique<Server>()) {
    server_->options = options;
    server_->display = wl_display_create();
    wl_global_create(server_->display, &wl_compositor_interface, 1, nullptr, bindCompositor);
    if (options.offerActivation)
        wl_global_create(server_->display, &xdg_activation_v1_interface, 1, server_.get(), bindActivation);
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) return;
    wl_client_create(server_->display, ends[0]);
    client_ = wl_display_connect_to_fd(ends[1]);
    thread_ = std::thread([this] { serve(); });
}

FakeCompositor::~FakeCompositor() {
    stopping_ = true;
    if (thread_.joinable()) thread_.join();
    if (client_) wl_display_disconnect(client_);
    wl_display_destroy_clients(server_->display);
    wl_display_destroy(server_->display);
}

void FakeCompositor::serve() {
    wl_event_loop* loop = wl_display_get_event_loop(server_->display);
    while (!stopping_) {
        wl_event_loop_dispatch(loop, 10);
        wl_display_flush_clients(server_->display);
    }
}

std::vector<TokenRequest> FakeCompositor::tokenRequests() const {
    const std::lock_guard lock(server_->mutex);
    return server_->tokenRequests;
}

std::vector<std::string> FakeCompositor::activations() const {
    const std::lock_guard lock(server_->mutex);
    return server_->activations;
}

}  // namespace tessary::update::qt::fakes
