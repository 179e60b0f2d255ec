#include "dialog_checks.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string_view>

#include "backends/recording/recording_toolkit.h"

namespace tessary::update::fuzz {
namespace {

using Calls = std::vector<std::string>;

// The lines after the first one equal to `from`, up to the first one starting with `to`.
Calls between(const Calls& calls, std::string_view from, std::string_view to) {
    auto begin = std::find(calls.begin(), calls.end(), from);
    require(begin != calls.end(), "the run reaches the pass");
    ++begin;
    const auto end =
        std::find_if(begin, calls.end(), [&](const std::string& line) { return line.starts_with(to); });
    return {begin, end};
}

bool has(const Calls& pass, const std::string& line) {
    return std::find(pass.begin(), pass.end(), line) != pass.end();
}

// The last line of the pass that starts with `prefix`, or the empty string.
std::string last(const Calls& pass, std::string_view prefix) {
    const auto found = std::find_if(pass.rbegin(), pass.rend(),
                                    [&](const std::string& line) { return line.starts_with(prefix); });
    return found == pass.rend() ? std::string() : *found;
}

std::string call(std::string_view name, const std::string& text) {
    return std::string(name) + "(" + recording::quoted(text) + ")";
}

std::string formatted(double value) {
    std::ostringstream text;
    text << value;
    return text.str();
}

bool isValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        std::uint32_t point = 0;
        if (lead < 0x80) {
            length = 1, point = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2, point = lead & 0x1Fu;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3, point = lead & 0x0Fu;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4, point = lead & 0x07u;
        } else {
            return false;
        }
        if (i + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            point = (point << 6) | (next & 0x3Fu);
        }
        constexpr std::uint32_t shortest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (point < shortest[length] || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

void checkPass(const Calls& pass, const std::optional<ExpectedLook>& look, bool first) {
    if (!look) {
        require(pass.empty(), "a refused reading changes nothing");
        return;
    }
    const std::string title = look->offer ? "Install & Relaunch" : "Close";
    require(last(pass, "alert.setMessageText(") == call("alert.setMessageText", look->messageText),
            "the message text is the state's");
    require(
        last(pass, "alert.setInformativeText(") == call("alert.setInformativeText", look->informativeText),
        "the informative text is the state's");
    require(last(pass, "button1.setTitle(") == call("button1.setTitle", title), "the first button's title");
    require(last(pass, "button1.setKeyEquivalent(") ==
                call("button1.setKeyEquivalent", look->offer ? std::string() : std::string("\r")),
            "Return presses the first button exactly when it is not an offer");
    require(has(pass, "alert.setAlertStyle(0)") == look->warning, "the warning style only for a failure");
    require(!has(pass, "alert.setAlertStyle(1)"), "no pass sets the informational style");
    require(has(pass, "alert.addButtonWithTitle(\"Later\") -> button2") == (look->offer && first),
            "\"Later\" is added once, by the first offer");
    require(has(pass, look->busy ? "alert.setAccessoryView(progress)" : "alert.setAccessoryView(nil)"),
            "the bar is attached exactly in a busy state");
    require(has(pass, look->busy ? "progress.setHidden(NO)" : "progress.setHidden(YES)"),
            "the bar is shown exactly in a busy state");
    if (look->barValue) {
        require(has(pass, "progress.setIndeterminate(NO)") &&
                    has(pass, "progress.setDoubleValue(" + formatted(*look->barValue) + ")") &&
                    !has(pass, "progress.startAnimation(nil)"),
                "a percentage shows as a determinate bar, clamped to 0 to 100");
    } else {
        require(has(pass, "progress.setIndeterminate(YES)") && has(pass, "progress.startAnimation(nil)"),
                "without a percentage the bar animates");
    }
    require(has(pass, "alert.layout") == (first && look->relayout), "a relayout only on a change of state");
}

}  // namespace

void require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "violated: %s\n", what);
    std::abort();
}

void checkPasses(const Calls& calls, const std::optional<ExpectedLook>& look) {
    for (const std::string& line : calls) require(isValidUtf8(line), "every text is valid UTF-8");
    checkPass(between(calls, "NSRunLoop.mainRunLoop.addTimer(timer, NSRunLoopCommonModes)", "signal("), look,
              true);
    checkPass(between(calls, "-- timer fires", "-- "), look, false);
}

}  // namespace tessary::update::fuzz
