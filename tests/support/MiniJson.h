// Test helper: a strict reader of the JSON that kfx prints (objects, arrays, strings with
// escapes, numbers, null). Object members keep their order; numbers keep their text.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kfxtest {

struct Json {
    enum class Type { null, number, string, array, object };
    Type type = Type::null;
    std::string text;  // a number as written, or a string's value
    std::vector<Json> items;
    std::vector<std::pair<std::string, Json>> members;

    /// The member of that name, or null.
    const Json* Find(std::string_view name) const {
        for (const auto& [key, value] : members)
            if (key == name) return &value;
        return nullptr;
    }
};

namespace json_detail {

struct Reader {
    std::string_view t;
    size_t i = 0;

    void Skip() {
        while (i < t.size() && (t[i] == ' ' || t[i] == '\n')) ++i;
    }
    bool Eat(char c) {
        Skip();
        return i < t.size() && t[i] == c ? (++i, true) : false;
    }
    bool String(std::string& out) {
        if (!Eat('"')) return false;
        for (; i < t.size(); ++i) {
            const char c = t[i];
            if (c == '"') return ++i, true;
            if (static_cast<unsigned char>(c) < 0x20) return false;
            if (c != '\\') {
                out += c;
            } else if (++i < t.size() && (t[i] == '"' || t[i] == '\\')) {
                out += t[i];
            } else if (t.substr(i, 3) == "u00" && i + 5 < t.size()) {  // control characters only
                out += static_cast<char>(std::stoi(std::string(t.substr(i + 3, 2)), nullptr, 16));
                i += 4;
            } else {
                return false;
            }
        }
        return false;
    }
    template <class Each>
    bool Sequence(char close, Each each) {
        if (Eat(close)) return true;
        do
            if (!each()) return false;
        while (Eat(','));
        return Eat(close);
    }
    bool Value(Json& out) {
        Skip();
        if (Eat('{')) {
            out.type = Json::Type::object;
            return Sequence('}', [&] {
                std::string key;
                Json v;
                if (!String(key) || !Eat(':') || !Value(v)) return false;
                out.members.emplace_back(std::move(key), std::move(v));
                return true;
            });
        }
        if (Eat('[')) {
            out.type = Json::Type::array;
            return Sequence(']', [&] { return Value(out.items.emplace_back()); });
        }
        if (i < t.size() && t[i] == '"') return out.type = Json::Type::string, String(out.text);
        if (t.substr(i, 4) == "null") return i += 4, true;
        // -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?
        const size_t start = i;
        const auto digits = [&] {
            const size_t from = i;
            while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i;
            return i > from;
        };
        if (i < t.size() && t[i] == '-') ++i;
        if (i < t.size() && t[i] == '0') ++i;
        else if (!digits()) return false;
        if (i < t.size() && t[i] == '.' && (++i, !digits())) return false;
        if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
            ++i;
            if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
            if (!digits()) return false;
        }
        out.type = Json::Type::number;
        out.text = std::string(t.substr(start, i - start));
        return true;
    }
};

}  // namespace json_detail

/// The document, or nothing when text is not exactly one such value (blanks around allowed).
inline std::optional<Json> ParseJson(std::string_view text) {
    json_detail::Reader r{text};
    Json out;
    if (!r.Value(out)) return std::nullopt;
    r.Skip();
    if (r.i != text.size()) return std::nullopt;
    return out;
}

}  // namespace kfxtest
