// kfx edit's host window on the headless screen: the keys, typed values through the host's
// numeric edits, undo and redo by snapshots restored into the track the editor holds, the
// unsaved mark, quitting that asks once, safe saving, and the layout following the screen.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "KfxColourDialogSlot.h"
#include "KfxCurveDialogSlot.h"
#include "KfxCurveSlot.h"
#include "KfxEditClipboard.h"
#include "KfxEditHost.h"
#include "KfxEditRecovery.h"
#include "KfxPositionDialogSlot.h"
#include "keyfrm/tracks/KivFXTracks.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/Screen.h"

#include <csignal>

namespace {

namespace fs = std::filesystem;

// The demo's curve: frames 0, 25, 60, 100, values 0..100, Bezier.
std::unique_ptr<CKivFXInsKeyFrmList> Curve() {
    auto t = std::make_unique<CKivFXInsKeyFrmList>();
    t->SetBaseOnFrame(1);
    t->InsMode = 1;
    t->MinValue = 0;
    t->MaxValue = 100;
    for (auto [f, v] : {std::pair{0, 0.0f}, {25, 80.0f}, {60, 20.0f}, {100, 100.0f}}) t->SendKeyFrmValue(f, v);
    return t;
}

class EditHost : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("kfx-edit-host-" + std::to_string(getpid()));
        fs::create_directories(m_dir);
        m_path = (m_dir / "project.kfa").string();
        m_doc = KfxEditDocument::New(KfxTrackKindId::scalar, m_path);
        *m_doc->Tracks()[0] = *Curve();
        // A position track too, to switch to.
        auto path = std::make_unique<CKivFXPosiKeyFrmList>();
        path->SendKeyFrmValue(0.5, 1.0f, 2.0f, 3.0f);
        m_doc->Objects().AddTail(static_cast<CObject*>(path.release()));
        m_doc = Reopen();
        KivScreen::Get().Resize(800, 500);
        m_host = std::make_unique<KfxEditHost>(*m_doc);
        ASSERT_TRUE(m_host->CreateOnScreen(0));
        KivScreen::Get().PaintAll();
    }
    void TearDown() override {
        m_host.reset();
        ReleaseCapture();
        KivScreen::Get().SetModifiers(0);
        fs::remove_all(m_dir);
    }
    // The two tracks saved and loaded back, as kfx edit opens a file.
    std::unique_ptr<KfxEditDocument> Reopen() {
        std::string why;
        EXPECT_TRUE(m_doc->Save(why)) << why;
        return KfxEditDocument::Open(m_path);
    }
    CKivFXInsKeyFrmList& Track() { return *static_cast<CKivFXInsKeyFrmList*>(m_doc->Tracks()[0]); }
    void Key(UINT vk, UINT modifiers = 0) {
        KivScreen& s = KivScreen::Get();
        s.SetModifiers(modifiers);
        s.KeyDown(vk);
        s.KeyUp(vk);
        s.SetModifiers(0);
    }
    void Type(const wchar_t* text) {
        CRect r;
        m_host->ValueEdit(0)->GetWindowRect(&r);
        KivScreen::Get().MouseDown(r.CenterPoint());
        KivScreen::Get().MouseUp(r.CenterPoint());
        for (const wchar_t* c = text; *c; ++c) KivScreen::Get().Char(*c);
        Key(VK_RETURN);
    }
    void Drag(CPoint from, CPoint to) {
        KivScreen& s = KivScreen::Get();
        s.MouseDown(from);
        s.MouseMove(CPoint((from.x + to.x) / 2, (from.y + to.y) / 2));
        s.MouseMove(to);
        s.MouseUp(to);
    }
    std::wstring Title() const {
        CString t;
        m_host->GetWindowText(t);
        return t.GetString();
    }

    fs::path m_dir;
    std::string m_path;
    std::unique_ptr<KfxEditDocument> m_doc;
    std::unique_ptr<KfxEditHost> m_host;
};

}  // namespace

TEST_F(EditHost, KeysMoveTheCurrentFrameWithinTheStory) {
    struct Case {
        std::vector<std::pair<UINT, UINT>> keys;
        int frame;
    };
    const Case cases[] = {
        {{{VK_RIGHT, 0}, {VK_RIGHT, 0}, {VK_RIGHT, 0}}, 3},
        {{{VK_RIGHT, MK_SHIFT}}, KfxEditHost::kBigStep},
        {{{VK_LEFT, 0}}, 0},
        {{{VK_END, 0}}, 100},
        {{{VK_END, 0}, {VK_RIGHT, MK_SHIFT}}, 100},
        {{{VK_END, 0}, {VK_HOME, 0}}, 0},
    };
    for (const Case& c : cases) {
        m_host->GoToFrame(0);
        for (auto [vk, mods] : c.keys) Key(vk, mods);
        EXPECT_EQ(m_host->Time().frame, c.frame);
        EXPECT_EQ(m_host->ValueEdit(0)->GetValue(), Track().InsValue(c.frame)) << "the value box follows the frame";
        const bool onKey = c.frame == 0 || c.frame == 100;
        EXPECT_EQ(m_host->ValueEdit(0)->GetValueState() == CKivAquaEdit::CE_VALUE_KEYFRAME, onKey) << c.frame;
    }
}

TEST_F(EditHost, ATypedValueSetsTheKeyframeAtTheCurrentFrameAndUndoRedoRestoreTheSameTrack) {
    CKivFXInsKeyFrmList* const track = &Track();
    Key(VK_RIGHT, MK_SHIFT);
    EXPECT_EQ(Title().rfind(L"*", 0), std::wstring::npos);
    Type(L"42");
    EXPECT_EQ(track->GetKeyFrmCount(), 5) << "a new keyframe at frame 10";
    EXPECT_EQ(track->InsValue(10), 42.0f);
    EXPECT_EQ(Title().rfind(L"*", 0), 0u) << "unsaved mark";
    EXPECT_NE(m_host->StatusText().find(L"on a keyframe"), std::wstring::npos);

    Key('Z', MK_CONTROL);
    EXPECT_EQ(&Track(), track) << "restored into the same object";
    EXPECT_EQ(track->GetKeyFrmCount(), 4);
    EXPECT_EQ(Title().rfind(L"*", 0), std::wstring::npos) << "back at the saved state";
    Key('Z', MK_CONTROL | MK_SHIFT);
    EXPECT_EQ(track->InsValue(10), 42.0f);
    Key('Z', MK_CONTROL);
    Key('Y', MK_CONTROL);
    EXPECT_EQ(track->InsValue(10), 42.0f) << "Ctrl+Y redoes too";
    EXPECT_EQ(m_host->History()->Size(), 2u);
}

TEST_F(EditHost, ADragIsOneUndoStepAndUndoWaitsForItsEnd) {
    const std::vector<CPoint> keys = m_host->Slot()->KeyFramePoints();
    ASSERT_EQ(keys.size(), 4u);
    const float before = Track().GetFXKeyFrm(1)->Value;
    KivScreen& s = KivScreen::Get();
    s.MouseDown(keys[1]);
    s.MouseMove(keys[1] + CPoint(0, 40));
    Key('Z', MK_CONTROL);
    EXPECT_TRUE(m_host->Slot()->IsBusy());
    EXPECT_NE(m_host->StatusText().find(L"finish the drag first"), std::wstring::npos);
    s.MouseMove(keys[1] + CPoint(0, 60));
    s.MouseUp(keys[1] + CPoint(0, 60));
    const float dropped = Track().GetFXKeyFrm(1)->Value;
    EXPECT_LT(dropped, before);
    EXPECT_EQ(m_host->History()->Size(), 2u) << "the moves of one drag are one step";

    s.MouseDown(keys[2]);
    s.MouseUp(keys[2]);
    EXPECT_EQ(m_host->History()->Size(), 2u) << "a click that moves nothing is no step";
    Key('Z', MK_CONTROL);
    EXPECT_EQ(Track().GetFXKeyFrm(1)->Value, before);
    Drag(m_host->Slot()->KeyFramePoints()[1], keys[1] + CPoint(0, 60));
    EXPECT_EQ(Track().GetFXKeyFrm(1)->Value, dropped) << "the editor drags the restored keyframes";
}

TEST_F(EditHost, QuittingAsksOnceWhenChangesAreUnsaved) {
    Key(VK_ESCAPE);
    EXPECT_TRUE(m_host->WantsToQuit()) << "nothing unsaved: at once";

    KfxEditHost again(*m_doc);
    m_host.reset();
    ASSERT_TRUE(again.CreateOnScreen(0));
    again.GoToFrame(50);
    again.ValueEdit(0)->SetValue(7, 1);
    EXPECT_TRUE(again.IsModified());
    again.SendMessage(WM_CLOSE);
    EXPECT_FALSE(again.WantsToQuit()) << "the first close only asks";
    EXPECT_NE(again.StatusText().find(L"UNSAVED"), std::wstring::npos);
    again.SendMessage(WM_CLOSE);
    EXPECT_TRUE(again.WantsToQuit());
}

TEST_F(EditHost, SavingWritesTheFilesOwnFormatAndClearsTheMark) {
    m_host->GoToFrame(30);
    Type(L"55");
    Key('S', MK_CONTROL);
    EXPECT_EQ(Title().rfind(L"*", 0), std::wstring::npos);
    EXPECT_NE(m_host->StatusText().find(L"saved"), std::wstring::npos);
    auto reread = KfxEditDocument::Open(m_path);
    ASSERT_EQ(reread->Tracks().size(), 2u);
    EXPECT_EQ(reread->Tracks()[0]->Compare(&Track()), 0);
    bool leftovers = false;
    for (const auto& e : fs::directory_iterator(m_dir)) leftovers |= e.path().filename() != "project.kfa";
    EXPECT_FALSE(leftovers) << "no temporary file stays beside it";
}

TEST_F(EditHost, TracksAreChosenFromTheListOrWithUpAndDown) {
    const CRect list = m_host->TrackListArea();
    KivScreen::Get().MouseDown(CPoint(list.left + 20, list.top + 2 * KfxTrackListPanel::kRowHeight + 5));
    EXPECT_EQ(m_host->CurrentTrack(), 1);
    EXPECT_EQ(m_host->ValueEditCount(), 0) << "the coordinate window shows X, Y and Z";
    auto* position = dynamic_cast<KfxPositionDialogSlot*>(m_host->Slot());
    ASSERT_NE(position, nullptr);
    EXPECT_EQ(position->Values().EditY().GetValue(), 2.0);
    Key(VK_UP);
    EXPECT_EQ(m_host->CurrentTrack(), 0);
    Key(VK_UP);
    EXPECT_EQ(m_host->CurrentTrack(), 0) << "nothing before the first";
}

TEST_F(EditHost, TheLayoutFollowsTheScreen) {
    KivScreen::Get().Resize(1000, 600);
    CRect dialog, curve;
    m_host->Slot()->Window()->GetWindowRect(&dialog);
    m_host->Slot()->MarksWindow()->GetWindowRect(&curve);
    CRect both;
    both.UnionRect(dialog, curve);
    EXPECT_EQ(both, m_host->EditorArea()) << "the dialog above, the curve window below";
    EXPECT_EQ(dialog.bottom, curve.top);
    EXPECT_EQ(both.right, 1000);
    EXPECT_EQ(both.bottom, 600 - KfxEditHost::kStatusHeight - KfxEditHost::kValueRowHeight);
    const std::vector<CPoint> keys = m_host->Slot()->KeyFramePoints();
    EXPECT_GT(keys.back().x, 900) << "the story still spans the width";
}

TEST(EditTime, FramesAndLocationsMapBothWays) {
    struct Case {
        int in, out, frame;
        double location;
    };
    for (const Case& c : {Case{0, 100, 25, 0.25}, Case{10, 20, 20, 1.0}, Case{5, 5, 5, 0.0}, Case{-50, 50, 0, 0.5}}) {
        KfxEditTime t{c.in, c.out, c.frame};
        EXPECT_EQ(t.Location(), c.location);
        if (c.out > c.in) {
            EXPECT_EQ(t.FrameOf(c.location), c.frame);
        }
    }
    auto curve = Curve();
    curve->GetFXKeyFrm(0)->Frame = -20;
    const KfxEditTime story = KfxStoryOf(*curve);
    EXPECT_EQ(story.storyIn, -20);
    EXPECT_EQ(story.storyOut, 100);
    CKivFXInsKeyFrmList one;
    one.SetBaseOnFrame(1);
    one.SendKeyFrmValue(7, 1.0f);
    EXPECT_EQ(KfxStoryOf(one).storyOut, 7 + KfxEditTime::kDefaultSpan) << "one keyframe: the default span from it";
}

TEST_F(EditHost, ADialogDragMovesAKeyframeInTimeAndItsFrameFollows) {
    auto* slot = dynamic_cast<KfxCurveDialogSlot*>(m_host->Slot());
    ASSERT_NE(slot, nullptr);
    CKivFXInsKeyFrmDlg& dialog = slot->Dialog();
    CKivFXValueKeyFrm* key = Track().GetFXKeyFrm(1);
    CPoint from = dialog.GetKeyFrmRect(key, 0).CenterPoint();
    dialog.ClientToScreen(&from);
    const int curveX = slot->KeyFramePoints()[1].x;
    const int right = dialog.FrameToPixelX(40) - dialog.FrameToPixelX(25);
    Drag(from, from + CPoint(right, 0));

    EXPECT_GT(key->Frame, 30) << "moved later";
    EXPECT_LT(key->Frame, 60) << "not past the next keyframe";
    EXPECT_EQ(key->Frame, m_host->Time().FrameOf(key->Location)) << "the Frame follows the Location the dialog set";
    EXPECT_GT(slot->KeyFramePoints()[1].x, curveX) << "the curve window shows the move";
    EXPECT_EQ(m_host->History()->Size(), 2u);
    Key('Z', MK_CONTROL);
    EXPECT_EQ(Track().GetFXKeyFrm(1)->Frame, 25);
    EXPECT_EQ(Track().GetFXKeyFrm(1)->Location, 0.25);
}

TEST_F(EditHost, EachEditorTakesATypedValueAsOneUndoStep) {
    struct Row {
        KfxTrackKindId kind;
        CKivAquaEdit* (*box)(KfxEditHost&);
    };
    const Row rows[] = {
        {KfxTrackKindId::scalar, [](KfxEditHost& h) { return h.ValueEdit(0); }},
        {KfxTrackKindId::position, [](KfxEditHost& h) { return &dynamic_cast<KfxPositionDialogSlot&>(*h.Slot()).Values().EditX(); }},
        {KfxTrackKindId::colour, [](KfxEditHost& h) { return dynamic_cast<KfxColourDialogSlot&>(*h.Slot()).Dialog().GetAquaEdit(1005); }},
    };
    m_host.reset();
    for (const Row& row : rows) {
        auto doc = KfxEditDocument::New(row.kind, (m_dir / "new.kfa").string());
        KfxEditHost host(*doc);
        ASSERT_TRUE(host.CreateOnScreen(0));
        KivScreen::Get().PaintAll();
        host.GoToFrame(50);
        CKivAquaEdit* box = row.box(host);
        ASSERT_NE(box, nullptr);
        CRect r;
        box->GetWindowRect(&r);
        KivScreen::Get().MouseDown(r.CenterPoint());
        KivScreen::Get().MouseUp(r.CenterPoint());
        for (const wchar_t* c = L"40"; *c; ++c) KivScreen::Get().Char(*c);
        Key(VK_RETURN);
        const int kind = static_cast<int>(row.kind);
        EXPECT_EQ(host.Track()->GetCount(), 1) << kind << ": a keyframe where the value was typed";
        EXPECT_EQ(host.History()->Size(), 2u) << kind;
        EXPECT_TRUE(host.IsModified()) << kind;
        Key('Z', MK_CONTROL);
        EXPECT_EQ(host.Track()->GetCount(), 0) << kind << ": undone";
    }
}

TEST(EditTime, TracksArePlacedOnTheStoryByWhatTheyArePlacedBy) {
    struct Case {
        bool byFrame;
        std::vector<int> frames;
        std::vector<double> locations;
        std::vector<int> wantFrames;
        std::vector<double> wantLocations;
    };
    const Case cases[] = {
        {true, {10, 20, 60}, {0.9, 0.1, 0.3}, {10, 20, 60}, {0.0, 0.2, 1.0}},
        {false, {7, 7, 7}, {0.0, 0.5, 1.0}, {0, 50, 100}, {0.0, 0.5, 1.0}},
    };
    for (const Case& c : cases) {
        CKivFXPosiKeyFrmList track;
        track.SetBaseOnFrame(c.byFrame);
        for (size_t i = 0; i < c.frames.size(); ++i) {
            auto k = std::make_unique<CKivFXPosiKeyFrm>();
            k->Frame = c.frames[i];
            k->Location = c.locations[i];
            track.AddTail(k.release());
        }
        const KfxEditTime time = KfxStoryOf(track);
        KfxPlaceOnStory(track, time);
        for (size_t i = 0; i < c.frames.size(); ++i) {
            EXPECT_EQ(track.GetFXKeyFrm(static_cast<int>(i))->Frame, c.wantFrames[i]) << c.byFrame << i;
            EXPECT_DOUBLE_EQ(track.GetFXKeyFrm(static_cast<int>(i))->Location, c.wantLocations[i]) << c.byFrame << i;
        }
        // A dialog moved the middle keyframe by location: its Frame follows.
        track.GetFXKeyFrm(1)->Location = time.LocationOf(c.wantFrames[0] + 1);
        KfxFramesFollowLocations(track, time);
        EXPECT_EQ(track.GetFXKeyFrm(1)->Frame, c.wantFrames[0] + 1);
    }
}

TEST_F(EditHost, KeysGoOnWorkingAfterATrackSwitchAndAfterEnter) {
    // A drag gives the curve window the keys; the switch destroys it.
    const std::vector<CPoint> keys = m_host->Slot()->KeyFramePoints();
    Drag(keys[1], keys[1] + CPoint(0, 30));
    Key(VK_DOWN);
    ASSERT_EQ(m_host->CurrentTrack(), 1);
    Key(VK_RIGHT);
    EXPECT_EQ(m_host->Time().frame, 1) << "Right after a switch by key";
    Key('S', MK_CONTROL);
    EXPECT_NE(m_host->StatusText().find(L"saved"), std::wstring::npos) << "Ctrl+S after a switch saves and says so";
    EXPECT_FALSE(m_host->IsModified());
    auto* position = dynamic_cast<KfxPositionDialogSlot*>(m_host->Slot());
    ASSERT_NE(position, nullptr);
    CRect x, y, z;
    position->Values().EditX().GetWindowRect(&x);
    position->Values().EditY().GetWindowRect(&y);
    position->Values().EditZ().GetWindowRect(&z);
    EXPECT_TRUE(x.left < y.left && y.left < z.left) << "X, Y, Z from left to right";

    Key(VK_UP);
    Type(L"12");
    const int frame = m_host->Time().frame;
    Key(VK_RIGHT);
    EXPECT_EQ(m_host->Time().frame, frame + 1) << "Enter gave the keys back to the window";
}

TEST_F(EditHost, OneHistoryUndoesTheLastChangeWhereverItWasAndShowsItsTrack) {
    m_host->GoToFrame(10);
    Type(L"42");
    Key(VK_DOWN);
    Key('Z', MK_CONTROL);
    EXPECT_EQ(m_host->CurrentTrack(), 0) << "undo shows the step's track";
    EXPECT_EQ(Track().GetKeyFrmCount(), 4);
    Key(VK_DOWN);
    Key('Y', MK_CONTROL);
    EXPECT_EQ(m_host->CurrentTrack(), 0) << "redo likewise";
    EXPECT_EQ(Track().InsValue(10), 42.0f);

    // The bound: the oldest steps go, and with them the saved state.
    KfxUndoHistory history(m_doc->Tracks(), 3);
    for (float v : {1.0f, 2.0f, 3.0f, 4.0f}) {
        Track().GetFXKeyFrm(0)->Value = v;
        EXPECT_TRUE(history.Commit(0));
    }
    EXPECT_EQ(history.Size(), 4u);
    while (history.Undo()) {
    }
    EXPECT_EQ(Track().GetFXKeyFrm(0)->Value, 1.0f) << "three steps back, not four";
    EXPECT_TRUE(history.IsModified()) << "the saved state was forgotten";
}

TEST_F(EditHost, PlayFollowsTheClockHomeRestartsAndTheTrackStaysAsItWas) {
    auto before = std::make_unique<CKivFXInsKeyFrmList>();
    *before = Track();
    const auto t0 = KfxEditHost::Clock::now();
    m_host->GoToFrame(10);
    m_host->TogglePlay(t0);
    m_host->Idle(t0 + std::chrono::milliseconds(1000));
    EXPECT_EQ(m_host->Time().frame, 10 + 25) << "25 frames a second from the current frame";
    Key(VK_HOME);
    EXPECT_EQ(m_host->Time().frame, 0);
    EXPECT_TRUE(m_host->IsPlaying()) << "Home during play goes on from story in";
    m_host->Idle(KfxEditHost::Clock::now() + std::chrono::seconds(60));
    EXPECT_EQ(m_host->Time().frame, 100);
    EXPECT_FALSE(m_host->IsPlaying()) << "stops at story out";
    m_host->SetFramesPerSecond(50);
    Key(VK_SPACE);
    EXPECT_EQ(m_host->Time().frame, 0) << "from story out it starts over";
    Key(VK_ESCAPE);
    EXPECT_FALSE(m_host->IsPlaying());
    EXPECT_FALSE(m_host->WantsToQuit()) << "Escape stops playing, it does not quit";
    EXPECT_EQ(Track().Compare(before.get()), 0);
    EXPECT_FALSE(m_host->IsModified());
}

TEST_F(EditHost, PastedKeyframesKeepSpacingReplaceOccupiedFramesAndOtherTextIsRefused) {
    Track().GetFXKeyFrm(1)->SetSelect(1);
    Track().GetFXKeyFrm(2)->SetSelect(1);
    Key('C', MK_CONTROL);
    Track().GetFXKeyFrm(1)->SetSelect(0);
    Track().GetFXKeyFrm(2)->SetSelect(0);
    m_host->GoToFrame(65);  // 25 and 60 land on 65 and 100 (occupied: replaced)
    Key('V', MK_CONTROL);
    ASSERT_EQ(Track().GetKeyFrmCount(), 5);
    const CKivFXValueKeyFrm* a = Track().GetFXKeyFrm(3);
    const CKivFXValueKeyFrm* b = Track().GetFXKeyFrm(4);
    EXPECT_EQ(a->Frame, 65);
    EXPECT_EQ(a->Value, 80.0f);
    EXPECT_EQ(b->Frame, 100);
    EXPECT_EQ(b->Value, 20.0f) << "the keyframe at 100 was replaced";
    EXPECT_EQ(b->PtAfter.ValueOffset, Track().GetFXKeyFrm(2)->PtAfter.ValueOffset) << "handles come along";
    EXPECT_EQ(m_host->History()->Size(), 2u) << "one undo step";

    Key(VK_DOWN);
    Key('V', MK_CONTROL);
    EXPECT_NE(m_host->StatusText().find(L"scalar track; this is a position track"), std::wstring::npos) << "another kind is refused";
    KivSetClipboardText("not keyframes");
    Key('V', MK_CONTROL);
    EXPECT_NE(m_host->StatusText().find(L"nothing pasted"), std::wstring::npos);
    EXPECT_EQ(m_host->History()->Size(), 2u);
}

TEST(EditClipboard, PastedHandlesKeepTheirShapeAcrossPlacementsAndColoursStayWithinTheStory) {
    // A handle a fifth of the way to the next keyframe, on a curve placed by frame over
    // frames 0..50 and on one placed by location over the default story (0..100 frames).
    CKivFXInsKeyFrmList byFrame, byLocation, another;
    byFrame.SetBaseOnFrame(1);
    for (int f : {0, 20, 50}) byFrame.SendKeyFrmValue(f, 1.0f);
    for (double l : {0.0, 0.2, 0.5}) byLocation.SendKeyFrmValue(l, 1.0f);
    for (double l : {0.0, 1.0}) another.SendKeyFrmValue(l, 1.0f);
    byFrame.GetFXKeyFrm(1)->PtAfter.PosOffset = 6.0;     // frames: (50 - 20) / 5
    byLocation.GetFXKeyFrm(1)->PtAfter.PosOffset = 0.06;  // location: (0.5 - 0.2) / 5
    for (CKivObList* t : {static_cast<CKivObList*>(&byFrame), static_cast<CKivObList*>(&byLocation), static_cast<CKivObList*>(&another)})
        KfxPlaceOnStory(*t, KfxStoryOf(*t));
    const struct {
        CKivFXInsKeyFrmList& from;
        CKivFXInsKeyFrmList& into;
        double offset;  // in the target's unit: a fifth of the pasted 30 frames' gap there
        int storyOut;   // the target's story when it is not its own (0)
    } cases[] = {
        {byFrame, byLocation, 30.0 / 100 / 5, 0},  // the location story: 100 frames
        {byLocation, byFrame, 30.0 / 5, 0},        // its own frames, not 0.06 nor 0.06 x 50
        {byLocation, another, 30.0 / 300 / 5, 300},  // placed by location too, over 300 frames
    };
    for (const auto& c : cases) {
        const std::string text = KfxKeyFramesText(c.from, {c.from.GetFXKeyFrm(1), c.from.GetFXKeyFrm(2)});
        KfxEditTime time = KfxStoryOf(c.into);
        if (c.storyOut) time.storyOut = c.storyOut;
        std::string why;
        ASSERT_EQ(KfxPasteKeyFramesText(c.into, text, time, why), 2) << why;
        EXPECT_NEAR(c.into.GetFXKeyFrm(0)->PtAfter.PosOffset, c.offset, 1e-9) << "pasted over the first keyframe";
    }

    CKivFXColor32KeyFrmList colours;
    for (double l : {0.0, 0.5, 1.0}) colours.SendKeyFrmValue(l, 0x11223344UL);
    const std::string text = KfxKeyFramesText(colours, {colours.GetFXKeyFrm(1), colours.GetFXKeyFrm(2)});
    KfxEditTime time = KfxStoryOf(colours);
    time.MoveTo(70);  // 0.5 and 1 would land on 0.7 and 1.2
    std::string why;
    EXPECT_EQ(KfxPasteKeyFramesText(colours, text, time, why), 0);
    EXPECT_NE(why.find("1 of the 2 keyframes would land past the story's end"), std::string::npos) << why;
    EXPECT_EQ(colours.GetKeyFrmCount(), 3) << "refused whole: nothing piled on the end";
    time.MoveTo(50);
    EXPECT_EQ(KfxPasteKeyFramesText(colours, text, time, why), 2) << "landing exactly on the end is fine";
    EXPECT_EQ(colours.GetKeyFrmCount(), 3) << "spaced by location (a colour keyframe's Frame says nothing): 0.5 and 1 replaced";
}

TEST_F(EditHost, EasingKeysShapeTheHandlesOfTheKeyframeAtTheCurrentFrame) {
    m_host->GoToFrame(25);
    Track().InsMode = 0;
    Key('2');  // ease in: the handle toward the previous keyframe flat
    const CKivFXValueKeyFrm* k = Track().GetFXKeyFrm(1);
    EXPECT_EQ(Track().InsMode, 1) << "Bezier, so the handles count";
    EXPECT_EQ(k->PtFore.ValueOffset, 0.0f);
    EXPECT_DOUBLE_EQ(k->PtFore.PosOffset, -25.0 / 3);
    EXPECT_FLOAT_EQ(k->PtAfter.ValueOffset, (20.0f - 80.0f) / 3);
    Key('3');  // ease out: the other side
    EXPECT_FLOAT_EQ(k->PtFore.ValueOffset, (0.0f - 80.0f) / 3);
    EXPECT_EQ(k->PtAfter.ValueOffset, 0.0f);
    EXPECT_EQ(m_host->History()->Size(), 3u) << "one step each";

    CKivFXPosiKeyFrmList path;
    for (auto [f, x] : {std::pair{0, 0.0f}, {10, 30.0f}, {20, 90.0f}}) path.SendKeyFrmValue(f, x, 0.0f, 0.0f);
    const KfxEditTime time{0, 20, 10};
    EXPECT_EQ(KfxApplyEasing(path, KfxChosenKeyFrames(path, time), KfxEasing::linear), 1);
    EXPECT_FLOAT_EQ(path.GetFXKeyFrm(1)->Fore.X, -10.0f);
    EXPECT_FLOAT_EQ(path.GetFXKeyFrm(1)->After.X, 20.0f);
}

TEST_F(EditHost, TheWheelZoomsTheCurveWindowAroundThePointerAndShiftScrollsIt) {
    auto* curve = dynamic_cast<KfxCurveSlot*>(m_host->Slot());
    ASSERT_NE(curve, nullptr);
    const CPoint at = m_host->Slot()->KeyFramePoints()[2];
    const double scale = curve->PixelsPerFrame();
    KivScreen::Get().MouseWheel(at, 2 * WHEEL_DELTA);
    EXPECT_DOUBLE_EQ(curve->PixelsPerFrame(), scale * 1.25 * 1.25);
    EXPECT_LE(std::abs(m_host->Slot()->KeyFramePoints()[2].x - at.x), curve->PixelsPerFrame()) << "within a frame of the pointer";
    const long scroll = curve->ScrollFrame();
    KivScreen::Get().SetModifiers(MK_SHIFT);
    KivScreen::Get().MouseWheel(at, -WHEEL_DELTA);
    KivScreen::Get().SetModifiers(0);
    EXPECT_GT(curve->ScrollFrame(), scroll) << "toward the person: later frames";
    EXPECT_EQ(KivScreen::Get().CursorAt(at + CPoint(40, 0)), KivCursor::arrow);
    EXPECT_EQ(KivScreen::Get().CursorAt(m_host->Slot()->KeyFramePoints()[2]), KivCursor::move);
    CRect box;
    m_host->ValueEdit(0)->GetWindowRect(&box);
    EXPECT_EQ(KivScreen::Get().CursorAt(box.CenterPoint()), KivCursor::text);
}

TEST_F(EditHost, ASignalWritesTheUnsavedTrackToARecoveryFileTheNextOpenOffers) {
    m_host->GoToFrame(30);
    Type(L"55");
    KfxNoteEndSignal(SIGTERM);
    m_host->Idle();
    KfxNoteEndSignal(0);
    EXPECT_TRUE(m_host->WantsToQuit());
    EXPECT_EQ(m_host->EndSignal(), SIGTERM);
    const std::string recovery = KfxRecoveryPath(m_path);
    EXPECT_EQ(recovery, (m_dir / "project.recovery.kfa").string());
    ASSERT_TRUE(fs::exists(recovery));
    m_host.reset();

    auto doc = KfxEditDocument::Open(m_path);
    {
        KfxEditHost again(*doc);
        ASSERT_TRUE(again.CreateOnScreen(0));
        EXPECT_TRUE(again.IsRecoveryOffered());
        EXPECT_NE(again.StatusText().find(L"A RECOVERY FILE"), std::wstring::npos);
        EXPECT_NE(doc->Tracks()[0]->Compare(&Track()), 0) << "never restored silently";
        Key('R');
        EXPECT_EQ(doc->Tracks()[0]->Compare(&Track()), 0);
        EXPECT_TRUE(again.IsModified());
        Key('Z', MK_CONTROL);
        EXPECT_FALSE(again.IsModified()) << "the restore is an undo step";
        Key('Y', MK_CONTROL);
        Key('S', MK_CONTROL);
        EXPECT_FALSE(fs::exists(recovery)) << "a save removes it";
    }

    // One older than the file (the file saved since by other means) is offered as well, and
    // stays until the person discards it.
    fs::copy_file(m_path, recovery);
    fs::last_write_time(recovery, fs::last_write_time(m_path) - std::chrono::hours(1));
    KfxEditHost stale(*doc);
    ASSERT_TRUE(stale.CreateOnScreen(0));
    EXPECT_TRUE(stale.IsRecoveryOffered());
    EXPECT_NE(stale.StatusText().find(L"OLDER RECOVERY FILE"), std::wstring::npos);
    Key('D');
    EXPECT_FALSE(fs::exists(recovery));
    EXPECT_FALSE(stale.IsRecoveryOffered());
}
