// The fourth argument read by strtod's rules on every platform, also where the
// C library's own strtod reads other forms (Windows): signs, hexadecimal
// numbers, infinities and NaNs, and magnitudes beyond a double's range.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "core/minimum_time.h"

namespace tessary::update {
namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

struct Case {
    std::string text;
    double expected;  // NaN means "a NaN"
};

void expectReadAs(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        const double value = readMinimumTime(c.text);
        if (std::isnan(c.expected)) {
            EXPECT_TRUE(std::isnan(value)) << '"' << c.text << '"';
        } else {
            EXPECT_EQ(value, c.expected) << '"' << c.text << '"';
            EXPECT_EQ(std::signbit(value), std::signbit(c.expected)) << '"' << c.text << "\" sign";
        }
    }
}

TEST(MinimumTimeStrtodRules, HexadecimalNumbers) {
    expectReadAs({
        {"0xA", 10},
        {"0xa.8", 10.5},
        {"0x.8p1", 1},
        {"0X1P-2", 0.25},
        {"0x1.", 1},
        {"-0x10", -16},
        {"+0x1p3", 8},
        {"0x1p1023", std::ldexp(1.0, 1023)},
        {"0x1p-1074", std::numeric_limits<double>::denorm_min()},
        // Refused: no digit after the prefix, a sign or word after it, nothing after the exponent mark.
        {"0x", 0},
        {"0xg", 0},
        {"0x.", 0},
        {"0x.p1", 0},
        {"0x-1", 0},
        {"0xinf", 0},
        {"0x1p", 0},
        {"0x1p+", 0},
        {"0x1.8p1.5", 0},
    });
}

TEST(MinimumTimeStrtodRules, SignsInfinitiesAndNaNs) {
    expectReadAs({
        {"+inf", infinity},
        {"INFINITY", infinity},
        {"-INF", -infinity},
        {"-nan", nan},
        {"nan()", nan},
        {"NAN(_)", nan},
        {"+-5", 0},
        {"-+5", 0},
        {"--5", 0},
        {"++5", 0},
        {"- 5", 0},
        {"infx", 0},
        {"nan(a-b)", 0},
        {"nan(a b)", 0},
    });
}

TEST(MinimumTimeStrtodRules, DecimalForms) {
    expectReadAs({
        {"1.5e+3", 1500},
        {"1.5E-3", 0.0015},
        {"0.0001e4", 1},
        {"1" + std::string(400, '0') + "e-400", 1},
        {"0." + std::string(399, '0') + "1e400", 1},
        {"1e0000000000000000000001", 10},
        {".", 0},
        {"e5", 0},
        {".e1", 0},
        {"1e+", 0},
        {"1..2", 0},
        {"1e5.5", 0},
    });
}

// Beyond a double: an infinity for an overflow, zero for an underflow, each
// with the text's sign, however far beyond and however written.
TEST(MinimumTimeStrtodRules, MagnitudesBeyondRangeSaturate) {
    expectReadAs({
        {"1e309", infinity},
        {"-1e99999999999999999999", -infinity},
        {"1" + std::string(400, '0'), infinity},
        {"0x1p1024", infinity},
        {"-0x1p99999", -infinity},
        {"2e-324", 0},
        {"1e-99999999999999999999", 0},
        {"0." + std::string(400, '0') + "1", 0},
        {"-0x1p-1080", -0.0},
        {"0x0.0000000001p-1040", 0},
    });
}

}  // namespace
}  // namespace tessary::update
