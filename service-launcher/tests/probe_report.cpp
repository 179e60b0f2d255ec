#include "probe_report.h"

#include <nlohmann/json.hpp>

#include <stdexcept>

namespace tessary::service::testing {
namespace {

std::string fromHex(std::string_view hex) {
    if (hex.size() % 2 != 0) throw std::invalid_argument("odd hex length");
    std::string bytes;
    bytes.reserve(hex.size() / 2);
    for (size_t i = 0; i < hex.size(); i += 2) {
        bytes.push_back(static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
    }
    return bytes;
}

// /proc lists strings each ended by a NUL byte.
std::vector<std::string> nulSeparated(std::string_view hex) {
    const std::string bytes = fromHex(hex);
    std::vector<std::string> strings;
    size_t start = 0;
    for (size_t end = bytes.find('\0'); end != std::string::npos; end = bytes.find('\0', start)) {
        strings.push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    if (start != bytes.size()) throw std::invalid_argument("unterminated string list");
    return strings;
}

DescriptorView descriptorFrom(const nlohmann::json& json) {
    DescriptorView view;
    view.open = json.at("open").get<bool>();
    if (view.open) {
        view.dev = json.at("dev").get<std::string>();
        view.ino = json.at("ino").get<std::string>();
        if (json.contains("pos")) view.pos = json.at("pos").get<off_t>();
        view.accessMode = json.at("accessMode").get<int>();
    }
    return view;
}

}  // namespace

ProbeReport parseProbeReport(std::string_view text) {
    const nlohmann::json json = nlohmann::json::parse(text);
    ProbeReport report;
    report.pid = json.at("pid").get<pid_t>();
    report.raw = json.at("raw").get<bool>();
    report.argv0 = json.at("argv0").get<std::string>();
    report.argv = json.at("argv").get<std::vector<std::string>>();
    if (!json.at("cmdline").is_null()) report.cmdline = nulSeparated(json.at("cmdline").get<std::string>());
    report.environ = nulSeparated(json.at("environ").get<std::string>());
    report.childEnviron = nulSeparated(json.at("childEnviron").get<std::string>());
    for (const nlohmann::json& descriptor : json.at("descriptors")) {
        report.descriptors.push_back(descriptorFrom(descriptor));
    }
    return report;
}

Observation observe(const std::vector<std::string>& arguments, const std::vector<std::string>& environment,
                    std::string_view input) {
    const ScratchFile in(input, O_RDONLY);
    const ScratchFile out;
    const ScratchFile err;
    const ScratchFile report;
    const Launch launch{kLauncher, arguments, environment, {in.get(), out.get(), err.get(), report.get()}};
    const Finished finished = runToEnd(launch);
    return {finished, out.content(), err.content(), report.content()};
}

std::vector<std::string> plainEnvironment() {
    return {"LANG=C.UTF-8", "TESSARY_TEST=1"};
}

}  // namespace tessary::service::testing
