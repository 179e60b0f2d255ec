// Parsing the status file: what is accepted, with which fields, and what is not.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/status_snapshot.h"

namespace tessary::update {
namespace {

TEST(StatusSnapshot, RejectedReadingsYieldNothing) {
    const std::vector<std::pair<const char*, std::string>> cases{
        {"empty", ""},
        {"white space", " \n"},
        {"half written", R"({"checkedAt": 100, "state": "check)"},
        {"not JSON", "checkedAt=100\nstate=checking\n"},
        {"array", R"([{"checkedAt": 100, "state": "checking"}])"},
        {"empty array", "[]"},
        {"empty object", "{}"},
        {"scalar", "100"},
        {"string", R"("checking")"},
        {"null", "null"},
        {"checkedAt missing", R"({"state": "checking"})"},
        {"checkedAt a string of digits", R"({"checkedAt": "200", "state": "checking"})"},
        {"checkedAt a boolean", R"({"checkedAt": true, "state": "checking"})"},
        {"checkedAt null", R"({"checkedAt": null, "state": "checking"})"},
        {"stale", R"({"checkedAt": 99.999, "state": "checking"})"},
        {"state missing", R"({"checkedAt": 100})"},
        {"state null", R"({"checkedAt": 100, "state": null})"},
        {"state a number", R"({"checkedAt": 100, "state": 1})"},
        {"keys in another case", R"({"CheckedAt": 100, "State": "checking"})"},
        {"invalid UTF-8", "{\"checkedAt\": 100, \"state\": \"check\xff\xfeing\"}"},
        {"NUL inside", std::string(R"({"checkedAt": 100, "state": "checking"})") + '\0'},
        {"number beyond a double", R"({"checkedAt": 1e400, "state": "checking"})"},
        {"trailing garbage", R"({"checkedAt": 100, "state": "checking"} x)"},
    };
    for (const auto& [name, bytes] : cases) {
        EXPECT_FALSE(parseStatusSnapshot(bytes, 100)) << name;
    }
}

TEST(StatusSnapshot, FreshnessGateComparesWithTheMinimumTimeOnly) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double checkedAt;
        double minimumTime;
        bool accepted;
    };
    const std::vector<Case> cases{
        {100, 100, true}, {100.5, 100, true},  {99.5, 100, false},   {0, 0, true},    {-1, 0, false},
        {5, nan, false},  {1e308, inf, false}, {-1e308, -inf, true}, {-0.0, 0, true},
    };
    for (const Case& c : cases) {
        char json[128];
        std::snprintf(json, sizeof json, R"({"checkedAt": %.17g, "state": "checking"})", c.checkedAt);
        EXPECT_EQ(parseStatusSnapshot(json, c.minimumTime).has_value(), c.accepted)
            << c.checkedAt << " against " << c.minimumTime;
    }
}

TEST(StatusSnapshot, OptionalKeysOfTheWrongTypeTakeTheirDefaults) {
    const auto snapshot = parseStatusSnapshot(
        R"({"checkedAt": 100, "state": "downloading", "latest": 2, "message": null,
            "downloaded": "1000", "total": 1.5, "progress": "50", "extra": [1, {"x": 2}]})",
        100);
    ASSERT_TRUE(snapshot);
    EXPECT_EQ(snapshot->state, "downloading");
    EXPECT_EQ(snapshot->latest, "");
    EXPECT_FALSE(snapshot->message);
    EXPECT_FALSE(snapshot->downloaded);
    EXPECT_FALSE(snapshot->total);
    EXPECT_FALSE(snapshot->progress);
}

TEST(StatusSnapshot, TakesEveryKeyOfTheRightType) {
    const auto snapshot = parseStatusSnapshot(
        "\xEF\xBB\xBF"  // a byte-order mark is skipped
        R"({"checkedAt": 1.7e9, "state": "downloading", "latest": " 2.0 β ", "message": "",
            "downloaded": 1500000, "total": -3, "progress": 42.5})",
        0);
    ASSERT_TRUE(snapshot);
    EXPECT_EQ(snapshot->checkedAt, 1.7e9);
    EXPECT_EQ(snapshot->latest, " 2.0 β ");
    EXPECT_EQ(snapshot->message, "");
    EXPECT_EQ(snapshot->downloaded, 1500000);
    EXPECT_EQ(snapshot->total, -3);
    EXPECT_EQ(snapshot->progress, 42.5);
}

// A whole number counts as an integer however it is written; anything that is
// not a whole number in the signed 64-bit range does not.
TEST(StatusSnapshot, IntegersAreWholeNumbersInTheSigned64BitRange) {
    const std::vector<std::pair<std::string, std::optional<std::int64_t>>> cases{
        {"0", 0},
        {"-0", 0},
        {"2.0", 2},
        {"1e3", 1000},
        {"-5", -5},
        {"9223372036854775807", std::numeric_limits<std::int64_t>::max()},
        {"-9223372036854775808", std::numeric_limits<std::int64_t>::min()},
        {"9223372036854775808", std::nullopt},
        {"9223372036854775808.0", std::nullopt},  // exactly 2^63, written as a fraction
        {"9.223372036854775808e18", std::nullopt},
        {"9223372036854775807.0", std::nullopt},  // rounds to 2^63 as a double
        {"-9223372036854775808.0", std::numeric_limits<std::int64_t>::min()},
        {"18446744073709551615", std::nullopt},
        {"1e19", std::nullopt},
        {"1.5", std::nullopt},
        {"\"12\"", std::nullopt},
        {"true", std::nullopt},
        {"false", std::nullopt},
        {"null", std::nullopt},
        {"[1]", std::nullopt},
    };
    for (const auto& [text, expected] : cases) {
        const auto snapshot = parseStatusSnapshot(
            R"({"checkedAt": 100, "state": "downloading", "downloaded": )" + text + "}", 100);
        ASSERT_TRUE(snapshot) << text;
        EXPECT_EQ(snapshot->downloaded, expected) << text;
    }
}

TEST(StatusSnapshot, BooleansAreNotNumbers) {
    const auto snapshot = parseStatusSnapshot(R"({"checkedAt": 100, "state": "x", "progress": true})", 100);
    ASSERT_TRUE(snapshot);
    EXPECT_FALSE(snapshot->progress);
}

// Of duplicate keys the last one counts, whatever its type: an object or an
// array after a string leaves the key with a value of the wrong type.
TEST(StatusSnapshot, TheLastOfDuplicateKeysCounts) {
    const auto parse = [](std::string_view members) {
        return parseStatusSnapshot(std::string(R"({"checkedAt": 100, )").append(members) + "}", 100);
    };
    ASSERT_TRUE(parse(R"("state": "a", "state": "b")"));
    EXPECT_EQ(parse(R"("state": "a", "state": "b")")->state, "b");
    EXPECT_FALSE(parse(R"("state": "a", "state": {"state": "b"})"));
    EXPECT_FALSE(parse(R"("state": "a", "state": ["b"])"));
    EXPECT_FALSE(parse(R"("state": {"state": "b"})"));

    const auto withLater = parse(R"("state": "x", "latest": "2.0", "latest": {"v": "3.0"},
                                    "progress": 5, "progress": [6], "downloaded": 1, "downloaded": {})");
    ASSERT_TRUE(withLater);
    EXPECT_EQ(withLater->latest, "");
    EXPECT_FALSE(withLater->progress);
    EXPECT_FALSE(withLater->downloaded);
}

}  // namespace
}  // namespace tessary::update
