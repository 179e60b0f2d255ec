#include "arguments.h"

#include <cwchar>

#include "utf.h"

namespace tessary::update::inspector {
namespace {

long numberFrom(const std::wstring& text, const std::wstring& option) {
    wchar_t* end = nullptr;
    const long value = std::wcstol(text.c_str(), &end, 10);
    if (text.empty() || end == nullptr || *end != L'\0') {
        throw ArgumentError("the value of " + utf8FromWide(option) + " is not a whole number");
    }
    return value;
}

// "x,y,width,height"
void readRect(const std::wstring& text, CoverOptions& cover) {
    int* fields[] = {&cover.x, &cover.y, &cover.width, &cover.height};
    std::size_t start = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        const std::size_t comma = text.find(L',', start);
        if ((comma == std::wstring::npos) != (i == 3)) throw ArgumentError("--rect takes x,y,width,height");
        *fields[i] = static_cast<int>(numberFrom(text.substr(start, comma - start), L"--rect"));
        start = comma + 1;
    }
}

}  // namespace

Arguments parseArguments(const std::vector<std::wstring>& words) {
    if (words.empty()) throw ArgumentError("no command");
    Arguments arguments;
    arguments.command = words[0];
    for (std::size_t i = 1; i < words.size(); i += 2) {
        const std::wstring& option = words[i];
        if (i + 1 >= words.size()) throw ArgumentError(utf8FromWide(option) + " needs a value");
        const std::wstring& value = words[i + 1];
        if (option == L"--command-line") {
            arguments.query.commandLineContains = value;
        } else if (option == L"--exe") {
            arguments.query.executableName = value;
        } else if (option == L"--pid") {
            arguments.query.processId = static_cast<DWORD>(numberFrom(value, option));
        } else if (option == L"--class") {
            arguments.windowClass = value;
        } else if (option == L"--id") {
            arguments.controlId = static_cast<int>(numberFrom(value, option));
        } else if (option == L"--text") {
            arguments.controlText = value;
        } else if (option == L"--title") {
            arguments.cover.title = value;
        } else if (option == L"--rect") {
            readRect(value, arguments.cover);
        } else if (option == L"--seconds") {
            arguments.cover.seconds = static_cast<unsigned>(numberFrom(value, option));
        } else {
            throw ArgumentError("unknown option " + utf8FromWide(option));
        }
    }
    return arguments;
}

}  // namespace tessary::update::inspector
