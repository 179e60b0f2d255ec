#include "status_snapshot.h"

#include <array>
#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>
#include <variant>

namespace tessary::update {
namespace {

using Json = nlohmann::json;

// The seven keys the dialog looks at; every other key is ignored.
enum class Key { checkedAt, state, latest, message, downloaded, total, progress, count };
constexpr std::array<std::string_view, static_cast<std::size_t>(Key::count)> keyNames{
    "checkedAt", "state", "latest", "message", "downloaded", "total", "progress"};

// What a top-level member held, as far as the dialog cares: a string, one of
// the three kinds of JSON number, or anything else (null, boolean, array, object).
struct Other {};
using Value = std::variant<std::monostate, Other, std::string, std::int64_t, std::uint64_t, double>;

// Collects the top-level members of interest while the parser runs, without
// building the document: nested arrays and objects are skipped, and of
// duplicate keys the last one counts.
class TopLevelMembers final : public nlohmann::json_sax<Json> {
public:
    bool isObject() const { return isObject_; }
    const Value& operator[](Key key) const { return values_[static_cast<std::size_t>(key)]; }

    bool null() override { return store(Other{}); }
    bool boolean(bool) override { return store(Other{}); }
    bool number_integer(number_integer_t value) override { return store(std::int64_t{value}); }
    bool number_unsigned(number_unsigned_t value) override { return store(std::uint64_t{value}); }
    bool number_float(number_float_t value, const string_t&) override { return store(double{value}); }
    bool string(string_t& value) override { return store(std::move(value)); }
    bool binary(binary_t&) override { return store(Other{}); }
    bool start_object(std::size_t) override { return open(true); }
    bool start_array(std::size_t) override { return open(false); }
    bool end_object() override { return close(); }
    bool end_array() override { return close(); }
    bool key(string_t& name) override {
        if (depth_ == 1) current_ = keyFor(name);
        return true;
    }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override {
        return false;
    }

private:
    static std::optional<Key> keyFor(std::string_view name) {
        for (std::size_t index = 0; index < keyNames.size(); ++index) {
            if (keyNames[index] == name) return static_cast<Key>(index);
        }
        return std::nullopt;
    }

    template <typename T>
    bool store(T&& value) {
        if (depth_ == 1 && current_) values_[static_cast<std::size_t>(*current_)] = std::forward<T>(value);
        return true;
    }

    bool open(bool object) {
        if (depth_ == 0) isObject_ = object;
        if (depth_ == 1) store(Other{});  // a member that is an array or object has none of the wanted types
        ++depth_;
        return true;
    }

    bool close() {
        --depth_;
        return true;
    }

    std::array<Value, keyNames.size()> values_;
    std::optional<Key> current_;
    std::size_t depth_ = 0;
    bool isObject_ = false;
};

// A JSON number of any form. Booleans are not numbers.
std::optional<double> number(const Value& value) {
    if (const auto* v = std::get_if<double>(&value)) return *v;
    if (const auto* v = std::get_if<std::int64_t>(&value)) return static_cast<double>(*v);
    if (const auto* v = std::get_if<std::uint64_t>(&value)) return static_cast<double>(*v);
    return std::nullopt;
}

std::optional<std::string> text(const Value& value) {
    if (const auto* v = std::get_if<std::string>(&value)) return *v;
    return std::nullopt;
}

// A JSON number whose value is a whole number in the signed 64-bit range,
// however it is written: 2, 2.0 and 2e0 are all the integer 2.
std::optional<std::int64_t> integer(const Value& value) {
    if (const auto* v = std::get_if<std::int64_t>(&value)) return *v;
    if (const auto* v = std::get_if<std::uint64_t>(&value)) {
        if (*v > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) return std::nullopt;
        return static_cast<std::int64_t>(*v);
    }
    if (const auto* v = std::get_if<double>(&value)) {
        constexpr double twoToThe63 = 9223372036854775808.0;
        if (!(*v >= -twoToThe63 && *v < twoToThe63) || std::trunc(*v) != *v) return std::nullopt;
        return static_cast<std::int64_t>(*v);
    }
    return std::nullopt;
}

}  // namespace

std::optional<StatusSnapshot> parseStatusSnapshot(std::string_view bytes, double minimumTime) {
    // The parser would stop at a NUL byte and take what stands before it; a
    // file holding one (say, a region a torn write left zeroed) is no JSON text.
    if (bytes.find('\0') != std::string_view::npos) return std::nullopt;
    TopLevelMembers members;
    if (!Json::sax_parse(bytes.begin(), bytes.end(), &members) || !members.isObject()) return std::nullopt;

    const auto checkedAt = number(members[Key::checkedAt]);
    if (!checkedAt || !(*checkedAt >= minimumTime)) return std::nullopt;  // stale, or NaN on either side

    auto state = text(members[Key::state]);
    if (!state) return std::nullopt;

    StatusSnapshot snapshot;
    snapshot.checkedAt = *checkedAt;
    snapshot.state = std::move(*state);
    snapshot.latest = text(members[Key::latest]).value_or(std::string());
    snapshot.message = text(members[Key::message]);
    snapshot.downloaded = integer(members[Key::downloaded]);
    snapshot.total = integer(members[Key::total]);
    snapshot.progress = number(members[Key::progress]);
    return snapshot;
}

}  // namespace tessary::update
