// The fourth argument as the freshness threshold.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

#include "core/minimum_time.h"

namespace tessary::update {
namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();

struct Case {
    std::string text;
    double expected;  // NaN means "a NaN"
};

void expectReadAs(const Case& c) {
    const double value = readMinimumTime(c.text);
    if (std::isnan(c.expected)) {
        EXPECT_TRUE(std::isnan(value)) << '"' << c.text << '"';
    } else {
        EXPECT_EQ(value, c.expected) << '"' << c.text << '"';
        EXPECT_EQ(std::signbit(value), std::signbit(c.expected)) << '"' << c.text << "\" sign";
    }
}

TEST(MinimumTime, AcceptsWhatStrtodConsumesWhole) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<Case> cases{
        {"42", 42},        {"-2.5", -2.5},
        {"+7", 7},         {".5", 0.5},
        {"5.", 5},         {"1e3", 1000},
        {"0x10", 16},      {"0X1p4", 16},
        {"inf", infinity}, {"-Infinity", -infinity},
        {"nan", nan},      {"NaN(abc_1)", nan},
        {"-0", -0.0},      {"1700000000.125", 1700000000.125},
    };
    for (const Case& c : cases) expectReadAs(c);
}

TEST(MinimumTime, RefusedTextsGivePositiveZero) {
    const std::vector<Case> cases{
        {"", 0},
        {" 5", 0},
        {"\t5", 0},
        {"\n5", 0},
        {"\v5", 0},
        {"\f5", 0},
        {"\r5", 0},
        {"5 ", 0},
        {"1,5", 0},
        {"12abc", 0},
        {"1e", 0},
        {"abc", 0},
        {"-", 0},
        {"0x", 0},
        {"1e3s", 0},
        {"4 2", 0},
        {"nan(", 0},
        {"infinit", 0},
        {"\xc2\xa0"
         "5",
         0},
        {std::string("5\0", 2), 0},
    };
    for (const Case& c : cases) expectReadAs(c);
}

// Magnitudes beyond a double: what strtod gives, an infinity or a (sub)normal near zero.
TEST(MinimumTime, OutOfRangeMagnitudesSaturateLikeStrtod) {
    const std::vector<Case> cases{
        {"1e999", infinity},
        {"-1e999", -infinity},
        {"1e-999", 0},
        {"-1e-999", -0.0},
    };
    for (const Case& c : cases) expectReadAs(c);
    EXPECT_GT(readMinimumTime("4e-320"), 0);  // subnormal, kept
}

TEST(MinimumTime, TheDecimalSeparatorIsAFullStopWhateverTheLocale) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
        GTEST_SKIP() << "no German locale installed (scripts/install-deps makes one)";
    }
    const double localReading = std::strtod("2,5", nullptr);  // the process locale reads a comma
    const double full = readMinimumTime("2.5");
    const double comma = readMinimumTime("2,5");
    std::setlocale(LC_ALL, saved.c_str());

    ASSERT_EQ(localReading, 2.5) << "the German locale is not in effect";
    EXPECT_EQ(full, 2.5);
    EXPECT_EQ(comma, 0);
}

}  // namespace
}  // namespace tessary::update
