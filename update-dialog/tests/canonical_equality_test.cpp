// Canonical equality of state texts, the same on every platform.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/canonical_equality.h"

namespace tessary::update {
namespace {

TEST(CanonicalEquality, EqualWhenTheNormalFormsAgree) {
    struct Case {
        std::string a;
        std::string b;
        bool equal;
    };
    const std::vector<Case> cases{
        {"checking", "checking", true},
        {"checking", "Checking", false},
        {"checking", "checking ", false},
        {"", "", true},
        {"", "checking", false},
        {"caf\xC3\xA9", "cafe\xCC\x81", true},                // é precomposed and decomposed
        {"\xE1\xB8\x8B\xCC\xA3", "d\xCC\xA3\xCC\x87", true},  // ḋ + dot below, in either mark order
        {"\xEF\xAC\x81", "fi", false},                        // a compatibility ligature is not canonical
        {"\xE2\x84\xAB", "\xC3\x85", true},                   // Angstrom sign and Å
        {"\xff", "\xff", true},                               // invalid UTF-8 equals only itself
        {"\xff", "\xfe", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(isCanonicallyEquivalent(c.a, c.b), c.equal) << c.a << " / " << c.b;
        EXPECT_EQ(isCanonicallyEquivalent(c.b, c.a), c.equal) << c.b << " / " << c.a;
    }
}

}  // namespace
}  // namespace tessary::update
