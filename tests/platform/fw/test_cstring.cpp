#include <gtest/gtest.h>

#include "platform/fw/CString.h"

TEST(CStringFormat, WideStringAndLongMeanFrameworkWidths) {
    CString prefix(L"C:\\Temp\\");
    CString s;
    const ULONG tick = 5000127u;
    s.Format(L"%sMKF%lu%d%d.#mfk#", prefix.GetString(), tick, 12, 7);
    EXPECT_EQ(s, CString(L"C:\\Temp\\MKF5000127127.#mfk#"));
}

TEST(CStringUnicode, Utf16RoundTripKeepsAstralCharacters) {
    const CString s(L"a\U0001F600\u00e9");
    const std::u16string u = s.ToUtf16();
    ASSERT_EQ(u.size(), 4u) << "the astral character becomes a surrogate pair";
    EXPECT_EQ(CString::FromUtf16(u), s);
    EXPECT_EQ(CString::FromUtf8(s.ToUtf8()), s);
}

TEST(CStringUnicode, LoneSurrogatesAndBadUtf8BecomeReplacementCharacters) {
    const char16_t lone[] = {u'a', 0xD800, u'b'};
    EXPECT_EQ(CString::FromUtf16(std::u16string_view(lone, 3)), CString(L"a\uFFFDb"));
    EXPECT_EQ(CString::FromUtf8("a\xC3"), CString(L"a\uFFFD")) << "truncated sequence";
    EXPECT_EQ(CString::FromUtf8("\xC0\x80"), CString(L"\uFFFD")) << "overlong form is refused";
}

TEST(CStringBasics, SubstringsClampToTheText) {
    const CString s(L"abcdef");
    EXPECT_EQ(s.Left(2), CString(L"ab"));
    EXPECT_EQ(s.Right(10), s);
    EXPECT_EQ(s.Mid(4), CString(L"ef"));
    EXPECT_EQ(s.Mid(-3, 2), CString(L"ab"));
    EXPECT_EQ(s.Find(L"cd"), 2);
    EXPECT_EQ(s.Find(L'z'), -1);
}
