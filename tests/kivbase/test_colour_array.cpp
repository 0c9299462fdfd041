// The colour array: adding and emptying, copies, the gradient Process paints, and its
// stored forms with untrusted counts.
#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "kivbase/CKivColor32Array.h"
#include "support/ArchiveBytes.h"

using kfxtest::Bytes;

namespace {

void Fill(CKivColor32Array& colors, std::initializer_list<DWORD> packed) {
    colors.DeleteAll();
    for (DWORD c : packed) colors.Add(CKivColor32(c), 1);
}

std::vector<DWORD> Packed(const CKivColor32Array& colors) {
    std::vector<DWORD> out;
    for (INT_PTR i = 0; i < colors.GetSize(); ++i) out.push_back(colors.GetAt(i).ToDWORD());
    return out;
}

std::vector<DWORD> Paint(const CKivColor32Array& colors, CSize size, int* result = nullptr) {
    std::vector<tagCOLOR32> pixels(static_cast<size_t>(size.cx * size.cy), tagCOLOR32::FromDWORD(0x12345678u));
    const int r = colors.Process(pixels.data(), size);
    if (result) *result = r;
    std::vector<DWORD> out;
    for (const tagCOLOR32& p : pixels) out.push_back(p.ToDWORD());
    return out;
}

}  // namespace

TEST(ColourArray, AddAppendsAndDeleteAllEmpties) {
    CKivColor32Array colors;
    EXPECT_EQ(colors.Add(CKivColor32(0xFF0000FFu), 1), 0);
    EXPECT_EQ(colors.Add(CKivColor32(0x00FF0000u), 1), 1);
    EXPECT_EQ(colors.Add(nullptr, 1), -1);
    EXPECT_EQ(Packed(colors), (std::vector<DWORD>{0xFF0000FFu, 0x00FF0000u}));
    EXPECT_THROW(colors.GetAt(2), CInvalidArgException);
    colors.DeleteAll();
    EXPECT_EQ(colors.GetSize(), 0);
}

TEST(ColourArray, AssignmentAndCopiesReplaceTheColours) {
    CKivColor32Array source, target;
    Fill(source, {1, 2});
    Fill(target, {7, 8, 9});
    target = source;
    EXPECT_EQ(Packed(target), (std::vector<DWORD>{1, 2}));
    std::unique_ptr<CKivObject> copy(source.MakeCopy());
    ASSERT_TRUE(copy);
    EXPECT_EQ(Packed(*dynamic_cast<CKivColor32Array*>(copy.get())), (std::vector<DWORD>{1, 2}));
}

TEST(ColourArrayProcess, EvenlySpacedGradientTheSameOnEveryRow) {
    CKivColor32Array colors;
    Fill(colors, {0x00000000u, 0xFFFFFFFFu});
    const auto pixels = Paint(colors, CSize(5, 2));
    // Columns at 0, 1/4, 1/2, 3/4, 1 of the way, each channel alpha included, rounded.
    const std::vector<DWORD> row = {0x00000000u, 0x40404040u, 0x80808080u, 0xBFBFBFBFu, 0xFFFFFFFFu};
    EXPECT_EQ(std::vector<DWORD>(pixels.begin(), pixels.begin() + 5), row);
    EXPECT_EQ(std::vector<DWORD>(pixels.begin() + 5, pixels.end()), row);

    Fill(colors, {0xFF0000FFu, 0xFF00FF00u, 0xFFFF0000u});  // blue, green, red
    const auto three = Paint(colors, CSize(3, 1));
    EXPECT_EQ(three, (std::vector<DWORD>{0xFF0000FFu, 0xFF00FF00u, 0xFFFF0000u})) << "each colour on its own column";
}

TEST(ColourArrayProcess, OneColourFillsAndNarrowAreasTakeTheFirst) {
    CKivColor32Array colors;
    Fill(colors, {0xFF336699u});
    EXPECT_EQ(Paint(colors, CSize(3, 2)), std::vector<DWORD>(6, 0xFF336699u));
    Fill(colors, {0xFF000000u, 0xFFFFFFFFu});
    EXPECT_EQ(Paint(colors, CSize(1, 2)), std::vector<DWORD>(2, 0xFF000000u));
}

TEST(ColourArrayProcess, NothingToPaintIsAFailureThatWritesNothing) {
    CKivColor32Array colors;
    int result = -1;
    EXPECT_EQ(Paint(colors, CSize(4, 1), &result), std::vector<DWORD>(4, 0x12345678u));
    EXPECT_EQ(result, 0) << "no colours";
    Fill(colors, {0xFFFFFFFFu});
    EXPECT_EQ(colors.Process(nullptr, CSize(4, 1)), 0);
    tagCOLOR32 pixel = tagCOLOR32::FromDWORD(5);
    EXPECT_EQ(colors.Process(&pixel, CSize(0, 1)), 0);
    EXPECT_EQ(colors.Process(&pixel, CSize(1, -1)), 0);
    EXPECT_EQ(pixel.ToDWORD(), 5u);
}

TEST(ColourArrayArchive, VersionWordThenCountThenPackedColours) {
    CKivColor32Array colors;
    Fill(colors, {0xFFFFFFFFu, 0xFF000000u});
    const auto bytes = kfxtest::StoreBytes(colors);
    EXPECT_EQ(bytes, Bytes({0, 0, 2, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0xFF}));
    CKivColor32Array back;
    Fill(back, {1, 2, 3});
    kfxtest::LoadBytes(back, bytes);
    EXPECT_EQ(Packed(back), (std::vector<DWORD>{0xFFFFFFFFu, 0xFF000000u}));
}

TEST(ColourArrayArchive, CountBeyondTheDataIsRefusedAndTheColoursKept) {
    CKivColor32Array colors;
    Fill(colors, {7});
    try {
        kfxtest::LoadBytes(colors, Bytes({0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 1, 2, 3, 4}));
        ADD_FAILURE() << "a count of 2^31 - 1 loads from 4 bytes";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::endOfFile);
    }
    EXPECT_EQ(Packed(colors), std::vector<DWORD>{7});
}

TEST(ColourArrayXml, CountAndOneAttributePerColour) {
    CKivColor32Array colors;
    Fill(colors, {0xFFFFFFFFu, 0x80FF0000u});
    const std::string xml = kfxtest::StoreXml(colors);
    EXPECT_NE(xml.find("<CKivColor32Array Version=\"0\">"), std::string::npos) << xml;
    EXPECT_NE(xml.find("<DataMember Count=\"2\" Color0=\"4294967295\" Color1=\"2164195328\" />"), std::string::npos) << xml;
    EXPECT_NE(xml.find("<BaseObject />"), std::string::npos) << xml;

    CKivColor32Array back;
    Fill(back, {1, 2, 3});
    kfxtest::LoadXml(back, xml);
    EXPECT_EQ(Packed(back), (std::vector<DWORD>{0xFFFFFFFFu, 0x80FF0000u}));
}

TEST(ColourArrayXml, MissingElementKeepsTheColoursAndBadCountsGiveNone) {
    CKivColor32Array colors;
    Fill(colors, {9});
    kfxtest::LoadXml(colors, "<Root><Other /></Root>");
    EXPECT_EQ(Packed(colors), std::vector<DWORD>{9});
    kfxtest::LoadXml(colors, "<Root><CKivColor32Array Version=\"0\" /></Root>");
    EXPECT_EQ(Packed(colors), std::vector<DWORD>{9}) << "no DataMember";
    for (const char* count : {"-1", "4294967295"}) {
        kfxtest::LoadXml(colors, std::string("<Root><CKivColor32Array Version=\"0\"><DataMember Count=\"") + count +
                                     "\" Color0=\"1\" /></CKivColor32Array></Root>");
        EXPECT_EQ(colors.GetSize(), 0) << count;
    }
}
