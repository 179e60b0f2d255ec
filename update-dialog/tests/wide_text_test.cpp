// Texts and paths between UTF-8 and the wide API: every UTF-16 text comes back
// unchanged, lone surrogates included, and a byte that is not UTF-8 shows as
// one replacement character, as the dialog counts it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/windows/wide_text.h"

namespace tessary::update::windows {
namespace {

TEST(WideText, EveryWideTextComesBackUnchanged) {
    const std::vector<std::wstring> texts{
        L"",
        L"status.json",
        L"T\u00ebst \u2713",
        L"\U0001D11E clef",                              // beyond the BMP: a surrogate pair
        std::wstring(1, wchar_t(0xD800)) + L"x",         // a high surrogate alone
        L"x" + std::wstring(1, wchar_t(0xDC00)),         // a low surrogate alone
        std::wstring{wchar_t(0xDC00), wchar_t(0xD800)},  // a pair the wrong way round
    };
    for (const std::wstring& text : texts) {
        EXPECT_EQ(wideFromUtf8(utf8FromWide(text)), text) << utf8FromWide(text);
    }
    EXPECT_EQ(utf8FromWide(L"\U0001D11E"), "\xf0\x9d\x84\x9e");
    EXPECT_EQ(utf8FromWide(std::wstring(1, wchar_t(0xD800))), "\xed\xa0\x80");
}

TEST(WideText, EachByteThatStartsNoCharacterIsOneReplacementCharacter) {
    struct Case {
        std::string utf8;
        std::wstring wide;
    };
    const std::vector<Case> cases{
        {"caf\xc3\xa9", L"caf\u00e9"},
        {"\xff", L"\uFFFD"},
        {"a\xe2\x82", L"a\uFFFD\uFFFD"},                    // a sequence cut short
        {"\xc0\xaf", L"\uFFFD\uFFFD"},                      // an overlong form
        {"\xf4\x90\x80\x80", L"\uFFFD\uFFFD\uFFFD\uFFFD"},  // beyond U+10FFFF
        {"\x80x", L"\uFFFDx"},                              // a continuation byte alone
    };
    for (const Case& c : cases) EXPECT_EQ(wideFromUtf8(c.utf8), c.wide) << c.utf8;
}

}  // namespace
}  // namespace tessary::update::windows
