#include "kivbase/KivBase64.h"

#include <array>

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr int kNotBase64 = -1;

constexpr std::array<signed char, 256> MakeDecodeTable() {
    std::array<signed char, 256> t{};
    for (auto& v : t) v = kNotBase64;
    for (int i = 0; i < 64; ++i) t[static_cast<unsigned char>(kAlphabet[i])] = static_cast<signed char>(i);
    return t;
}
constexpr std::array<signed char, 256> kDecode = MakeDecodeTable();

int Sextet(char c) { return kDecode[static_cast<unsigned char>(c)]; }

}  // namespace

size_t KivBase64EncodeTo(const BYTE* data, size_t n, char* out) {
    char* o = out;
    size_t i = 0;
    for (; i + 3 <= n; i += 3) {
        const DWORD v = (DWORD{data[i]} << 16) | (DWORD{data[i + 1]} << 8) | data[i + 2];
        *o++ = kAlphabet[(v >> 18) & 63];
        *o++ = kAlphabet[(v >> 12) & 63];
        *o++ = kAlphabet[(v >> 6) & 63];
        *o++ = kAlphabet[v & 63];
    }
    if (i + 1 == n) {
        const DWORD v = DWORD{data[i]} << 16;
        *o++ = kAlphabet[(v >> 18) & 63];
        *o++ = kAlphabet[(v >> 12) & 63];
        *o++ = '=';
        *o++ = '=';
    } else if (i + 2 == n) {
        const DWORD v = (DWORD{data[i]} << 16) | (DWORD{data[i + 1]} << 8);
        *o++ = kAlphabet[(v >> 18) & 63];
        *o++ = kAlphabet[(v >> 12) & 63];
        *o++ = kAlphabet[(v >> 6) & 63];
        *o++ = '=';
    }
    return static_cast<size_t>(o - out);
}

void KivBase64Encode(const BYTE* data, size_t n, std::string& out) {
    const size_t start = out.size();
    out.resize(start + KivBase64EncodedLength(n));
    KivBase64EncodeTo(data, n, out.data() + start);
}

std::optional<size_t> KivBase64DecodedLength(std::string_view text) {
    if (text.size() % 4 != 0) return std::nullopt;
    if (text.empty()) return size_t{0};
    size_t padding = 0;
    if (text.back() == '=') padding = text[text.size() - 2] == '=' ? 2 : 1;
    const size_t data = text.size() - padding;
    for (size_t i = 0; i < data; ++i)
        if (Sextet(text[i]) == kNotBase64) return std::nullopt;
    // Unused low bits of the last sextet must be zero, so every block has one spelling.
    const int last = Sextet(text[data - 1]);
    if (padding == 1 && (last & 0x03) != 0) return std::nullopt;
    if (padding == 2 && (last & 0x0F) != 0) return std::nullopt;
    return text.size() / 4 * 3 - padding;
}

void KivBase64Decode(std::string_view text, BYTE* out) {
    if (text.empty()) return;
    const auto quad = [&](size_t i) {
        return static_cast<DWORD>(Sextet(text[i])) << 18 | static_cast<DWORD>(Sextet(text[i + 1])) << 12 |
               static_cast<DWORD>(Sextet(text[i + 2])) << 6 | static_cast<DWORD>(Sextet(text[i + 3]));
    };
    // Every group but the last is four characters of the alphabet.
    const size_t last = text.size() - 4;
    for (size_t i = 0; i < last; i += 4) {
        const DWORD v = quad(i);
        *out++ = static_cast<BYTE>(v >> 16);
        *out++ = static_cast<BYTE>(v >> 8);
        *out++ = static_cast<BYTE>(v);
    }
    const size_t padding = text[last + 3] != '=' ? 0 : text[last + 2] == '=' ? 2 : 1;
    DWORD v = 0;
    for (size_t k = 0; k < 4 - padding; ++k) v |= static_cast<DWORD>(Sextet(text[last + k])) << (18 - 6 * k);
    *out++ = static_cast<BYTE>(v >> 16);
    if (padding < 2) *out++ = static_cast<BYTE>(v >> 8);
    if (padding < 1) *out = static_cast<BYTE>(v);
}
