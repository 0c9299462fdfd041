// The pieces the keyframe dialogs share: the story range and its locations, the rule that
// steps a dragged keyframe off others by the track's own key, the margin limits, the frame scale, the menu
// blocks and the message to the parent.
#include <climits>
#include <cmath>
#include <type_traits>

#include "keyfrm/editors/KivFXCurveNotes.h"
#include "keyfrm/editors/KivFXDialogParts.h"
#include "keyfrm/editors/KivFXEditorMenu.h"
#include "keyfrm/editors/KivFXEditorParent.h"
#include "keyfrm/editors/KivFXEditorResources.h"
#include "keyfrm/editors/KivFXTimeStrip.h"
#include "keyfrm/tracks/CKivFXInsKeyFrmList.h"
#include "keyfrm/tracks/CKivFXPosiKeyFrmList.h"
#include "platform/ui/UiTestSupport.h"

namespace {

using Ids = std::vector<UINT>;

Ids IdsOf(const CMenu& menu) {
    Ids ids;
    for (int i = 0; i < menu.GetMenuItemCount(); ++i) ids.push_back(menu.GetMenuItemID(i));
    return ids;
}

Ids CheckedOf(const CMenu& menu) {
    Ids ids;
    for (int i = 0; i < menu.GetMenuItemCount(); ++i)
        if (menu.GetMenuState(static_cast<UINT>(i), MF_BYPOSITION) & MF_CHECKED) ids.push_back(menu.GetMenuItemID(i));
    return ids;
}

}  // namespace

TEST(StoryRange, LocationsAndFramesMapBothWays) {
    struct Case {
        int in, out, frame;
        double location;  // GetLocation(frame)
        double back;      // a location to map to a frame
        int backFrame;
    };
    const Case cases[] = {
        {0, 100, 25, 0.25, 0.254, 25},
        {10, 20, 15, 0.5, 0.96, 20},                 // 9.6 + 0.5 truncated
        {-50, 50, -50, 0.0, -0.2, -69},              // -20 + 0.5 truncated toward zero: -19
        {7, 7, 100, 0.0, 0.5, 7},                    // one frame: every location is 0
        {20, 10, 15, 0.0, 1.0, 11},                  // out below in: -10 + 0.5 truncated
        {INT_MIN, INT_MAX, 0, 0.5, 2.0, INT_MAX},    // saturated, no overflow
        {0, 100, 0, 0.0, std::nan(""), 0},           // NaN gives story in
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.in << ".." << c.out);
        const KivFXStoryRange r{c.in, c.out};
        EXPECT_NEAR(r.GetLocation(c.frame), c.location, 1e-9);
        EXPECT_EQ(r.GetSBFrame(c.back), c.backFrame);
        EXPECT_GE(r.SpanFrames(), 1.0) << "never a zero or negative span";
        EXPECT_TRUE(std::isfinite(r.FrameStep()));
    }
    EXPECT_EQ(KivFXStoryRange({0, 99}).FrameStep(), 0.01f);
    EXPECT_EQ(KivFXStoryRange({5, 3}).Clamp(4), 3) << "the upper bound wins when reversed";
    EXPECT_EQ(KivFXStoryRange({0, 9}).Clamp(-4), 0);
}

TEST(DraggedKeyFrame, StepsOffAnotherKeyframeAndKeepsTheTrackSorted) {
    struct Case {
        const char* what;
        double to;
        bool still;
        double expected;
    };
    constexpr float s = 0.1f;
    const Case cases[] = {
        {"a free place", 0.3, false, 0.3},
        {"onto a keyframe, moving: forwards", 0.5, false, 0.5 + s},
        {"onto a keyframe, not moving: backwards", 0.5, true, 0.5 - s},
        {"within the tolerance counts as onto it", 0.5004, false, 0.5004 + s},
        {"just beyond the tolerance: left there", 0.5011, false, 0.5011},
        {"at location 1, moving: backwards", 1.0, false, 1.0 - s},
        {"onto the first keyframe, moving: forwards", 0.0, false, static_cast<double>(s)},
        {"at location 0, not moving: forwards, never before the story", 0.0, true, static_cast<double>(s)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CKivFXInsKeyFrmList track;
        for (double at : {0.0, 0.5, 1.0}) track.SendKeyFrmValue(at, 1.0f);
        CKivFXValueKeyFrm* dragged = track.SendKeyFrmValue(0.25, 2.0f);
        KivFXPlaceDraggedKF(&track, dragged, c.to, s, c.still);
        EXPECT_EQ(dragged->Location, c.expected);
        for (int i = 1; i < track.GetKeyFrmCount(); ++i)
            EXPECT_LE(track.GetFXKeyFrm(i - 1)->Location, track.GetFXKeyFrm(i)->Location) << "re-sorted";
    }
    CKivFXInsKeyFrmList track;
    KivFXPlaceDraggedKF(&track, nullptr, 0.5, s, false);
    KivFXPlaceDraggedKF(nullptr, track.SendKeyFrmValue(0.5, 1.0f), 0.7, s, false);
    EXPECT_EQ(track.GetFXKeyFrm(0)->Location, 0.5) << "nothing without a track";
    // The step alone says whether it moved; a step past an end stops at that end.
    CKivFXValueKeyFrm* nearEnd = track.SendKeyFrmValue(0.9955, 1.0f);
    track.SendKeyFrmValue(0.995, 1.0f);
    EXPECT_TRUE(KivFXStepOffOverlap(&track, nearEnd, 0.01f, false));
    EXPECT_EQ(nearEnd->Location, 1.0);
    EXPECT_FALSE(KivFXStepOffOverlap(&track, nearEnd, 0.01f, false)) << "a free place: no move";
    for (const float bad : {0.0f, -0.01f, NAN, INFINITY}) {
        nearEnd->Location = 0.5004;
        EXPECT_FALSE(KivFXStepOffOverlap(&track, nearEnd, bad, false)) << bad;
        EXPECT_EQ(nearEnd->Location, 0.5004);
    }
    EXPECT_FALSE(KivFXStepOffOverlap(nullptr, nearEnd, 0.01f, false));
}

namespace {

// A keyframe at frame f of the story, placed by both keys as a host places a track.
template <class Track>
auto* AddPlaced(Track& track, const KivFXStoryRange& range, int f) {
    auto* k = new typename std::remove_pointer_t<decltype(track.GetFXKeyFrm(0))>();
    k->Frame = f;
    k->Location = range.GetLocation(f);
    track.AddTail(k);
    KivFXKeyFrmTaxisList(&track);
    return k;
}

// The curve and position dialogs' drag on a scalar or position track placed by frame or by
// location: the keyframe lands on the nearest free place in the track's own key, and both of
// its keys move together.
template <class Track>
void CheckDragsToFreePlaces(bool byFrame) {
    struct Case {
        const char* what;
        int to;
        bool still;
        int steps;  // from the frame dragged to, in frames or one frame's worth of location
    };
    const Case cases[] = {
        {"a free frame", 20, false, 0},
        {"onto another, moving: the next frame on", 10, false, 1},
        {"onto another, held still: the frame before", 10, true, -1},
        {"onto a run of three, moving: past the run", 40, false, 3},
        {"into a run of three, held still: before it", 41, true, -2},
        {"at story out onto the last: back", 99, false, -1},
        {"at story in onto the first, held still: on, never before the story", 0, true, 1},
    };
    const KivFXStoryRange range{0, 99};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.what << (byFrame ? ", placed by frame" : ", placed by location"));
        Track track;
        track.SetBaseOnFrame(byFrame);
        for (int f : {0, 10, 40, 41, 42, 99}) AddPlaced(track, range, f);
        auto* dragged = AddPlaced(track, range, 70);
        KivFXPlaceDraggedKF(&track, dragged, c.to, range, c.still);
        if (byFrame) {
            EXPECT_EQ(dragged->Frame, c.to + c.steps) << "the key the track sorts by moves";
            EXPECT_EQ(dragged->Location, range.GetLocation(dragged->Frame)) << "where the dialog draws it";
        } else {
            EXPECT_NEAR(dragged->Location, range.GetLocation(c.to) + c.steps * static_cast<double>(range.FrameStep()), 1e-12);
        }
        EXPECT_EQ(KivFXKeyFrmIsOverlapKF(&track, dragged, kKivFXDragOverlapTolerance), 0) << "on no other keyframe";
        EXPECT_EQ(KivFXKeyFrmTaxisList(&track), 0) << "the track was left sorted";
    }
}

}  // namespace

TEST(DraggedKeyFrame, LandsOnTheNearestFreePlaceInTheTracksOwnKey) {
    for (bool byFrame : {true, false}) {
        CheckDragsToFreePlaces<CKivFXInsKeyFrmList>(byFrame);
        CheckDragsToFreePlaces<CKivFXPosiKeyFrmList>(byFrame);
    }
    // A story whose every frame is taken: the keyframe stays where it was.
    const KivFXStoryRange range{0, 1};
    CKivFXInsKeyFrmList track;
    track.SetBaseOnFrame(1);
    for (int f : {0, 1}) AddPlaced(track, range, f);
    CKivFXValueKeyFrm* outside = AddPlaced(track, range, 5);
    KivFXPlaceDraggedKF(&track, outside, 0, range, false);
    EXPECT_EQ(outside->Frame, 5);
    EXPECT_EQ(outside->Location, range.GetLocation(5));
}

TEST(DialogMargins, RaisedToTheMinimumThenLimitedByHalfTheClient) {
    struct Case {
        UINT margin, minimum;
        int extent;
        UINT expected;
    };
    const Case cases[] = {
        {15, 15, 800, 15}, {3, 15, 800, 15}, {500, 15, 800, 370}, {30, 15, 100, 20},
        {45, 15, 59, 45},  // 29 - 30 is negative: the unsigned limit leaves the margin
        {1, 5, 0, 5},      {400, 15, 61, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KivFXClampMargin(c.margin, c.minimum, c.extent), c.expected) << c.margin << " in " << c.extent;
}

TEST(FrameScale, StepAndTicks) {
    EXPECT_EQ(KivFXScaleStep(0.05f), 1);
    EXPECT_EQ(KivFXScaleStep(0.5f), 3);
    EXPECT_EQ(KivFXScaleStep(2.0f), 10);
    EXPECT_EQ(KivFXScaleStep(-3.0f), 1);
    EXPECT_EQ(KivFXScaleStep(INFINITY), INT_MAX);

    // Frames 0..25 one pixel apart at x = frame + 10, step 1, baseline 40: ticks of 8 at
    // 0, 10, 20 and 25, of 5 at 5 and 15, of 2 elsewhere.
    MemCanvas canvas(60, 50);
    CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
    canvas.dc.SelectObject(&pen);
    KivFXFrameScaleLook look;
    look.labelTop = look.labelBottom = 40;  // labels out of the way
    KivFXDrawFrameScale(canvas.dc, KivFXStoryRange{0, 25}, 1, 40, look, [](int f) { return f + 10; });
    auto height = [&](int frame) {
        int h = 0;
        while (canvas.dc.GetPixel(frame + 10, 40 - h) == RGB(0, 0, 0)) ++h;
        return h;
    };
    for (int f = 0; f <= 25; ++f) {
        const int expected = f % 10 == 0 || f == 25 ? 8 : f % 5 == 0 ? 5 : 2;
        EXPECT_EQ(height(f), expected) << "frame " << f;
    }
}

class EditorMenuBlocks : public UiTest {};

TEST_F(EditorMenuBlocks, EachBlockOffersWhatTheStateAllows) {
    struct Case {
        const char* what;
        std::function<void(CKivFXEditorMenu&)> build;
        Ids ids;
        Ids checked;
    };
    const Case cases[] = {
        {"frame inside", [](auto& m) { m.AppendFrameItems(5, 0, 9); },
         {ID_MENU_TO_START, ID_MENU_TO_TAIL, ID_MENU_FORWARD_ONE_FRAME, ID_MENU_BACK_ONE_FRAME, 0}, {}},
        {"frame at in", [](auto& m) { m.AppendFrameItems(0, 0, 9); }, {ID_MENU_TO_TAIL, ID_MENU_BACK_ONE_FRAME, 0}, {}},
        {"frame at out", [](auto& m) { m.AppendFrameItems(9, 0, 9); }, {ID_MENU_TO_START, ID_MENU_FORWARD_ONE_FRAME, 0}, {}},
        {"one-frame range", [](auto& m) { m.AppendFrameItems(3, 3, 3); }, {0}, {}},
        {"keys, none here, one selected", [](auto& m) { m.AppendKeyFrameItems(false, true, 2); },
         {ID_MENU_ADD_KF, ID_MENU_DEL_SEL_KF, ID_MENU_DEL_ALL_KF, 0}, {}},
        {"keys, one here", [](auto& m) { m.AppendKeyFrameItems(true, false, 2); }, {ID_MENU_DEL_ALL_KF, 0}, {}},
        {"no keys", [](auto& m) { m.AppendKeyFrameItems(false, false, 0); }, {ID_MENU_ADD_KF, 0}, {}},
        {"no keys and none to add", [](auto& m) { m.AppendKeyFrameItems(true, false, 0); }, {}, {}},
        {"linear", [](auto& m) { m.AppendInsModeItems(0, 1); }, {ID_MENU_INS_LINE_MODE, ID_MENU_INS_BEZIER_MODE},
         {ID_MENU_INS_LINE_MODE}},
        {"Bezier, linkage", [](auto& m) { m.AppendInsModeItems(1, 1); },
         {ID_MENU_INS_LINE_MODE, ID_MENU_INS_BEZIER_MODE, 0, ID_MENU_INS_NONE_CTRL, ID_MENU_INS_LINKAGE_CTRL,
          ID_MENU_INS_SYMMETRY_CTRL},
         {ID_MENU_INS_BEZIER_MODE, ID_MENU_INS_LINKAGE_CTRL}},
        {"an unknown kind", [](auto& m) { m.AppendInsModeItems(4, 0); }, {}, {}},
        {"zoom", [](auto& m) { m.AppendZoomItems(false, true); }, {ID_MENU_SHOW_ZOOM_IN, ID_MENU_SHOW_RECOVER}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CKivFXEditorMenu menu;
        ASSERT_TRUE(menu.IsValid());
        c.build(menu);
        EXPECT_EQ(IdsOf(menu.Menu()), c.ids);
        EXPECT_EQ(CheckedOf(menu.Menu()), c.checked);
    }
    CKivFXEditorMenu menu;
    menu.Item(ID_MENU_ADD_KF);
    CString text;
    menu.Menu().GetMenuString(0, text, MF_BYPOSITION);
    EXPECT_EQ(text, CString(L"Add Key Frame")) << "the library's string table gives the text";
}

TEST_F(EditorMenuBlocks, TrackShowsAtTheClickAndTheChoiceReachesTheOwner) {
    RecordingWnd owner;
    ASSERT_TRUE(owner.CreateTop(CRect(30, 40, 130, 140)));
    CPoint shownAt;
    KivSetPopupMenuHandler([&](const CMenu&, CPoint pt) {
        shownAt = pt;
        return ID_MENU_ADD_KF;
    });
    CKivFXEditorMenu menu;
    menu.Item(ID_MENU_ADD_KF);
    menu.Track(owner, CPoint(5, 6));
    EXPECT_EQ(shownAt, CPoint(35, 46));
    const RecordedMessage* command = owner.Last(WM_COMMAND);
    ASSERT_NE(command, nullptr);
    EXPECT_EQ(LOWORD(command->wParam), ID_MENU_ADD_KF);
    EXPECT_FALSE(menu.IsValid()) << "destroyed after tracking";
}

namespace {

// Destroys the editor it is told about while handling any message above WM_USER.
class DestroyingParent : public RecordingWnd {
public:
    CWnd* victim = nullptr;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg >= WM_USER && victim) victim->DestroyWindow();
        return RecordingWnd::WindowProc(msg, wParam, lParam);
    }
};

struct Record {
    int a;
    double b;
};

}  // namespace

TEST_F(EditorMenuBlocks, MessagesGoToTheParentOnlyWhenThereIsOne) {
    constexpr UINT kMsg = WM_USER + 5;
    RecordingWnd orphan;
    ASSERT_TRUE(orphan.CreateTop(CRect(0, 0, 10, 10)));
    EXPECT_TRUE(KivFXSendToParent(orphan, kMsg, 1, 2)) << "no parent: nothing sent, the editor lives on";
    CWnd none;
    EXPECT_FALSE(KivFXSendToParent(none, kMsg, 1, 2)) << "no window";

    DestroyingParent parent;
    ASSERT_TRUE(parent.CreateTop(CRect(0, 0, 50, 50)));
    RecordingWnd editor;
    ASSERT_TRUE(editor.CreateChild(&parent, CRect(0, 0, 20, 20)));
    const Record record{7, 2.5};
    LPARAM seen = 0;
    EXPECT_TRUE(KivFXSendToParent(editor, 0, 0, 0)) << "an unregistered id sends nothing";
    EXPECT_TRUE(KivFXSendRecordToParent(editor, kMsg, record));
    seen = parent.Last(kMsg)->lParam;
    EXPECT_EQ(seen, reinterpret_cast<LPARAM>(&record));
    EXPECT_EQ(parent.Last(kMsg)->wParam, 0u);
    parent.victim = &editor;
    EXPECT_FALSE(KivFXSendToParent(editor, kMsg, 0, 0)) << "the parent destroyed the editor";
}

TEST_F(EditorMenuBlocks, DialogPartsLoadTheMarkerAndMakeAHiddenTip) {
    KivFXDialogParts parts;
    EXPECT_NE(parts.font.m_hObject, nullptr);
    EXPECT_EQ(parts.MarkerSize(), CSize(0, 0));
    ASSERT_EQ(parts.LoadMarker(), 1);
    EXPECT_EQ(parts.MarkerSize(), CSize(15, 10));
    RecordingWnd dialog;
    ASSERT_TRUE(dialog.CreateTop(CRect(0, 0, 100, 100)));
    parts.CreateToolTip(dialog);
    ASSERT_NE(parts.toolTip.m_hWnd, nullptr);
    EXPECT_FALSE(parts.toolTip.IsWindowVisible());
    EXPECT_EQ(parts.toolTip.GetParent(), &dialog) << "owned by the dialog";
}

TEST(CurveNotes, WhichHandlesAKeyframeShows) {
    struct Case {
        int index, count, insMode, kind;
        bool fore, after;
    };
    const Case cases[] = {
        {0, 3, 1, kKivFXNoteHead, false, true},  {1, 3, 1, kKivFXNoteInner, true, true},
        {2, 3, 1, kKivFXNoteTail, true, false},  {0, 1, 1, kKivFXNoteNoHandles, false, false},
        {1, 3, 0, kKivFXNoteNoHandles, false, false}, {1, 3, 5, kKivFXNoteInner, true, true},  // any nonzero kind is Bezier
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.index << " of " << c.count << ", kind " << c.insMode);
        EXPECT_EQ(KivFXNoteKind(c.index, c.count, c.insMode), c.kind);
        EXPECT_TRUE(KivFXPartShown(c.index, c.count, kKivFXPartKeyFrm, c.insMode));
        EXPECT_EQ(KivFXPartShown(c.index, c.count, kKivFXPartForePt, c.insMode), c.fore);
        EXPECT_EQ(KivFXPartShown(c.index, c.count, kKivFXPartAfterPt, c.insMode), c.after);
    }
}
