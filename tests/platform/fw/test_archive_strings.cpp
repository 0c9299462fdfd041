// CString in the archive: the wide form at each length boundary, the narrow form old
// archives hold, surrogates, and hostile lengths.
#include <gtest/gtest.h>

#include "ArchiveTestUtil.h"

namespace {

CString Repeat(wchar_t ch, int n) { return CString(ch, n); }

CString LoadString(const Bytes& bytes) {
    ArchiveReader r(bytes);
    CString s;
    r.ar() >> s;
    EXPECT_EQ(r.ar().GetBytesLeft(), 0u) << "the whole string is consumed";
    return s;
}

// Prefix of a stored wide string: the marker, then the length in its escape form.
Bytes StoredPrefix(const CString& s) {
    Bytes all = StoreBytes([&](CArchive& ar) { ar << s; });
    all.resize(all.size() - static_cast<size_t>(s.GetLength()) * 2);
    return all;
}

}  // namespace

TEST(ArchiveStrings, WideLengthTakesTheNextWidthAtEachEscape) {
    EXPECT_EQ(StoredPrefix(CString()), (Bytes{0xFF, 0xFE, 0xFF, 0x00}));
    EXPECT_EQ(StoredPrefix(Repeat(L'a', 254)), (Bytes{0xFF, 0xFE, 0xFF, 0xFE}));
    EXPECT_EQ(StoredPrefix(Repeat(L'a', 255)), (Bytes{0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0x00}));
    EXPECT_EQ(StoredPrefix(Repeat(L'a', 0xFFFD)), (Bytes{0xFF, 0xFE, 0xFF, 0xFF, 0xFD, 0xFF}));
    // 0xFFFE would read as the wide marker, so it is the first length written as a DWORD.
    EXPECT_EQ(StoredPrefix(Repeat(L'a', 0xFFFE)), (Bytes{0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}));
}

TEST(ArchiveStrings, RoundTripAtEachLengthBoundary) {
    for (int n : {0, 1, 254, 255, 256, 0xFFFD, 0xFFFE, 0xFFFF, 0x10000}) {
        const CString s = Repeat(static_cast<wchar_t>(L'A' + n % 26), n);
        EXPECT_EQ(LoadString(StoreBytes([&](CArchive& ar) { ar << s; })), s) << "length " << n;
    }
}

TEST(ArchiveStrings, UnitsAreUtf16LittleEndian) {
    const Bytes bytes = StoreBytes([](CArchive& ar) { ar << CString(L"A\u20AC\U0001F600"); });
    EXPECT_EQ(bytes, (Bytes{0xFF, 0xFE, 0xFF, 0x04, 0x41, 0x00, 0xAC, 0x20, 0x3D, 0xD8, 0x00, 0xDE}));
    EXPECT_EQ(LoadString(bytes), CString(L"A\u20AC\U0001F600")) << "the surrogate pair joins again";
}

TEST(ArchiveStrings, LoneSurrogatesLoadAsReplacementCharacters) {
    const Bytes bytes = Bytes{0xFF, 0xFE, 0xFF, 0x03} + Words({u'x', 0xDC00, 0xD800});
    EXPECT_EQ(LoadString(bytes), CString(L"x\uFFFD\uFFFD"));
}

TEST(ArchiveStrings, WideWordLengthOf0xFFFEIsAcceptedOnLoad) {
    // Written as a DWORD by this library, but the framework's reader takes this form too.
    const Bytes bytes = Bytes{0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF} + Bytes(0xFFFE * 2, 0x62);
    const CString s = LoadString(bytes);
    EXPECT_EQ(s.GetLength(), 0xFFFE);
    EXPECT_EQ(s[0], L'\u6262');
}

TEST(ArchiveStrings, NarrowFormIsWidenedByteByByte) {
    EXPECT_EQ(LoadString(Bytes{0x00}), CString());
    EXPECT_EQ(LoadString(Bytes{0x03, 'a', 'b', 0xE9}), CString(L"ab\u00E9"));
    const Bytes wordLength = Bytes{0xFF, 0x00, 0x01} + Bytes(256, 'z');
    EXPECT_EQ(LoadString(wordLength), Repeat(L'z', 256));
    const Bytes dwordLength = Bytes{0xFF, 0xFF, 0xFF} + Dword(3) + Text("abc");
    EXPECT_EQ(LoadString(dwordLength), CString(L"abc"));
}

TEST(ArchiveStrings, HugeLengthOnShortDataRaisesBeforeAllocating) {
    // Lengths this large cannot even be allocated, so reaching an allocation would fail
    // differently; the message shows the up-front check refused them.
    const Bytes wide64 = Bytes{0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF} + Dword(0xFFFFFFFFu) + Dword(0) + Dword(0x40000000u) + Text("ab");
    const Bytes narrow32 = Bytes{0xFF, 0xFF, 0xFF} + Dword(0xFFFFFFF0u) + Text("abc");
    for (const Bytes& bytes : {wide64, narrow32}) {
        ArchiveReader r(bytes);
        CString s(L"kept");
        const std::string msg = ArchiveMessage([&] { r.ar() >> s; });
        EXPECT_NE(msg.find("archive error endOfFile"), std::string::npos) << msg;
        EXPECT_NE(msg.find("string characters of at least"), std::string::npos) << msg;
        EXPECT_EQ(s, CString(L"kept")) << "a failed load leaves the string alone";
    }
}

TEST(ArchiveStrings, TruncatedUnitsRaiseEndOfFile) {
    const Bytes bytes = StoreBytes([](CArchive& ar) { ar << CString(L"hello"); });
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        ArchiveReader r(Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut)));
        CString s;
        EXPECT_EQ(ArchiveCause([&] { r.ar() >> s; }), CArchiveException::endOfFile) << "cut at " << cut;
    }
}
