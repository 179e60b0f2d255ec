#include "output.h"

#include <windows.h>

#include <string>

namespace tessary::update::inspector {

void writeLine(const nlohmann::json& answer) {
    // Invalid UTF-16 from a window (a lone surrogate) must not end the inspector.
    std::string line = answer.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
    HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    const char* data = line.data();
    std::size_t left = line.size();
    while (left > 0) {
        DWORD written = 0;
        if (!WriteFile(output, data, static_cast<DWORD>(left), &written, nullptr) || written == 0) return;
        data += written;
        left -= written;
    }
}

}  // namespace tessary::update::inspector
