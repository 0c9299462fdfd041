#include <algorithm>

#include "UiTestSupport.h"

namespace {

CRect InkBounds(const MemCanvas& c) {
    CRect b;
    for (const CPoint& p : c.Ink()) b.UnionRect(b, CRect(p.x, p.y, p.x + 1, p.y + 1));
    return b;
}

struct TextCanvas : MemCanvas {
    CFont font;
    TextCanvas(LPCWSTR face, int points) : MemCanvas(200, 80) {
        font.CreatePointFont(points * 10, face);
        dc.SelectObject(&font);
        dc.SetBkMode(TRANSPARENT);
    }
};

}  // namespace

TEST(DcText, DrawTextInksOnlyInsideItsRectangleAndCentres) {
    TextCanvas c(L"Arial", 12);
    CRect box(20, 10, 180, 60);
    c.dc.DrawText(L"Keyframe", -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    const CRect ink = InkBounds(c);
    ASSERT_FALSE(ink.IsRectEmpty()) << "Liberation Sans draws for Arial";
    CRect inside;
    inside.IntersectRect(ink, box);
    EXPECT_EQ(inside, ink) << "all ink inside the rectangle";
    EXPECT_NEAR((ink.left + ink.right) / 2.0, (box.left + box.right) / 2.0, 2.0) << "centred horizontally";
    EXPECT_NEAR((ink.top + ink.bottom) / 2.0, (box.top + box.bottom) / 2.0, 3.0) << "centred vertically";

    // DT_BOTTOM puts the text cell on the rectangle's bottom; the return value reaches it.
    TextCanvas b(L"Arial", 12);
    CRect low(0, 0, 200, 70);
    EXPECT_EQ(b.dc.DrawText(L"Ag", -1, &low, DT_BOTTOM | DT_SINGLELINE), 70);
    EXPECT_GT(InkBounds(b).top, 40);

    // Text wider than its rectangle is cut at the rectangle.
    TextCanvas n(L"Arial", 12);
    CRect narrow(10, 10, 40, 40);
    n.dc.DrawText(L"A long line of text", -1, &narrow, DT_SINGLELINE);
    EXPECT_LE(InkBounds(n).right, 40);
}

TEST(DcText, FaceNamesMapToMetricCompatibleFontsAndFallBack) {
    TextCanvas arial(L"Arial", 10), sans(L"Liberation Sans", 10), other(L"System Fonts", 10), times(L"Times New Roman", 10);
    const CString sample(L"The quick brown fox");
    EXPECT_EQ(arial.dc.GetTextExtent(sample), sans.dc.GetTextExtent(sample));
    EXPECT_NE(arial.dc.GetTextExtent(sample).cx, times.dc.GetTextExtent(sample).cx) << "serif and sans differ";
    EXPECT_NE(arial.dc.GetTextExtent(sample).cx, other.dc.GetTextExtent(sample).cx) << "unknown names fall back to DejaVu";
    TEXTMETRICW tm{};
    ASSERT_TRUE(times.dc.GetTextMetrics(&tm));
    EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
    EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 13) << "10 points are a 13-pixel em at 96 pixels per inch";
}

TEST(DcText, ChineseTextDrawsThroughTheCjkFont) {
    TextCanvas a(L"Arial", 12), b(L"Arial", 12);
    a.dc.TextOut(10, 10, CString(L"\u5173\u952e\u5e27"));  // "keyframe"
    b.dc.TextOut(10, 10, CString(L"\u53d6\u6d88\u5e27"));
    EXPECT_FALSE(a.Ink().empty());
    EXPECT_NE(a.Pixels(), b.Pixels()) << "real glyphs, not the same missing-glyph box";
}

TEST(DcText, OpaqueModeFillsTheTextCell) {
    TextCanvas c(L"Arial", 10);
    c.dc.SetBkMode(OPAQUE);
    c.dc.SetBkColor(RGB(0, 0, 255));
    c.dc.TextOut(5, 5, CString(L"Hi"));
    const CSize ext = c.dc.GetTextExtent(CString(L"Hi"));
    EXPECT_EQ(c.dc.GetPixel(5, 5), RGB(0, 0, 255));
    EXPECT_EQ(c.dc.GetPixel(5 + ext.cx - 1, 5 + ext.cy - 1), RGB(0, 0, 255));
    EXPECT_EQ(c.dc.GetPixel(5 + ext.cx, 5), RGB(255, 255, 255));
}

TEST(DcText, MissingFontFilesDrawNothingAndDoNotFail) {
    KivSetFontDirectory(L"/nonexistent-font-folder");
    TextCanvas c(L"Arial", 12);
    KivSetFontDirectory(nullptr);
    CRect box(0, 0, 200, 80);
    EXPECT_GT(c.dc.DrawText(L"Nothing", -1, &box, DT_SINGLELINE), 0) << "layout still has a line height";
    EXPECT_TRUE(c.Ink().empty());
    EXPECT_GT(c.dc.GetTextExtent(CString(L"abc")).cx, 0);
}

TEST(DcText, CalcRectMeasuresLinesAndPrefixesAreHidden) {
    TextCanvas c(L"Arial", 10);
    CRect r(0, 0, 0, 0);
    c.dc.DrawText(L"one\ntwo lines", -1, &r, DT_CALCRECT);
    EXPECT_EQ(r.Height(), 2 * c.dc.GetTextExtent(CString(L"x")).cy);
    EXPECT_EQ(r.Width(), c.dc.GetTextExtent(CString(L"two lines")).cx);
    CRect p(0, 0, 0, 0), q(0, 0, 0, 0);
    c.dc.DrawText(L"&Add", -1, &p, DT_CALCRECT | DT_SINGLELINE);
    c.dc.DrawText(L"Add", -1, &q, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(p, q) << "the mnemonic marker takes no room";
}
