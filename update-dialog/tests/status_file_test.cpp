// Reading the status file: which files are read at all, that a reading never
// joins two versions, and when a file the host rewrites in place is trusted.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>

#include "core/regular_file.h"
#include "core/status_file.h"
#include "dialog_harness.h"

namespace tessary::update {
namespace {

using namespace std::chrono_literals;
using std::chrono::system_clock;

std::string pathIn(const testing::StatusFolder& folder, const char* name) {
    return (folder.folder() / name).string();
}

TEST(RegularFile, ReadsOnlyRegularFilesOfSensibleSize) {
    testing::StatusFolder folder;
    const auto bytesOf = [&](const char* name, std::size_t maximum = maximumStatusFileSize) {
        const auto contents = readRegularFile(pathIn(folder, name), maximum);
        return contents ? std::optional<std::string>(contents->bytes) : std::nullopt;
    };

    EXPECT_FALSE(bytesOf("missing.json"));
    EXPECT_FALSE(readRegularFile(folder.folder().string(), maximumStatusFileSize));  // a directory

    std::ofstream(pathIn(folder, "huge.json"), std::ios::binary)
        << std::string(maximumStatusFileSize + 1, ' ');
    EXPECT_FALSE(bytesOf("huge.json"));
    EXPECT_FALSE(bytesOf("huge.json", 16));

    const std::string largest(maximumStatusFileSize, 'x');
    std::ofstream(pathIn(folder, "largest.json"), std::ios::binary) << largest;
    EXPECT_EQ(bytesOf("largest.json"), largest);

    std::ofstream(pathIn(folder, "empty.json"), std::ios::binary).flush();
    EXPECT_EQ(bytesOf("empty.json"), "");

    const std::string binary("{\0\xff}", 4);
    std::ofstream(pathIn(folder, "binary"), std::ios::binary) << binary;
    EXPECT_EQ(bytesOf("binary"), binary);
}

// A host rewriting the file in place between the two reads: the reading is
// refused, even when both versions are valid and of the same length.
TEST(RegularFile, ARewriteBetweenTheTwoReadsIsNeverTaken) {
    testing::StatusFolder folder;
    const std::string first = R"({"checkedAt":100,"state":"verifying"})";
    const std::string second = R"({"checkedAt":100,"state":"available"})";
    ASSERT_EQ(first.size(), second.size());
    folder.write(first);

    const auto rewrittenTo = [&](const std::string& bytes) {
        return readRegularFile(folder.statusPath(), maximumStatusFileSize,
                               [&] { folder.rewriteInPlaceNow(bytes); });
    };
    EXPECT_FALSE(rewrittenTo(second));
    EXPECT_FALSE(rewrittenTo(second + " "));           // grown meanwhile
    const auto unchanged = rewrittenTo(second + " ");  // the same bytes written again change nothing
    ASSERT_TRUE(unchanged);
    EXPECT_EQ(unchanged->bytes, second + " ");
}

// The time of the last change is taken after the reads: a write that lands
// while the file is read makes it look young, never settled.
TEST(RegularFile, TheModificationTimeCoversWritesDuringTheReads) {
    testing::StatusFolder folder;
    const std::string bytes = R"({"checkedAt":100,"state":"verifying"})";
    folder.write(bytes);
    const auto longAgo = system_clock::now() - 1h;
    folder.dateTo(longAgo);
    // The same bytes written again, so that both reads agree.
    const auto contents =
        readRegularFile(folder.statusPath(), maximumStatusFileSize, [&] { folder.rewriteInPlaceNow(bytes); });
    ASSERT_TRUE(contents);
    EXPECT_GT(contents->modified, longAgo + 30min);
}

TEST(RegularFile, TellsAFileRenamedIntoPlaceFromTheSameFileRewritten) {
    testing::StatusFolder folder;
    folder.write("{}");
    const auto original = readRegularFile(folder.statusPath(), maximumStatusFileSize);
    folder.rewriteInPlaceNow("[]");
    const auto rewritten = readRegularFile(folder.statusPath(), maximumStatusFileSize);
    folder.renameIntoPlace("{}");
    const auto renamed = readRegularFile(folder.statusPath(), maximumStatusFileSize);
    ASSERT_TRUE(original && rewritten && renamed);
    EXPECT_EQ(rewritten->identity, original->identity);
    EXPECT_NE(renamed->identity, original->identity);
    EXPECT_GT(rewritten->modified, original->modified);
}

// When a reading is trusted: a file renamed into place at once, the same file
// only once it has stayed unchanged for the settling time.
TEST(StatusFileReader, TrustsAFileWrittenInPlaceOnlyOnceItHasSettled) {
    const auto now = system_clock::now();
    // What the reader met before: nothing yet, the same file, another one, no
    // file at all, or a file that has gone since (kept alive elsewhere, so
    // that the one written later cannot have its identity).
    enum class Before { nothing, sameFile, otherFile, missingFile, goneFile };
    struct Case {
        const char* name;
        Before before;
        std::chrono::milliseconds age;  // of the file at the reading; negative: dated ahead of the clock
        bool taken;
        std::chrono::milliseconds settlesIn{0};
    };
    const std::vector<Case> cases{
        {"first reading, written long ago", Before::nothing, 1000ms, true},
        {"first reading, just settled", Before::nothing, settlingTime, true},
        {"first reading, written 10 ms ago", Before::nothing, 10ms, false, settlingTime - 10ms},
        {"first reading, written just now", Before::nothing, 0ms, false, settlingTime},
        {"same file rewritten in place 74 ms ago", Before::sameFile, 74ms, false, 1ms},
        {"same file rewritten in place 75 ms ago", Before::sameFile, 75ms, true},
        {"another file renamed into place just now", Before::otherFile, 0ms, true},
        {"a file appearing after none was found", Before::missingFile, 5ms, false, settlingTime - 5ms},
        {"a file written in place after the last one went", Before::goneFile, 5ms, false, settlingTime - 5ms},
        {"dated a moment ahead of the clock", Before::sameFile, -500ms, false, settlingTime + 500ms},
        {"dated far ahead of the clock", Before::sameFile, -5000ms, true},
    };
    for (const Case& c : cases) {
        testing::StatusFolder folder;
        StatusFileReader reader(folder.statusPath(), [now] { return now; });
        if (c.before != Before::nothing) {
            if (c.before != Before::missingFile) folder.write(R"({"version": 1})");
            reader.read();
        }
        if (c.before == Before::goneFile) {
            folder.moveAway();
            ASSERT_FALSE(reader.read().bytes) << c.name;
        }
        if (c.before == Before::otherFile) {
            folder.renameIntoPlace(R"({"version": 2})");
        } else {
            folder.rewriteInPlaceNow(R"({"version": 2})");
        }
        testing::setModificationTime(folder.statusPath(), now - c.age);

        const auto reading = reader.read();
        EXPECT_EQ(reading.bytes.has_value(), c.taken) << c.name;
        if (c.taken) {
            EXPECT_EQ(reading.bytes, R"({"version": 2})") << c.name;
            EXPECT_FALSE(reading.settlesIn) << c.name;
        } else {
            EXPECT_EQ(reading.settlesIn, c.settlesIn) << c.name;
        }
    }
}

TEST(StatusFileReader, AMissingFileYieldsNothingToWaitFor) {
    testing::StatusFolder folder;
    StatusFileReader reader(folder.statusPath());
    const auto reading = reader.read();
    EXPECT_FALSE(reading.bytes);
    EXPECT_FALSE(reading.settlesIn);
}

}  // namespace
}  // namespace tessary::update
