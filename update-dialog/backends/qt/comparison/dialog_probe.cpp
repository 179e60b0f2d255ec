// Measures one dialog program on the X display named by DISPLAY: the time from
// its start to its window being mapped, its resident memory once settled, and
// the CPU it uses over an idle period. Prints one line of figures.
//
//   dialog-probe <idle seconds> <program> [arguments...]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <xcb/xcb.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// Total time the process's threads have spent on a CPU, in nanoseconds.
long long cpuNanoseconds(pid_t pid) {
    long long total = 0;
    for (const auto& task : std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task")) {
        std::ifstream schedstat(task.path() / "schedstat");
        long long onCpu = 0;
        if (schedstat >> onCpu) total += onCpu;
    }
    return total;
}

long residentKilobytes(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

// Waits for the first top-level window to be mapped (not an override-redirect one).
bool waitForMap(xcb_connection_t* connection) {
    while (xcb_generic_event_t* raw = xcb_wait_for_event(connection)) {
        const std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> event(raw, &std::free);
        if ((event->response_type & 0x7f) != XCB_MAP_NOTIFY) continue;
        if (!reinterpret_cast<xcb_map_notify_event_t*>(raw)->override_redirect) return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: dialog-probe <idle seconds> <program> [arguments...]\n");
        return 64;
    }
    const int idleSeconds = std::atoi(argv[1]);
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "dialog-probe: cannot open the display\n");
        return 1;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);

    const auto start = Clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[2], nullptr, nullptr, argv + 2, environ) != 0) {
        std::fprintf(stderr, "dialog-probe: cannot start %s\n", argv[2]);
        return 1;
    }
    const bool mapped = waitForMap(connection);
    const double mappedMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();

    std::this_thread::sleep_for(std::chrono::seconds(2));  // let start-up work settle
    const long rssKb = residentKilobytes(pid);
    const long long cpuBefore = cpuNanoseconds(pid);
    const auto idleStart = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(idleSeconds));
    const long long cpuAfter = cpuNanoseconds(pid);
    const double idleNs = std::chrono::duration<double, std::nano>(Clock::now() - idleStart).count();

    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    xcb_disconnect(connection);
    if (!mapped) return 1;
    std::printf("mapped_ms=%.1f rss_kb=%ld cpu_percent=%.3f\n", mappedMs, rssKb,
                idleSeconds > 0 ? 100.0 * static_cast<double>(cpuAfter - cpuBefore) / idleNs : 0.0);
    return 0;
}
