// Reading the status file on Windows: the files that are refused for what they
// are, names beyond ASCII and beyond MAX_PATH, what the share flags allow a
// host meanwhile, and that no handle outlives a reading.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "core/file_path.h"
#include "core/regular_file.h"
#include "core/status_file.h"
#include "dialog_harness.h"
#include "platform/windows/wide_text.h"

namespace tessary::update {
namespace {

using namespace std::chrono_literals;

std::wstring wide(const std::string& path) {
    return windows::wideFromUtf8(path);
}

std::optional<std::string> bytesAt(const std::string& path) {
    const auto contents = readRegularFile(path, maximumStatusFileSize);
    return contents ? std::optional<std::string>(contents->bytes) : std::nullopt;
}

TEST(RegularFile, PipesAndDevicesAreRefusedAtOnce) {
    testing::StatusFolder folder;
    const testing::WaitingSpecialFile pipe(folder);  // a named pipe that no one writes to
    EXPECT_FALSE(bytesAt(pipe.path()));
    EXPECT_FALSE(bytesAt("NUL"));
    EXPECT_FALSE(bytesAt("\\\\.\\NUL"));
    EXPECT_FALSE(bytesAt(folder.pathOf("NUL")));                // a device name in any folder
    EXPECT_FALSE(bytesAt(testing::corePath(folder.folder())));  // a folder
}

TEST(RegularFile, AnyNameOpensBeyondAsciiAndBeyondMaxPath) {
    testing::StatusFolder folder;
    const std::string unusual = folder.pathOf(testing::unusualFileName);
    std::ofstream(testing::fileSystemPath(unusual), std::ios::binary) << "{}";
    EXPECT_EQ(bytesAt(unusual), "{}");

    // Folders nested deeper than MAX_PATH characters, named with either separator.
    std::filesystem::path deep = folder.folder();
    for (int level = 0; level < 12; ++level) deep /= std::wstring(30, wchar_t(L'a' + level));
    std::filesystem::create_directories(deep);
    const std::string path = testing::corePath(deep / L"status.json");
    ASSERT_GT(path.size(), std::size_t{MAX_PATH});
    std::ofstream(deep / L"status.json", std::ios::binary) << "[]";
    EXPECT_EQ(bytesAt(path), "[]");
    std::string forward = path;
    for (char& c : forward) {
        if (c == '\\') c = '/';
    }
    EXPECT_EQ(bytesAt(forward), "[]");
}

// A host writing the file meanwhile, with the sharing a writer usually allows,
// never stops a reading; one that shares nothing makes it yield nothing, at once.
TEST(RegularFile, ReadsBesideAWriterThatSharesReading) {
    testing::StatusFolder folder;
    folder.write("{}");
    const auto heldWith = [&](DWORD sharing) {
        const HANDLE writer = CreateFileW(wide(folder.statusPath()).c_str(), GENERIC_WRITE, sharing, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_NE(writer, INVALID_HANDLE_VALUE);
        const auto bytes = bytesAt(folder.statusPath());
        CloseHandle(writer);
        return bytes;
    };
    EXPECT_EQ(heldWith(FILE_SHARE_READ), "{}");
    EXPECT_EQ(heldWith(FILE_SHARE_READ | FILE_SHARE_DELETE), "{}");
    EXPECT_FALSE(heldWith(0));
}

// While the dialog reads, the host may rename the file away or delete it; once
// the reading is over, no handle is left, so a host's rename over the file
// (which fails while any reader holds it) succeeds at once.
TEST(RegularFile, LeavesTheHostFreeToRenameAndDelete) {
    testing::StatusFolder folder;
    folder.write("{}");
    BOOL movedAway = FALSE;
    const auto moved = readRegularFile(folder.statusPath(), maximumStatusFileSize, [&] {
        movedAway =
            MoveFileExW(wide(folder.statusPath()).c_str(), wide(folder.pathOf("away.json")).c_str(), 0);
    });
    EXPECT_TRUE(movedAway);
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->bytes, "{}");

    folder.write("[]");
    BOOL deleted = FALSE;
    readRegularFile(folder.statusPath(), maximumStatusFileSize,
                    [&] { deleted = DeleteFileW(wide(folder.statusPath()).c_str()); });
    EXPECT_TRUE(deleted);

    folder.write("{}");
    std::ofstream(testing::fileSystemPath(folder.pathOf("next.json")), std::ios::binary) << "[]";
    ASSERT_TRUE(readRegularFile(folder.statusPath(), maximumStatusFileSize));
    EXPECT_TRUE(MoveFileExW(wide(folder.pathOf("next.json")).c_str(), wide(folder.statusPath()).c_str(),
                            MOVEFILE_REPLACE_EXISTING))
        << GetLastError();
}

// The identity is the file's own: the same after the file was renamed, another
// for a file renamed into its place.
TEST(RegularFile, IdentityFollowsTheFileAcrossARename) {
    testing::StatusFolder folder;
    folder.write("{}");
    const auto before = readRegularFile(folder.statusPath(), maximumStatusFileSize);
    ASSERT_TRUE(
        MoveFileExW(wide(folder.statusPath()).c_str(), wide(folder.pathOf("renamed.json")).c_str(), 0));
    const auto after = readRegularFile(folder.pathOf("renamed.json"), maximumStatusFileSize);
    folder.renameIntoPlace("{}");
    const auto replacement = readRegularFile(folder.statusPath(), maximumStatusFileSize);
    ASSERT_TRUE(before && after && replacement);
    EXPECT_EQ(after->identity, before->identity);
    EXPECT_NE(replacement->identity, before->identity);
}

// The last write time, to the file system's 100 nanoseconds.
TEST(RegularFile, TheModificationTimeIsTheLastWriteTime) {
    testing::StatusFolder folder;
    folder.write("{}");
    const auto when = std::chrono::system_clock::now() - 1234567us;
    const auto exact = std::chrono::time_point_cast<std::chrono::microseconds>(when);
    testing::setModificationTime(folder.statusPath(), exact);
    const auto contents = readRegularFile(folder.statusPath(), maximumStatusFileSize);
    ASSERT_TRUE(contents);
    EXPECT_EQ(std::chrono::time_point_cast<std::chrono::microseconds>(contents->modified), exact);
}

TEST(StatusFile, WindowsPathsAreTakenAgainstTheCurrentDirectoryAndDrive) {
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    std::string here = windows::utf8FromWide(current);
    if (here.back() != '\\') here += '\\';
    const std::string drive = here.substr(0, 2);  // "C:"
    EXPECT_EQ(absoluteFilePath("C:\\Users\\me\\status.json"), "C:\\Users\\me\\status.json");
    EXPECT_EQ(absoluteFilePath("C:/Users/me/status.json"), "C:\\Users\\me\\status.json");
    EXPECT_EQ(absoluteFilePath("\\\\server\\share\\status.json"), "\\\\server\\share\\status.json");
    EXPECT_EQ(absoluteFilePath("status.json"), here + "status.json");
    EXPECT_EQ(absoluteFilePath("a\\..\\b\\s.json"), here + "b\\s.json");
    EXPECT_EQ(absoluteFilePath("\\tmp\\status.json"), drive + "\\tmp\\status.json");
    EXPECT_EQ(absoluteFilePath("T\xc3\xabst \xe2\x9c\x93.json"), here + "T\xc3\xabst \xe2\x9c\x93.json");
    EXPECT_EQ(absoluteFilePath(""), here);  // the directory itself: never readable as a file
}

}  // namespace
}  // namespace tessary::update
