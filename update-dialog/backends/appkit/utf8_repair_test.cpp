// Checks the lossy UTF-8 decoding on the build machine (it is plain C++): run by the macOS
// cross-build script, since the backend itself only builds for macOS.
#include <cstdio>
#include <string>

#include "utf8_repair.h"

namespace {

int failures = 0;

void expect(const std::string& input, const std::string& expected) {
    const std::string actual = tessary::update::appkit::repairUtf8(input);
    if (actual == expected) return;
    ++failures;
    std::fprintf(stderr, "repairUtf8 of %zu bytes: got %zu bytes, expected %zu\n", input.size(),
                 actual.size(), expected.size());
}

}  // namespace

int main() {
    const std::string fffd = "\xEF\xBF\xBD";
    expect("", "");
    expect("1.2.3", "1.2.3");
    expect("Checking for updates\xE2\x80\xA6", "Checking for updates\xE2\x80\xA6");  // U+2026 kept
    expect("\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80");                                  // U+1F600 kept
    expect(std::string("a\0b", 3), std::string("a\0b", 3));                          // NUL is well-formed
    expect(
        "a\xFF"
        "b",
        "a" + fffd + "b");                                  // never a lead byte
    expect("\x80\x80", fffd + fffd);                        // stray continuations
    expect("\xC0\xAF", fffd + fffd);                        // overlong "/"
    expect("\xE0\x80\xAF", fffd + fffd + fffd);             // overlong, 3 bytes
    expect("\xED\xA0\x80", fffd + fffd + fffd);             // a surrogate
    expect("\xF4\x90\x80\x80", fffd + fffd + fffd + fffd);  // above U+10FFFF
    expect("\xE2\x80", fffd);                               // truncated at the end
    expect("\xE2\x80x", fffd + "x");                        // truncated in the middle
    expect(
        "\xF0\x9F\x98"
        "\xE2\x80\xA6",
        fffd + "\xE2\x80\xA6");  // then a good one
    if (failures == 0) std::puts("utf8_repair_test: all passed");
    return failures == 0 ? 0 : 1;
}
