#include "serve.h"

#include <windows.h>

#include <exception>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "arguments.h"
#include "commands.h"
#include "output.h"
#include "utf.h"

namespace tessary::update::inspector {
namespace {

nlohmann::json answer(const std::string& line) {
    try {
        const auto request = nlohmann::json::parse(line);
        std::vector<std::wstring> words;
        for (const auto& word : request) words.push_back(wideFromUtf8(word.get<std::string>()));
        return runCommand(parseArguments(words));
    } catch (const std::exception& error) {
        return {{"ok", false}, {"error", std::string("bad request: ") + error.what()}};
    }
}

}  // namespace

int serveRequests() {
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    std::string pending;
    char buffer[4096];
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(input, buffer, sizeof buffer, &read, nullptr) || read == 0) return 0;
        pending.append(buffer, read);
        for (std::size_t newline; (newline = pending.find('\n')) != std::string::npos;) {
            std::string line = pending.substr(0, newline);
            pending.erase(0, newline + 1);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (!line.empty()) writeLine(answer(line));
        }
    }
}

}  // namespace tessary::update::inspector
