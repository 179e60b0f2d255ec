// The xdg-activation client against a compositor of the test's own: a fresh
// token for each request, asked for with the dialog's app id and surface and
// no input serial; activation with that token; nothing asked where the
// compositor offers no activation; no hang where it never answers; and the
// same results while another thread reads the connection, as Qt's does.
#include <atomic>
#include <cstring>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>
#include <wayland-client.h>

#include "fake_compositor.h"
#include "xdg_activation_client.h"

namespace tessary::update::qt {
namespace {

using fakes::FakeCompositor;

// A surface of the client's own, to name in token and activation requests.
class ClientSurface {
public:
    explicit ClientSurface(wl_display* display) {
        registry_ = wl_display_get_registry(display);
        static constexpr wl_registry_listener listener{
            [](void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
                if (std::strcmp(interface, wl_compositor_interface.name) != 0) return;
                static_cast<ClientSurface*>(data)->compositor_ = static_cast<wl_compositor*>(
                    wl_registry_bind(registry, name, &wl_compositor_interface, 1));
            },
            [](void*, wl_registry*, uint32_t) {}};
        wl_registry_add_listener(registry_, &listener, this);
        wl_display_roundtrip(display);
        if (compositor_) surface_ = wl_compositor_create_surface(compositor_);
        wl_display_roundtrip(display);
    }
    ~ClientSurface() {
        // Only the proxies go: the compositor takes the rest with the connection.
        if (surface_) wl_proxy_destroy(reinterpret_cast<wl_proxy*>(surface_));
        if (compositor_) wl_compositor_destroy(compositor_);
        wl_registry_destroy(registry_);
    }
    ClientSurface(const ClientSurface&) = delete;
    ClientSurface& operator=(const ClientSurface&) = delete;

    wl_surface* get() const { return surface_; }

private:
    wl_registry* registry_ = nullptr;
    wl_compositor* compositor_ = nullptr;
    wl_surface* surface_ = nullptr;
};

// Another thread that reads and dispatches the connection's default queue
// all along, as Qt's event thread does.
class OtherReader {
public:
    explicit OtherReader(wl_display* display) : display_(display), thread_([this] { run(); }) {}
    ~OtherReader() {
        stopping_ = true;
        // An event on the default queue wakes the reader to see the flag.
        wl_callback* wake = wl_display_sync(display_);
        wl_display_flush(display_);
        thread_.join();
        wl_callback_destroy(wake);
    }
    OtherReader(const OtherReader&) = delete;
    OtherReader& operator=(const OtherReader&) = delete;

private:
    void run() {
        while (!stopping_ && wl_display_dispatch(display_) >= 0) {
        }
    }

    wl_display* display_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

struct Case {
    const char* name;
    bool otherReader;
    friend void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }
};

class XdgActivationClientTest : public ::testing::TestWithParam<Case> {};

TEST_P(XdgActivationClientTest, EachRequestGetsAFreshTokenAndActivatesWithIt) {
    FakeCompositor compositor({});
    ASSERT_NE(compositor.client(), nullptr);
    ClientSurface surface(compositor.client());
    ASSERT_NE(surface.get(), nullptr);
    std::optional<OtherReader> reader;
    if (GetParam().otherReader) reader.emplace(compositor.client());

    XdgActivationClient client(compositor.client());
    EXPECT_TRUE(client.available());
    std::vector<std::string> tokens;
    for (int request = 0; request < 3; ++request) {
        const std::optional<std::string> token = client.requestToken(surface.get());
        ASSERT_TRUE(token.has_value()) << "request " << request;
        client.activate(*token, surface.get());
        tokens.push_back(*token);
    }
    reader.reset();
    wl_display_roundtrip(compositor.client());

    EXPECT_EQ(tokens, (std::vector<std::string>{"token-1", "token-2", "token-3"}));
    EXPECT_EQ(compositor.activations(), tokens);
    ASSERT_EQ(compositor.tokenRequests().size(), 3U);
    for (const fakes::TokenRequest& request : compositor.tokenRequests()) {
        EXPECT_EQ(request.appId, "tessary-update");
        EXPECT_TRUE(request.withSurface);
        EXPECT_FALSE(request.withSerial) << "the request comes from the host, not from an input event";
    }
}

TEST_P(XdgActivationClientTest, CompositorThatNeverAnswersLeavesTheRequestWithoutAToken) {
    FakeCompositor compositor({.offerActivation = true, .answerTokens = false});
    ClientSurface surface(compositor.client());
    std::optional<OtherReader> reader;
    if (GetParam().otherReader) reader.emplace(compositor.client());

    XdgActivationClient client(compositor.client());
    EXPECT_EQ(client.requestToken(surface.get()), std::nullopt);
    EXPECT_EQ(client.requestToken(surface.get()), std::nullopt)
        << "a later request waits again, and gives up again";
    reader.reset();
    wl_display_roundtrip(compositor.client());
    EXPECT_EQ(compositor.tokenRequests().size(), 2U);
    EXPECT_TRUE(compositor.activations().empty());
}

INSTANTIATE_TEST_SUITE_P(Readers, XdgActivationClientTest,
                         ::testing::Values(Case{"Alone", false}, Case{"BesideAnotherReader", true}),
                         [](const ::testing::TestParamInfo<Case>& info) { return info.param.name; });

TEST(XdgActivationClient, WithoutActivationOnOfferNothingIsAsked) {
    FakeCompositor compositor({.offerActivation = false});
    ClientSurface surface(compositor.client());
    XdgActivationClient client(compositor.client());
    EXPECT_FALSE(client.available());
    EXPECT_EQ(client.requestToken(surface.get()), std::nullopt);
    client.activate("token-from-elsewhere", surface.get());
    wl_display_roundtrip(compositor.client());
    EXPECT_TRUE(compositor.tokenRequests().empty());
    EXPECT_TRUE(compositor.activations().empty());
}

}  // namespace
}  // namespace tessary::update::qt
