// Measures one dialog program on the X display named by DISPLAY: the time from
// its start to its window being mapped, its resident memory once settled, and
// the CPU it uses over idle periods. Prints one line of figures:
//
//   mapped_ms=… rss_kb=… cpu_percent=<median of the periods> cpu_periods=<each, comma-separated>
//
//   dialog-probe [options] <idle seconds> <program> [arguments...]
//
//   --periods N       idle periods of that many seconds, one after the other (default 1)
//   --settle S        seconds between the mapped window and the first period (default 2)
//   --at X,Y          moves the window there once it is mapped, so that several
//                     dialogs measured side by side do not cover each other
//   --renew FILE      writes FILE anew just before the start, as a host does
//                     before it starts the dialog: the same bytes into a new
//                     file in the same folder, renamed over FILE
//   --renew-complete FILE  the same, the new file dated a second back before it
//                     is renamed, as the host module marks a complete version
//
// The program's standard input is a pipe that stays open until the end (a
// progress dialog that reads its input, such as zenity's, sees no end of it).
// Only a window of the program itself counts as its window (_NET_WM_PID).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

template <typename Reply>
using ReplyPointer = std::unique_ptr<Reply, decltype(&std::free)>;

struct Options {
    int periods = 1;
    double settleSeconds = 2;
    std::optional<std::pair<int, int>> at;
    std::string renew;
    bool renewDatedComplete = false;
    int idleSeconds = 0;
    char** command = nullptr;
};

std::optional<Options> parseOptions(int argc, char** argv) {
    Options options;
    int index = 1;
    for (; index + 1 < argc && std::strncmp(argv[index], "--", 2) == 0; index += 2) {
        const std::string name = argv[index];
        const char* value = argv[index + 1];
        if (name == "--periods") {
            options.periods = std::max(1, std::atoi(value));
        } else if (name == "--settle") {
            options.settleSeconds = std::atof(value);
        } else if (name == "--at") {
            int x = 0;
            int y = 0;
            if (std::sscanf(value, "%d,%d", &x, &y) != 2) return std::nullopt;
            options.at = {x, y};
        } else if (name == "--renew" || name == "--renew-complete") {
            options.renew = value;
            options.renewDatedComplete = name == "--renew-complete";
        } else {
            return std::nullopt;
        }
    }
    if (argc - index < 2) return std::nullopt;
    options.idleSeconds = std::atoi(argv[index]);
    options.command = argv + index + 1;
    return options;
}

// Total time the process's threads have spent on a CPU, in nanoseconds (a
// thread that ends takes its time with it: only long-lived threads count).
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

xcb_atom_t internAtom(xcb_connection_t* connection, const char* name) {
    const auto cookie = xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    const ReplyPointer<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(connection, cookie, nullptr),
                                                      &std::free);
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

bool belongsTo(xcb_connection_t* connection, xcb_atom_t pidAtom, xcb_window_t window, pid_t pid) {
    const auto cookie = xcb_get_property(connection, 0, window, pidAtom, XCB_ATOM_CARDINAL, 0, 1);
    const ReplyPointer<xcb_get_property_reply_t> reply(xcb_get_property_reply(connection, cookie, nullptr),
                                                       &std::free);
    if (!reply || xcb_get_property_value_length(reply.get()) < 4) return false;
    return *static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get())) ==
           static_cast<std::uint32_t>(pid);
}

// Waits for a top-level window of the process to be mapped (not an
// override-redirect one) and returns it.
std::optional<xcb_window_t> waitForMap(xcb_connection_t* connection, pid_t pid) {
    const xcb_atom_t pidAtom = internAtom(connection, "_NET_WM_PID");
    while (xcb_generic_event_t* raw = xcb_wait_for_event(connection)) {
        const std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> event(raw, &std::free);
        if ((event->response_type & 0x7f) != XCB_MAP_NOTIFY) continue;
        const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(raw);
        if (!map->override_redirect && belongsTo(connection, pidAtom, map->window, pid)) return map->window;
    }
    return std::nullopt;
}

// The host's way: a new file with the same bytes, renamed over the old one;
// `datedComplete`, the host module's way, dates it a second back first.
bool renew(const std::string& path, bool datedComplete) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string temporary = path + ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << bytes;
        if (!out.flush()) return false;
    }
    if (datedComplete) {
        std::error_code failed;
        const auto now = std::filesystem::file_time_type::clock::now();
        std::filesystem::last_write_time(temporary, now - std::chrono::seconds(1), failed);
        if (failed) return false;
    }
    return std::rename(temporary.c_str(), path.c_str()) == 0;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<Options> options = parseOptions(argc, argv);
    if (!options) {
        std::fprintf(stderr,
                     "usage: dialog-probe [--periods N] [--settle S] [--at X,Y] [--renew[-complete] FILE] "
                     "<idle seconds> <program> [arguments...]\n");
        return 64;
    }
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "dialog-probe: cannot open the display\n");
        return 1;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);

    int input[2];
    if (pipe2(input, O_CLOEXEC) != 0) return 1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);

    if (!options->renew.empty() && !renew(options->renew, options->renewDatedComplete)) {
        std::fprintf(stderr, "dialog-probe: cannot write %s anew\n", options->renew.c_str());
        return 1;
    }
    const auto start = Clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, options->command[0], &actions, nullptr, options->command, environ) != 0) {
        std::fprintf(stderr, "dialog-probe: cannot start %s\n", options->command[0]);
        return 1;
    }
    close(input[0]);
    const std::optional<xcb_window_t> window = waitForMap(connection, pid);
    const double mappedMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    if (window && options->at) {
        const std::uint32_t place[] = {static_cast<std::uint32_t>(options->at->first),
                                       static_cast<std::uint32_t>(options->at->second)};
        xcb_configure_window(connection, *window, XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, place);
        xcb_flush(connection);
    }

    std::this_thread::sleep_for(
        std::chrono::duration<double>(options->settleSeconds));  // start-up work settles
    const long rssKb = residentKilobytes(pid);
    std::vector<double> cpuPercents;
    for (int period = 0; options->idleSeconds > 0 && period < options->periods; ++period) {
        const long long cpuBefore = cpuNanoseconds(pid);
        const auto idleStart = Clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(options->idleSeconds));
        const long long cpuAfter = cpuNanoseconds(pid);
        const double idleNs = std::chrono::duration<double, std::nano>(Clock::now() - idleStart).count();
        cpuPercents.push_back(100.0 * static_cast<double>(cpuAfter - cpuBefore) / idleNs);
    }

    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    close(input[1]);
    xcb_disconnect(connection);
    if (!window) return 1;
    std::ostringstream periods;
    for (std::size_t i = 0; i < cpuPercents.size(); ++i) periods << (i ? "," : "") << cpuPercents[i];
    std::printf("mapped_ms=%.1f rss_kb=%ld cpu_percent=%.3f cpu_periods=%s\n", mappedMs, rssKb,
                cpuPercents.empty() ? 0.0 : median(cpuPercents),
                cpuPercents.empty() ? "-" : periods.str().c_str());
    return 0;
}
