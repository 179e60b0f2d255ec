// A Wayland compositor of a test's own, in a thread of its own, on one end of
// a socket pair: it offers wl_compositor (for surfaces) and, when told to,
// xdg_activation_v1, answers token requests with "token-1", "token-2", … or
// not at all, and records what it is asked.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct wl_display;

namespace tessary::update::qt::fakes {

struct TokenRequest {
    std::string appId;
    bool withSurface = false;
    bool withSerial = false;
};

class FakeCompositor {
public:
    struct Options {
        bool offerActivation = true;
        bool answerTokens = true;
    };

    explicit FakeCompositor(Options options);
    ~FakeCompositor();
    FakeCompositor(const FakeCompositor&) = delete;
    FakeCompositor& operator=(const FakeCompositor&) = delete;

    // The client's end of the connection, owned by the compositor object.
    wl_display* client() const { return client_; }

    // What the compositor has seen so far. Make a round trip on the client
    // first, so that everything it sent has arrived.
    std::vector<TokenRequest> tokenRequests() const;
    std::vector<std::string> activations() const;

    struct Server;

private:
    void serve();

    std::unique_ptr<Server> server_;
    wl_display* client_ = nullptr;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

}  // namespace tessary::update::qt::fakes
