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

namespace {

// The padding at the end of text, whose length is a nonzero multiple of 4.
size_t Padding(std::string_view text) { return text.back() != '=' ? 0 : text[text.size() - 2] == '=' ? 2 : 1; }

// Unused low bits of the last sextet must be zero, so every block has one spelling.
bool CanonicalEnd(int lastSextet, size_t padding) {
    return !(padding == 1 && (lastSextet & 0x03) != 0) && !(padding == 2 && (lastSextet & 0x0F) != 0);
}

}  // namespace

std::optional<size_t> KivBase64DecodedLength(std::string_view text) {
    if (text.size() % 4 != 0) return std::nullopt;
    if (text.empty()) return size_t{0};
    const size_t padding = Padding(text);
    const size_t data = text.size() - padding;
    for (size_t i = 0; i < data; ++i)
        if (Sextet(text[i]) == kNotBase64) return std::nullopt;
    if (!CanonicalEnd(Sextet(text[data - 1]), padding)) return std::nullopt;
    return text.size() / 4 * 3 - padding;
}

std::optional<size_t> KivBase64Decode(std::string_view text, BYTE* out, size_t capacity) {
    if (text.size() % 4 != 0) return std::nullopt;
    if (text.empty()) return size_t{0};
    const size_t padding = Padding(text);
    const size_t length = text.size() / 4 * 3 - padding;
    if (length > capacity) return std::nullopt;
    // kNotBase64 is the only negative sextet, so one character outside the alphabet ('='
    // before the padding included) shows in the OR of them all.
    int all = 0;
    const auto sextet = [&](size_t i) {
        const int v = Sextet(text[i]);
        all |= v;
        return static_cast<DWORD>(v);
    };
    // Every group but the last is four characters of the alphabet.
    const size_t last = text.size() - 4;
    for (size_t i = 0; i < last; i += 4) {
        const DWORD v = sextet(i) << 18 | sextet(i + 1) << 12 | sextet(i + 2) << 6 | sextet(i + 3);
        *out++ = static_cast<BYTE>(v >> 16);
        *out++ = static_cast<BYTE>(v >> 8);
        *out++ = static_cast<BYTE>(v);
    }
    DWORD v = 0;
    for (size_t k = 0; k < 4 - padding; ++k) v |= sextet(last + k) << (18 - 6 * k);
    if (all < 0 || !CanonicalEnd(Sextet(text[text.size() - padding - 1]), padding)) return std::nullopt;
    *out++ = static_cast<BYTE>(v >> 16);
    if (padding < 2) *out++ = static_cast<BYTE>(v >> 8);
    if (padding < 1) *out = static_cast<BYTE>(v);
    return length;
}
