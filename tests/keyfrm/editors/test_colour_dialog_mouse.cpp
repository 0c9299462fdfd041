// The colour dialog's mouse: picks in the colour field, the strips' clamps, keyframe and
// current-location drags with the overlap rule, right-click deletion, also during a drag.
// What every editor's drag does alike is in test_editor_drags.cpp.
#include <cmath>

#include "ColourDialogTestSupport.h"

namespace {

const CPoint kFieldPoint(110, 210);  // in the colour field (10, 10, 235, 235)

// Hue and saturation of the field at a client point, at a luminance.
tagCOLORHLSA FieldHls(CPoint p, BYTE luminance) {
    return {static_cast<BYTE>((p.x - 10) / 225.0 * 255.0), luminance, static_cast<BYTE>((p.y - 10) / 225.0 * 255.0), 255};
}

// The colour the field shows at a client point: luminance 127.
tagCOLOR32 FieldColour(CPoint p) { return KivPublicHLSA2RGBA(FieldHls(p, 127)); }

}  // namespace

TEST_F(ColourDialogTest, AColourFieldDragWritesAKeyframeAtTheCurrentLocation) {
    Open(MakeColourTrack({{0.0, 0, 0, 0, 200}}), 0.5);
    const tagCOLOR32 underPointer = FieldColour(kFieldPoint);
    EXPECT_EQ(At(kFieldPoint.x, kFieldPoint.y), RGB(underPointer.red, underPointer.green, underPointer.blue));
    Press(kFieldPoint);
    EXPECT_TRUE(dlg->IsDragging());
    EXPECT_EQ(dlg->GetDragKind(), CKivFXClr32KeyFrmDlg::kDragClrPic);
    EXPECT_EQ(Edits(), (std::vector<int>{underPointer.red, underPointer.green, underPointer.blue, 200}))
        << "the first pick is the colour under the pointer, not white";
    EXPECT_EQ(track->GetKeyFrmCount(), 1) << "nothing is written during the drag";
    const CPoint next(60, 120);
    Move(next);
    const tagCOLOR32 picked = FieldColour(next);
    Release(next);
    ASSERT_EQ(track->GetKeyFrmCount(), 2);
    EXPECT_EQ(Key(1)->Location, 0.5);
    EXPECT_EQ(Key(1)->GetColor32(), (tagCOLOR32{picked.blue, picked.green, picked.red, 200}));
    EXPECT_EQ(host.modifies, (std::vector<ClrModify>{{1, 0}}));
    EXPECT_FALSE(dlg->IsDragging());
    KivScreen::Get().PaintAll();
    EXPECT_EQ(At(StripX(0.75), 250), RGB(picked.red, picked.green, picked.blue)) << "the colour bar after the new keyframe";

    // Leaving the field keeps the last colour picked inside it.
    Press(kFieldPoint);
    Move(CPoint(-30, 500));
    Move(CPoint(300, 120));
    Release(CPoint(300, 120));
    EXPECT_EQ(Key(1)->GetColor32(), (tagCOLOR32{underPointer.blue, underPointer.green, underPointer.red, 200}));
}

TEST_F(ColourDialogTest, APickUsesTheLuminanceSetOnTheStrip) {
    Open(MakeColourTrack({}), 0.5);
    Drag(CPoint(250, 10 + 45), CPoint(250, 10 + 45));  // a fifth of the strip: luminance 51
    EXPECT_EQ(dlg->GetCurHLS().luminance, 51);
    Drag(kFieldPoint, kFieldPoint);
    const tagCOLOR32 expected = KivPublicHLSA2RGBA(FieldHls(kFieldPoint, 51));
    EXPECT_EQ(Edits(), (std::vector<int>{expected.red, expected.green, expected.blue, 255}));
    EXPECT_EQ(host.modifies.size(), 2u) << "one message per finished drag";
}

TEST_F(ColourDialogTest, StripsClampAboveAndBelow) {
    struct Case {
        CPoint press, release;
        int luminance;  // -1: not a luminance drag
        int alpha;
    };
    const Case cases[] = {
        {CPoint(250, 100), CPoint(250, -40), 0, -1},   // luminance strip, above it
        {CPoint(250, 100), CPoint(250, 900), 255, -1},  // below
        {CPoint(275, 100), CPoint(275, -40), -1, 0},    // alpha strip
        {CPoint(275, 100), CPoint(275, 900), -1, 255},
        {CPoint(275, 10), CPoint(275, 10), -1, 0},      // its top row
    };
    Open(MakeColourTrack({}), 0.5);
    for (const Case& c : cases) {
        Drag(c.press, c.release);
        if (c.luminance >= 0) {
            EXPECT_EQ(dlg->GetCurHLS().luminance, c.luminance);
            const int grey = c.luminance;  // black or white whatever the hue
            const std::vector<int> edits = Edits();
            EXPECT_EQ(edits, (std::vector<int>{grey, grey, grey, 255}));
        } else {
            EXPECT_EQ(Edits()[3], c.alpha);
            EXPECT_EQ(track->GetFXKeyFrm(0)->GetColor32().alpha, c.alpha) << "written when the drag ends";
        }
    }
    EXPECT_EQ(track->GetKeyFrmCount(), 1);
    EXPECT_EQ(host.modifies.size(), std::size(cases));
}

TEST_F(ColourDialogTest, TheCurrentLocationDragsAlongTheStrip) {
    Open(MakeColourTrack({{0.0, 0, 0, 0, 255}, {1.0, 250, 250, 250, 255}}), 0.5);
    Press(CPoint(StripX(0.5) + 2, kStripMiddle));
    EXPECT_EQ(dlg->GetDragKind(), CKivFXClr32KeyFrmDlg::kDragTL);
    Move(CPoint(StripX(0.0) + 37, kStripMiddle));
    EXPECT_DOUBLE_EQ(dlg->GetCurLocation(), 0.1);
    Move(CPoint(-100, 0));
    EXPECT_EQ(dlg->GetCurLocation(), 0.0) << "held at the strip's start";
    Move(CPoint(StripX(0.0) + 37, kStripMiddle));
    Release(CPoint(StripX(0.0) + 37, kStripMiddle));
    EXPECT_DOUBLE_EQ(dlg->GetCurLocation(), 0.1);
    EXPECT_EQ(host.modifies, (std::vector<ClrModify>{{0, 1}}));
    EXPECT_EQ(Edits(), (std::vector<int>{25, 25, 25, 255})) << "the track's colour at 0.1";
    EXPECT_EQ(dlg->GetCurHLS().luminance, 25);
    EXPECT_EQ(track->GetKeyFrmCount(), 2) << "nothing written";
    KivScreen::Get().PaintAll();
    EXPECT_EQ(At(StripX(0.1), kStripMiddle), RGB(255, 255, 0)) << "the marker at its new place";
    EXPECT_NE(At(StripX(0.5), kStripMiddle), RGB(255, 255, 0)) << "and gone from the old";
    EXPECT_EQ(At(StripX(0.1), 250), RGB(25, 25, 25) ^ RGB(255, 255, 0)) << "its line XOR-ed across the colour bar";
}

TEST_F(ColourDialogTest, AKeyframeDragsToThePointersPixelAndStepsOffOthersByPixels) {
    struct Case {
        const char* what;
        double start;               // the dragged keyframe's location
        std::vector<double> others;
        std::vector<int> moves;     // pointer x positions after pressing on its mark
        double expected;
    };
    const double step = static_cast<float>(1.0 / kStripWidth);
    const Case cases[] = {
        {"a free place: the pointer's pixel", 0.25, {0.5, 1.0}, {StripX(0.75)}, 277.0 / kStripWidth},
        {"onto another, moving: one pixel forwards", 0.25, {0.5, 1.0}, {StripX(0.5)}, 0.5 + step},
        {"held still on it: backwards", 0.25, {0.5, 1.0}, {StripX(0.5), StripX(0.5)}, 0.5 - step},
        {"onto the one at 1: backwards", 0.25, {0.5, 1.0}, {900}, 1.0 - step},
        {"held at the start", 0.3, {0.5, 1.0}, {-900}, 0.0},
        {"onto the end with another a pixel before it: two back", 0.25, {1.0, 1.0 - step}, {900}, 1.0 - 2 * step},
        {"onto a run of three, moving: past the run", 0.25, {0.5, 0.5 + step, 0.5 + 2 * step}, {StripX(0.5)}, 0.5 + 3 * step},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto t = MakeColourTrack({{c.start, 200, 0, 0, 255}});
        CKivFXColor32KeyFrm* dragged = t->GetFXKeyFrm(0);
        for (double at : c.others) t->SendKeyFrmValue(at, 9, 9, 9, 255);
        Open(std::move(t), 0.0);
        Press(CPoint(StripX(c.start) + 1, kStripMiddle));
        ASSERT_EQ(dlg->GetDragKeyFrm(), dragged);
        EXPECT_EQ(Edits(), (std::vector<int>{200, 0, 0, 255})) << "the edits show the dragged keyframe";
        for (int x : c.moves) Move(CPoint(x, kStripMiddle));
        Release(CPoint(c.moves.back(), kStripMiddle));
        EXPECT_NEAR(dragged->Location, c.expected, 1e-9);
        EXPECT_EQ(dlg->GetDragKeyFrm(), nullptr);
        ASSERT_EQ(track->GetKeyFrmCount(), static_cast<int>(c.others.size()) + 1) << "nothing is dropped";
        for (int i = 1; i < track->GetKeyFrmCount(); ++i) EXPECT_LT(Key(i - 1)->Location, Key(i)->Location) << "distinct and sorted";
        EXPECT_EQ(host.modifies, (std::vector<ClrModify>{{1, 0}}));
        TearDown();
    }
}

TEST_F(ColourDialogTest, RightClickDeletesTheKeyframeUnderItOnly) {
    struct Case {
        CPoint point;
        int left;  // keyframes left afterwards
    };
    const Case cases[] = {
        {CPoint(StripX(0.25), kStripMiddle), 1},      // on the mark at 0.25
        {CPoint(StripX(0.25) + 3, kStripMiddle), 1},  // its edge
        {CPoint(StripX(0.4), kStripMiddle), 2},       // the strip between marks
        {CPoint(StripX(0.25), 250), 2},               // the colour bar above the mark
        {CPoint(50, 50), 2},                          // the colour field
    };
    for (const Case& c : cases) {
        Open(MakeColourTrack({{0.25, 10, 20, 30, 255}, {0.75, 50, 60, 70, 255}}), 0.25);
        Press(c.point, MK_RBUTTON);
        Release(c.point, MK_RBUTTON);
        EXPECT_EQ(track->GetKeyFrmCount(), c.left) << c.point.x << "," << c.point.y;
        if (c.left == 1) {
            EXPECT_EQ(Key(0)->Location, 0.75);
            EXPECT_EQ(host.modifies, (std::vector<ClrModify>{{1, 0}}));
            EXPECT_EQ(Edits(), (std::vector<int>{50, 60, 70, 255})) << "the colour now at the current location";
            EXPECT_EQ(dlg->GetAquaEdit(1005)->GetValueState(), CKivAquaEdit::CE_VALUE_NORMAL);
        } else {
            EXPECT_TRUE(host.modifies.empty());
        }
        TearDown();
    }
}

// ---- The host and the person at the same time ------------------------------------------

TEST_F(ColourDialogTest, ARightClickOnTheDraggedKeyframeLeavesIt) {
    Open(MakeColourTrack({{0.25, 10, 20, 30, 255}, {0.75, 50, 60, 70, 255}}), 0.0);
    const CPoint mark(StripX(0.25), kStripMiddle);
    Press(mark);
    Move(CPoint(StripX(0.4), kStripMiddle));
    const CPoint now(StripX(0.4), kStripMiddle);
    Press(now, MK_RBUTTON);
    Release(now, MK_RBUTTON);
    EXPECT_EQ(track->GetKeyFrmCount(), 2) << "the dragged keyframe stays";
    EXPECT_EQ(dlg->GetDragKeyFrm(), Key(0));
    Move(CPoint(StripX(0.5), kStripMiddle));
    Release(CPoint(StripX(0.5), kStripMiddle));
    EXPECT_DOUBLE_EQ(Key(0)->Location, 0.5);
    EXPECT_EQ(host.modifies, (std::vector<ClrModify>{{1, 0}}));

    // Another keyframe may go while one is dragged.
    Press(CPoint(StripX(0.5), kStripMiddle));
    Press(CPoint(StripX(0.75), kStripMiddle), MK_RBUTTON);
    Release(CPoint(StripX(0.75), kStripMiddle), MK_RBUTTON);
    EXPECT_EQ(track->GetKeyFrmCount(), 1);
    Move(CPoint(StripX(0.6), kStripMiddle));
    Release(CPoint(StripX(0.6), kStripMiddle));
    EXPECT_DOUBLE_EQ(Key(0)->Location, 0.6);
}

TEST_F(ColourDialogTest, WithoutATrackColourDragsWriteAndSendNothing) {
    Open(nullptr, 0.5);
    Drag(kFieldPoint, kFieldPoint);
    const tagCOLOR32 c = FieldColour(kFieldPoint);
    EXPECT_EQ(Edits(), (std::vector<int>{c.red, c.green, c.blue, 255})) << "the field still works";
    Drag(CPoint(275, 100), CPoint(275, 120));
    EXPECT_EQ(Edits()[3], static_cast<int>(110 / 225.0 * 255.0));
    Drag(CPoint(StripX(0.5), kStripMiddle), CPoint(StripX(0.2), kStripMiddle));
    EXPECT_DOUBLE_EQ(dlg->GetCurLocation(), static_cast<int>(kStripWidth * 0.2) / static_cast<double>(kStripWidth));
    Press(CPoint(StripX(0.2), kStripMiddle), MK_RBUTTON);
    Release(CPoint(StripX(0.2), kStripMiddle), MK_RBUTTON);
    dlg->RefurbishWindow();
    EXPECT_TRUE(host.modifies.empty());
}

