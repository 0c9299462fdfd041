// Test helper: a strict reader of JSON documents (RFC 8259), enough to check what a program
// prints for scripts. Object members keep their order; numbers keep their text.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kfxtest {

struct Json {
    enum class Type { null, boolean, number, string, array, object };
    Type type = Type::null;
    std::string text;  // a number as written, a string's value, "true"/"false"
    std::vector<Json> items;
    std::vector<std::pair<std::string, Json>> members;

    /// The member of that name, or null when absent (or this is not an object).
    const Json* Find(std::string_view name) const {
        for (const auto& [key, value] : members)
            if (key == name) return &value;
        return nullptr;
    }
};

namespace json_detail {

class Reader {
public:
    explicit Reader(std::string_view t) : m_t(t) {}

    bool Document(Json& out) {
        if (!Value(out, 0)) return false;
        Space();
        return m_i == m_t.size();
    }

private:
    static constexpr int kMostDepth = 512;  // beyond anything printed here

    void Space() {
        while (m_i < m_t.size() && (m_t[m_i] == ' ' || m_t[m_i] == '\t' || m_t[m_i] == '\n' || m_t[m_i] == '\r')) ++m_i;
    }
    bool Eat(char c) {
        Space();
        if (m_i < m_t.size() && m_t[m_i] == c) return ++m_i, true;
        return false;
    }
    bool Word(std::string_view w) {
        if (m_t.substr(m_i, w.size()) != w) return false;
        m_i += w.size();
        return true;
    }
    static bool Digit(char c) { return c >= '0' && c <= '9'; }
    bool Digits() {
        const size_t start = m_i;
        while (m_i < m_t.size() && Digit(m_t[m_i])) ++m_i;
        return m_i > start;
    }
    bool Number(Json& out) {
        const size_t start = m_i;
        if (m_i < m_t.size() && m_t[m_i] == '-') ++m_i;
        if (m_i < m_t.size() && m_t[m_i] == '0') {
            ++m_i;
        } else if (!Digits()) {
            return false;
        }
        if (m_i < m_t.size() && m_t[m_i] == '.' && (++m_i, !Digits())) return false;
        if (m_i < m_t.size() && (m_t[m_i] == 'e' || m_t[m_i] == 'E')) {
            ++m_i;
            if (m_i < m_t.size() && (m_t[m_i] == '+' || m_t[m_i] == '-')) ++m_i;
            if (!Digits()) return false;
        }
        out.type = Json::Type::number;
        out.text = std::string(m_t.substr(start, m_i - start));
        return true;
    }
    static int Hex(char c) {
        if (Digit(c)) return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    }
    void Utf8(unsigned cp, std::string& out) {
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | cp >> 6);
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | cp >> 12);
            out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    bool String(std::string& out) {
        if (m_i >= m_t.size() || m_t[m_i] != '"') return false;
        for (++m_i; m_i < m_t.size(); ++m_i) {
            const char c = m_t[m_i];
            if (c == '"') return ++m_i, true;
            if (static_cast<unsigned char>(c) < 0x20) return false;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (++m_i >= m_t.size()) return false;
            switch (m_t[m_i]) {
            case '"': out += '"'; break;
            case '\\': out += '\\'; break;
            case '/': out += '/'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'u': {
                unsigned cp = 0;
                for (int k = 0; k < 4; ++k) {
                    const int h = ++m_i < m_t.size() ? Hex(m_t[m_i]) : -1;
                    if (h < 0) return false;
                    cp = cp << 4 | static_cast<unsigned>(h);
                }
                Utf8(cp, out);  // what is printed here escapes control characters only
                break;
            }
            default: return false;
            }
        }
        return false;
    }
    bool Value(Json& out, int depth) {
        if (depth > kMostDepth) return false;
        Space();
        if (m_i >= m_t.size()) return false;
        const char c = m_t[m_i];
        if (c == '{') {
            ++m_i;
            out.type = Json::Type::object;
            if (Eat('}')) return true;
            do {
                std::string key;
                Space();
                if (!String(key) || !Eat(':')) return false;
                Json v;
                if (!Value(v, depth + 1)) return false;
                out.members.emplace_back(std::move(key), std::move(v));
            } while (Eat(','));
            return Eat('}');
        }
        if (c == '[') {
            ++m_i;
            out.type = Json::Type::array;
            if (Eat(']')) return true;
            do {
                Json v;
                if (!Value(v, depth + 1)) return false;
                out.items.push_back(std::move(v));
            } while (Eat(','));
            return Eat(']');
        }
        if (c == '"') {
            out.type = Json::Type::string;
            return String(out.text);
        }
        if (Word("null")) return true;
        for (const char* word : {"true", "false"})
            if (Word(word)) {
                out.type = Json::Type::boolean;
                out.text = word;
                return true;
            }
        return Number(out);
    }

    std::string_view m_t;
    size_t m_i = 0;
};

}  // namespace json_detail

/// The document, or nothing when text is not exactly one JSON value (surrounding space allowed).
inline std::optional<Json> ParseJson(std::string_view text) {
    Json out;
    if (!json_detail::Reader(text).Document(out)) return std::nullopt;
    return out;
}

}  // namespace kfxtest
