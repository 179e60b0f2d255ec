// Runs the whole update dialog on the recording toolkit in a folder of its own,
// and gives back what the host application and the user would see.
#pragma once

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "backends/recording/recording_toolkit.h"
#include "core/update_dialog.h"

namespace tessary::update::testing {

using recording::Action;
using recording::FocusSignal;
using recording::OneShotTimerFires;
using recording::Press;
using recording::Step;
using recording::TimerTick;

// A temporary folder holding the status file, removed afterwards.
class StatusFolder {
public:
    StatusFolder();
    ~StatusFolder();
    StatusFolder(const StatusFolder&) = delete;
    StatusFolder& operator=(const StatusFolder&) = delete;

    const std::filesystem::path& folder() const { return folder_; }
    // The path of a file in the folder, as the core takes it (see corePath).
    std::string pathOf(std::string_view name) const;
    std::string statusPath() const { return pathOf("status.json"); }
    // Rewrites the status file in place and dates it a second back, as a
    // version the host finished writing long ago.
    void write(std::string_view bytes) const;
    Action writeStep(std::string bytes) const;  // the same, as a step of the modal loop
    // Rewrites the status file in place now, as a host still at work would.
    void rewriteInPlaceNow(std::string_view bytes) const;
    // Writes a new file beside it and renames it over the status file, now.
    void renameIntoPlace(std::string_view bytes) const;
    // Dates the status file's last change, to judge its age against a clock of the test's.
    void dateTo(std::chrono::system_clock::time_point modified) const;
    // Moves the status file out of the way (it is missing from then on), keeping
    // it alive under another name, so that no file made later can take its identity.
    void moveAway() const;

private:
    std::filesystem::path folder_;
    mutable int movedAway_ = 0;
};

// What differs between the systems the tests run on, one file each
// (dialog_harness_posix.cpp, dialog_harness_windows.cpp).

// A new, empty folder of the test's own in the system's temporary folder.
std::filesystem::path newTemporaryFolder();
// A path as the core takes it: its bytes on POSIX systems, UTF-8 on Windows;
// and back. Any bytes may name a file on POSIX systems; on Windows a name may
// hold any characters, also from beyond the Basic Multilingual Plane.
std::string corePath(const std::filesystem::path& path);
std::filesystem::path fileSystemPath(std::string_view corePath);
// Sets a file's last data change, exactly (the file system's own resolution).
void setModificationTime(const std::string& path, std::chrono::system_clock::time_point modified);

// A file name beyond ASCII, as a host may give one: bytes that are not even
// UTF-8 on POSIX systems, characters from beyond the Basic Multilingual Plane
// on Windows.
extern const std::string_view unusualFileName;

// Something at a path that is no regular file, on which a reader would wait
// for good: a FIFO without a writer on POSIX systems, a named pipe that no one
// serves on Windows. Gone with the object.
class WaitingSpecialFile {
public:
    explicit WaitingSpecialFile(const StatusFolder& folder);
    ~WaitingSpecialFile();
    WaitingSpecialFile(const WaitingSpecialFile&) = delete;
    WaitingSpecialFile& operator=(const WaitingSpecialFile&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
    void* handle_ = nullptr;  // what keeps it in place, where one is needed
};

// A stream for a run's standard output whose flushed bytes can be read back.
class CapturedOutput {
public:
    virtual ~CapturedOutput() = default;
    virtual std::FILE* stream() = 0;
    // The bytes that reached the other end so far: only what was flushed.
    virtual std::string flushedBytes() = 0;
};
std::unique_ptr<CapturedOutput> captureOutput();

struct DialogRun {
    int exitStatus = -1;
    std::string standardOutput;
    std::vector<std::string> calls;
};

// Runs the program with `arguments` (the program path is added in front). The
// calls are those made until the program ends the process, which happens right
// after the run: nothing the dialog made is released before that.
DialogRun runDialog(const std::vector<std::string>& arguments, std::vector<Step> script);
struct DialogOptions {
    // Standard output, whose bytes the run then does not collect; by default a
    // pipe whose bytes it does.
    std::FILE* standardOutput = nullptr;
    // The clock against which the status file's age is judged; by default the system's.
    UpdateDialog::Clock clock;
};
DialogRun runDialog(const std::vector<std::string>& arguments, std::vector<Step> script,
                    const DialogOptions& options);

// The usual four arguments: status file, installed version "1.4.2", no icon, minimum time 100.
std::vector<std::string> standardArguments(const StatusFolder& folder, std::string minimumTime = "100");

// A status text with checkedAt 100 and the given state plus extra members (JSON text, may be empty).
std::string statusJson(std::string_view state, std::string_view extraMembers = "");

// The calls of the refresh pass that runs before the modal loop.
std::vector<std::string> firstPassCalls(const std::vector<std::string>& calls);

// The calls made after the n-th (1-based) "-- timer fires" up to the next event.
std::vector<std::string> tickCalls(const std::vector<std::string>& calls, int tick);

}  // namespace tessary::update::testing
