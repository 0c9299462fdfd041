// CString in the archive: the framework's length prefix, then UTF-16 code units (or,
// in old narrow archives, single bytes).
#include <algorithm>
#include <climits>
#include <string>

#include "platform/fw/CArchive.h"

namespace {

/// Length escapes: a value equal to the escape means "a wider length follows".
constexpr BYTE kLengthEscape8 = 0xFF;
constexpr WORD kLengthEscape16 = 0xFFFF;
constexpr DWORD kLengthEscape32 = 0xFFFFFFFFu;
/// After a first 0xFF byte, this word marks a wide string whose length starts over.
constexpr WORD kWideMarker = 0xFFFE;
/// Largest block handed to one Read or Write call (they take 32-bit counts).
constexpr size_t kMaxBlock = 0x40000000;

void WriteLength(CArchive& ar, ULONGLONG n) {
    if (n < kLengthEscape8) {
        ar << static_cast<BYTE>(n);
        return;
    }
    ar << kLengthEscape8;
    // 0xFFFE itself would read as the wide marker, so it already takes the next width.
    if (n < kWideMarker) {
        ar << static_cast<WORD>(n);
        return;
    }
    ar << kLengthEscape16;
    if (n < kLengthEscape32) {
        ar << static_cast<DWORD>(n);
        return;
    }
    ar << kLengthEscape32 << n;
}

// The framework's reader: a narrow length, or the wide marker and the length again.
ULONGLONG ReadLength(CArchive& ar, size_t& charSize) {
    charSize = 1;
    BYTE b;
    ar >> b;
    if (b < kLengthEscape8) return b;
    WORD w;
    ar >> w;
    if (w == kWideMarker) {
        charSize = 2;
        ar >> b;
        if (b < kLengthEscape8) return b;
        ar >> w;
    }
    if (w < kLengthEscape16) return w;
    DWORD dw;
    ar >> dw;
    if (dw < kLengthEscape32) return dw;
    ULONGLONG qw;
    ar >> qw;
    return qw;
}

template <class Char>
void WriteBlock(CArchive& ar, const Char* data, size_t count) {
    const auto* bytes = reinterpret_cast<const BYTE*>(data);
    for (size_t left = count * sizeof(Char); left;) {
        const size_t n = std::min(left, kMaxBlock);
        ar.Write(bytes, static_cast<UINT>(n));
        bytes += n;
        left -= n;
    }
}

template <class Char>
void ReadBlock(CArchive& ar, Char* data, size_t count) {
    auto* bytes = reinterpret_cast<BYTE*>(data);
    for (size_t left = count * sizeof(Char); left;) {
        const size_t n = std::min(left, kMaxBlock);
        ar.Read(bytes, static_cast<UINT>(n));
        bytes += n;
        left -= n;
    }
}

}  // namespace

CArchive& operator<<(CArchive& ar, const CString& s) {
    const std::u16string units = KivTranslateBadAlloc([&] { return s.ToUtf16(); });
    ar << kLengthEscape8 << kWideMarker;
    WriteLength(ar, units.size());
    if constexpr (std::endian::native == std::endian::little) {
        WriteBlock(ar, units.data(), units.size());
    } else {
        for (const char16_t u : units) ar << static_cast<WORD>(u);
    }
    return ar;
}

CArchive& operator>>(CArchive& ar, CString& s) {
    size_t charSize;
    const ULONGLONG length = ReadLength(ar, charSize);
    // Refused before allocating, so that a huge length on short data costs nothing.
    ar.CheckCount(length, charSize, charSize == 2 ? "wide string characters" : "narrow string characters");
    if (length > static_cast<ULONGLONG>(INT_MAX))
        ar.ThrowError(CArchiveException::genericException,
                      "a string of " + std::to_string(length) + " characters is longer than a CString holds");
    const auto n = static_cast<size_t>(length);
    if (charSize == 1) {
        std::string bytes = KivTranslateBadAlloc([&] { return std::string(n, '\0'); });
        ReadBlock(ar, bytes.data(), n);
        s = KivTranslateBadAlloc([&] { return CString::FromLatin1(bytes); });
        return ar;
    }
    std::u16string units = KivTranslateBadAlloc([&] { return std::u16string(n, u'\0'); });
    if constexpr (std::endian::native == std::endian::little) {
        ReadBlock(ar, units.data(), n);
    } else {
        for (char16_t& u : units) {
            WORD w;
            ar >> w;
            u = static_cast<char16_t>(w);
        }
    }
    s = KivTranslateBadAlloc([&] { return CString::FromUtf16(units); });
    return ar;
}
