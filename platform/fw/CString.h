// The framework's wide string: wchar_t text with the everyday interface hosts use.
// It becomes UTF-16 code units in the archive and UTF-8 in XML and file system calls.
#pragma once

#include <compare>
#include <string>
#include <string_view>

#include "platform/fw/KivTypes.h"

class CString {
public:
    CString() = default;
    CString(LPCWSTR text) : m_str(text ? text : L"") {}
    CString(LPCWSTR text, int length) : m_str(text ? std::wstring(text, length > 0 ? length : 0) : std::wstring()) {}
    CString(wchar_t ch, int repeat = 1) : m_str(repeat > 0 ? repeat : 0, ch) {}
    CString(std::wstring text) : m_str(std::move(text)) {}
    CString(std::wstring_view text) : m_str(text) {}
    /// Narrow text is taken as UTF-8 (invalid sequences become U+FFFD).
    explicit CString(LPCSTR utf8);

    int GetLength() const { return static_cast<int>(m_str.size()); }
    BOOL IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    LPCWSTR GetString() const { return m_str.c_str(); }
    operator LPCWSTR() const { return m_str.c_str(); }
    wchar_t GetAt(int i) const { return m_str.at(static_cast<size_t>(i)); }
    void SetAt(int i, wchar_t ch) { m_str.at(static_cast<size_t>(i)) = ch; }
    wchar_t operator[](int i) const { return GetAt(i); }

    /// printf-style formatting with the framework's conventions: %s and %c take wide
    /// arguments, and the l size prefix on integers means 32 bits (LONG, ULONG).
    void Format(LPCWSTR format, ...);
    void AppendFormat(LPCWSTR format, ...);
    void Append(const CString& s) { m_str += s.m_str; }

    CString Left(int n) const;
    CString Right(int n) const;
    CString Mid(int first, int count = -1) const;
    int Find(wchar_t ch, int start = 0) const;
    int Find(LPCWSTR sub, int start = 0) const;
    int ReverseFind(wchar_t ch) const;
    CString& MakeUpper();
    CString& MakeLower();
    CString& Trim();
    int Compare(LPCWSTR other) const { return m_str.compare(other ? other : L""); }
    int CompareNoCase(LPCWSTR other) const;

    CString& operator=(LPCWSTR text) { m_str = text ? text : L""; return *this; }
    CString& operator+=(const CString& s) { m_str += s.m_str; return *this; }
    CString& operator+=(LPCWSTR s) { if (s) m_str += s; return *this; }
    CString& operator+=(wchar_t ch) { m_str += ch; return *this; }

    friend CString operator+(const CString& a, const CString& b) { return CString(a.m_str + b.m_str); }
    friend CString operator+(const CString& a, LPCWSTR b) { return CString(a.m_str + (b ? b : L"")); }
    friend CString operator+(LPCWSTR a, const CString& b) { return CString((a ? std::wstring(a) : std::wstring()) + b.m_str); }
    friend CString operator+(const CString& a, wchar_t b) { return CString(a.m_str + b); }
    friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
    friend bool operator==(const CString& a, LPCWSTR b) { return a.m_str == (b ? b : L""); }
    friend std::strong_ordering operator<=>(const CString& a, const CString& b) { return a.m_str <=> b.m_str; }

    const std::wstring& Str() const { return m_str; }

    /// UTF-8 text of the string (for XML and file names); lone surrogates become U+FFFD.
    std::string ToUtf8() const;
    static CString FromUtf8(std::string_view utf8);
    /// UTF-16 code units (for the archive); characters beyond U+FFFF become surrogate pairs.
    std::u16string ToUtf16() const;
    /// From UTF-16 code units; a lone surrogate becomes U+FFFD.
    static CString FromUtf16(std::u16string_view units);
    /// From single-byte text, each byte taken as the character of the same number (Latin-1).
    static CString FromLatin1(std::string_view bytes);

private:
    std::wstring m_str;
};
