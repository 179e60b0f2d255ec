// Reading the status file on POSIX systems: what a path may be, and the files
// that are refused for what they are.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "core/file_path.h"
#include "core/regular_file.h"
#include "core/status_file.h"
#include "dialog_harness.h"

namespace tessary::update {
namespace {

std::string pathIn(const testing::StatusFolder& folder, const char* name) {
    return (folder.folder() / name).string();
}

TEST(RegularFile, AFifoIsRefusedAtOnceWithoutWaitingForAWriter) {
    testing::StatusFolder folder;
    ASSERT_EQ(mkfifo(pathIn(folder, "fifo").c_str(), 0600), 0);
    EXPECT_FALSE(readRegularFile(pathIn(folder, "fifo"), maximumStatusFileSize));
}

TEST(RegularFile, AnyBytesMayNameTheFileNotOnlyUtf8) {
    testing::StatusFolder folder;
    std::ofstream(pathIn(folder, "caf\xe9.json"), std::ios::binary) << "{}";
    const auto contents = readRegularFile(pathIn(folder, "caf\xe9.json"), maximumStatusFileSize);
    ASSERT_TRUE(contents);
    EXPECT_EQ(contents->bytes, "{}");
}

TEST(RegularFile, UnreadableFileYieldsNothing) {
    if (geteuid() == 0) GTEST_SKIP() << "root reads any file";
    testing::StatusFolder folder;
    folder.write(testing::statusJson("checking"));
    chmod(folder.statusPath().c_str(), 0);
    EXPECT_FALSE(readRegularFile(folder.statusPath(), maximumStatusFileSize));
}

TEST(StatusFile, AbsolutePathsStayAndRelativeOnesJoinTheCurrentDirectory) {
    const std::string here = std::filesystem::current_path().string();
    EXPECT_EQ(absoluteFilePath("/tmp/status.json"), "/tmp/status.json");
    EXPECT_EQ(absoluteFilePath("status.json"), here + "/status.json");
    EXPECT_EQ(absoluteFilePath("../a b/s.json"), here + "/../a b/s.json");
    EXPECT_EQ(absoluteFilePath(""), here + "/");  // the directory itself: never readable as a file
}

}  // namespace
}  // namespace tessary::update
