#include "platform/fw/CString.h"

#include <algorithm>
#include <cstdarg>
#include <cwchar>
#include <cwctype>
#include <vector>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

void AppendUtf8(std::string& out, char32_t c) {
    if (c > 0x10FFFF || IsSurrogate(c)) c = kReplacement;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Rewrites a format string from the framework's conventions to the C library's:
// %s/%c take wide arguments, and 'l' on an integer conversion means 32 bits.
std::wstring TranslateFormat(LPCWSTR format) {
    std::wstring out;
    if (!format) return out;
    for (const wchar_t* p = format; *p; ++p) {
        out += *p;
        if (*p != L'%') continue;
        ++p;
        if (*p == L'%') { out += *p; continue; }
        while (*p && std::wcschr(L"-+ #0123456789.*", *p)) out += *p++;
        bool longPrefix = false;
        if (*p == L'l' && p[1] != L'l') { longPrefix = true; ++p; }
        else if (*p == L'h' || *p == L'l' || *p == L'z' || *p == L'j' || *p == L't' || *p == L'L') {
            while (*p && std::wcschr(L"hlzjtL", *p)) out += *p++;
        }
        if (!*p) break;
        const wchar_t conv = *p;
        if (conv == L's' || conv == L'c') {
            out += L'l';
        } else if (conv == L'S') {
            out += L's';  // narrow argument, as the framework's %S in a wide format
            continue;
        } else if (longPrefix && !std::wcschr(L"diouxX", conv)) {
            out += L'l';
        }
        out += conv;
    }
    return out;
}

std::wstring VFormat(LPCWSTR format, va_list args) {
    const std::wstring fmt = TranslateFormat(format);
    std::vector<wchar_t> buf(256);
    for (;;) {
        va_list copy;
        va_copy(copy, args);
        const int n = std::vswprintf(buf.data(), buf.size(), fmt.c_str(), copy);
        va_end(copy);
        if (n >= 0 && static_cast<size_t>(n) < buf.size()) return std::wstring(buf.data(), static_cast<size_t>(n));
        if (buf.size() > (1u << 26)) return std::wstring();  // malformed format; give up rather than grow forever
        buf.resize(buf.size() * 4);
    }
}

}  // namespace

CString::CString(LPCSTR utf8) : CString(FromUtf8(utf8 ? std::string_view(utf8) : std::string_view())) {}

void CString::Format(LPCWSTR format, ...) {
    va_list args;
    va_start(args, format);
    m_str = VFormat(format, args);
    va_end(args);
}

void CString::AppendFormat(LPCWSTR format, ...) {
    va_list args;
    va_start(args, format);
    m_str += VFormat(format, args);
    va_end(args);
}

CString CString::Left(int n) const { return CString(m_str.substr(0, static_cast<size_t>(std::clamp(n, 0, GetLength())))); }

CString CString::Right(int n) const {
    const int k = std::clamp(n, 0, GetLength());
    return CString(m_str.substr(m_str.size() - static_cast<size_t>(k)));
}

CString CString::Mid(int first, int count) const {
    const int start = std::clamp(first, 0, GetLength());
    const int avail = GetLength() - start;
    const int k = count < 0 ? avail : std::min(count, avail);
    return CString(m_str.substr(static_cast<size_t>(start), static_cast<size_t>(k)));
}

int CString::Find(wchar_t ch, int start) const {
    if (start < 0 || start > GetLength()) return -1;
    const size_t at = m_str.find(ch, static_cast<size_t>(start));
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CString::Find(LPCWSTR sub, int start) const {
    if (!sub || start < 0 || start > GetLength()) return -1;
    const size_t at = m_str.find(sub, static_cast<size_t>(start));
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CString::ReverseFind(wchar_t ch) const {
    const size_t at = m_str.rfind(ch);
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

CString& CString::MakeUpper() {
    for (auto& c : m_str) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    return *this;
}

CString& CString::MakeLower() {
    for (auto& c : m_str) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return *this;
}

CString& CString::Trim() {
    const auto notSpace = [](wchar_t c) { return !std::iswspace(static_cast<wint_t>(c)); };
    m_str.erase(m_str.begin(), std::find_if(m_str.begin(), m_str.end(), notSpace));
    m_str.erase(std::find_if(m_str.rbegin(), m_str.rend(), notSpace).base(), m_str.end());
    return *this;
}

int CString::CompareNoCase(LPCWSTR other) const {
    CString a(*this), b(other);
    a.MakeLower();
    b.MakeLower();
    return a.Compare(b);
}

std::string CString::ToUtf8() const {
    std::string out;
    out.reserve(m_str.size());
    for (wchar_t c : m_str) AppendUtf8(out, static_cast<char32_t>(c));
    return out;
}

CString CString::FromUtf8(std::string_view s) {
    std::wstring out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        const auto b0 = static_cast<unsigned char>(s[i]);
        int extra = 0;
        char32_t c = 0;
        char32_t minimum = 0;
        if (b0 < 0x80) { c = b0; }
        else if ((b0 & 0xE0) == 0xC0) { c = b0 & 0x1F; extra = 1; minimum = 0x80; }
        else if ((b0 & 0xF0) == 0xE0) { c = b0 & 0x0F; extra = 2; minimum = 0x800; }
        else if ((b0 & 0xF8) == 0xF0) { c = b0 & 0x07; extra = 3; minimum = 0x10000; }
        else { out += static_cast<wchar_t>(kReplacement); ++i; continue; }
        size_t k = 1;
        bool ok = true;
        for (; k <= static_cast<size_t>(extra); ++k) {
            if (i + k >= s.size() || (static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) { ok = false; break; }
            c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        }
        if (!ok || c < minimum || c > 0x10FFFF || IsSurrogate(c)) {
            out += static_cast<wchar_t>(kReplacement);
            i += ok ? k : std::max<size_t>(k, 1);
            continue;
        }
        out += static_cast<wchar_t>(c);
        i += k;
    }
    return CString(std::move(out));
}

std::u16string CString::ToUtf16() const {
    std::u16string out;
    out.reserve(m_str.size());
    for (wchar_t wc : m_str) {
        char32_t c = static_cast<char32_t>(wc);
        if (c > 0x10FFFF || IsSurrogate(c)) c = kReplacement;
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

CString CString::FromUtf16(std::u16string_view units) {
    std::wstring out;
    out.reserve(units.size());
    for (size_t i = 0; i < units.size(); ++i) {
        const char16_t u = units[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
            out += static_cast<wchar_t>(0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (units[i + 1] - 0xDC00));
            ++i;
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            out += static_cast<wchar_t>(kReplacement);
        } else {
            out += static_cast<wchar_t>(u);
        }
    }
    return CString(std::move(out));
}

CString CString::FromLatin1(std::string_view bytes) {
    std::wstring out;
    out.reserve(bytes.size());
    for (char b : bytes) out += static_cast<wchar_t>(static_cast<unsigned char>(b));
    return CString(std::move(out));
}
