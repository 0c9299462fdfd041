// What every editor's drag does alike, one table over the four editors driven through the
// screen's mouse as a host's user would. A keyframe that leaves the track (or a track
// replaced) ends the drag quietly, with nothing more told, the capture released and the
// picture a full repaint gives; a host may close the editor when told, also one whose window
// deletes itself when destroyed (run this under ASan and UBSan); a press, or a click off
// every keyframe, repaints the selection it clears; a handle takes the pointer's place, keeps
// its side, and the opposite one follows the track's coupling; on a range as wide as the
// floats nothing non-finite is stored or told.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ColourDialogTestSupport.h"
#include "CurveDialogTestSupport.h"
#include "CurveWindowTestSupport.h"
#include "PosiDialogTestSupport.h"
#include "ScreenPictureSupport.h"
#include "platform/ui/WeakWnd.h"

namespace {

/// An editor as a host that deletes it when its window goes has it.
template <class Editor>
class SelfDeleting : public Editor {
public:
    using Editor::Editor;

protected:
    void PostNcDestroy() override { delete this; }
};

/// One editor on a host, with a track of three keyframes; the middle one is grabbed.
class Rig {
public:
    virtual ~Rig() = default;
    /// ctrlMode < 0: a linear track; else a Bezier track whose middle keyframe has both
    /// handles, coupled so.
    virtual void Open(bool selfDeleting, int ctrlMode) = 0;
    virtual CWnd& Editor() = 0;
    virtual bool Dragging() = 0;
    /// Where a part of the middle keyframe is drawn, on the screen (the colour dialog: its mark).
    virtual CPoint Part(int part) = 0;
    CPoint Grab() { return Part(kKivFXPartKeyFrm); }
    /// A handle's offsets, the time offset first where handles lie in time; none without handles.
    virtual std::vector<double> Offsets(int) { return {}; }
    virtual bool HandlesInTime() const { return true; }
    /// A point on no part of any keyframe; none for the colour dialog, where every click acts.
    virtual std::optional<CPoint> Nowhere() { return std::nullopt; }
    virtual void RemoveGrabbed() = 0;
    /// Attaches a copy of the track, and whether that copy is as it came (unselected, unmoved).
    virtual void AttachAnother() = 0;
    virtual bool AnotherUndisturbed() = 0;
    virtual void SelectFirst() = 0;
    virtual bool FirstSelected() = 0;
    virtual size_t Told() const = 0;
    virtual void WhenTold(std::function<void()> f) = 0;
    /// Something outside a drag that the host is told of; false where the editor has none.
    virtual bool Command() = 0;
    virtual void Close() = 0;
    /// Widens the track's range to the floats' own and says where the plot lies on the screen;
    /// none where the editor has no range.
    virtual std::optional<CRect> Widen() { return std::nullopt; }
    /// Every number the keyframes hold and the host was told.
    virtual std::vector<double> Stored() { return {}; }
};

template <class Host, class Ed, class Track>
class RigOf : public Rig {
public:
    void Open(bool selfDeleting, int ctrlMode) override {
        track = Fresh(ctrlMode);
        Show(selfDeleting);
        alive = std::make_unique<KivWeakWnd>(*editor);
        KivScreen::Get().PaintAll();
        host.modifies.clear();
    }
    CWnd& Editor() override { return *editor; }
    bool Dragging() override { return editor->IsDragging(); }
    CPoint Part(int part) override {
        CRect r;
        if constexpr (requires(Ed& e) { e.GetKeyFrmRect(nullptr, 0); }) r = editor->GetKeyFrmRect(track->GetFXKeyFrm(1), part);
        return OnScreen(CPoint(r.left + 2, r.top + 2));
    }
    size_t Told() const override { return host.modifies.size(); }
    void WhenTold(std::function<void()> f) override {
        if (f)
            host.onModify = [f](auto&&...) { f(); };
        else
            host.onModify = nullptr;
    }
    void RemoveGrabbed() override { track->DeleteKeyFrm(track->GetFXKeyFrm(1)); }
    bool AnotherUndisturbed() override {
        for (int i = 0; i < other->GetKeyFrmCount(); ++i)
            if (other->GetFXKeyFrm(i)->IsSelect() || other->GetFXKeyFrm(i)->Location != otherLocations[static_cast<size_t>(i)])
                return false;
        return true;
    }
    void SelectFirst() override { track->GetFXKeyFrm(0)->SetSelect(1); }
    bool FirstSelected() override { return track->GetFXKeyFrm(0)->IsSelect(); }
    bool Command() override {
        editor->SendMessage(WM_COMMAND, ID_MENU_DEL_ALL_KF, 0);
        return true;
    }
    void Close() override {
        WhenTold(nullptr);
        if (editor && alive && *alive) editor->DestroyWindow();
        owned.reset();
        editor = nullptr;
        host.DestroyWindow();
    }
    std::vector<double> Stored() override {
        std::vector<double> v;
        for (int i = 0; i < track->GetKeyFrmCount(); ++i) {
            const auto* k = track->GetFXKeyFrm(i);
            if constexpr (requires { k->PtFore; })
                v.insert(v.end(), {k->Value, k->PtFore.PosOffset, k->PtFore.ValueOffset, k->PtAfter.PosOffset, k->PtAfter.ValueOffset});
            if constexpr (requires { k->Fore; }) v.insert(v.end(), {k->PosiX, k->PosiY, k->Fore.X, k->Fore.Y, k->After.X, k->After.Y});
        }
        for (const auto& m : host.modifies) {
            if constexpr (requires { m.fValue; }) v.push_back(m.fValue);
            if constexpr (requires { m.fX; }) v.insert(v.end(), {m.fX, m.fY});
        }
        return v;
    }

protected:
    virtual std::unique_ptr<Track> Fresh(int ctrlMode) = 0;
    /// Makes the editor on the track and shows it on the host.
    virtual void Show(bool selfDeleting) = 0;
    /// Makes the editor (owned here, or deleting itself) before its window is created.
    template <class... Args>
    void Make(bool selfDeleting, Args&&... args) {
        if (selfDeleting) {
            editor = new SelfDeleting<Ed>(std::forward<Args>(args)...);
        } else {
            owned = std::make_unique<Ed>(std::forward<Args>(args)...);
            editor = owned.get();
        }
    }
    CPoint OnScreen(CPoint client) const {
        editor->ClientToScreen(&client);
        return client;
    }
    CRect OnScreen(CRect client) const {
        editor->ClientToScreen(&client);
        return client;
    }
    /// Attaches another track made as the shown one was, remembering where its keyframes were.
    template <class Attach>
    void AttachOther(Attach attach) {
        other = Fresh(-1);
        otherLocations.clear();
        for (int i = 0; i < other->GetKeyFrmCount(); ++i) otherLocations.push_back(other->GetFXKeyFrm(i)->Location);
        attach(other.get());
    }

    std::unique_ptr<Track> track, other;  // outlive the windows
    std::vector<double> otherLocations;
    Host host;
    Ed* editor = nullptr;
    std::unique_ptr<Ed> owned;
    std::unique_ptr<KivWeakWnd> alive;
};

std::vector<double> CurveOffsets(const CKivFXValueKeyFrm* k, int part) {
    const SKivFXBezierHandle& h = part == kKivFXPartForePt ? k->PtFore : k->PtAfter;
    return {h.PosOffset, h.ValueOffset};
}

// The curve editors' middle keyframe on an exact pixel, its handles 8 frames and 10 either side.
class CurveWindowRig : public RigOf<CurveHost, TestCurveWnd, CKivFXInsKeyFrmList> {
    void Show(bool selfDeleting) override {
        ASSERT_TRUE(host.CreateTop(CRect(0, 0, 240, 140)));
        Make(selfDeleting);
        editor->SetKeyFrmList(track.get());
        editor->SetPixelPreFrame(2.0);
        ASSERT_TRUE(editor->Create(WS_CHILD | WS_VISIBLE, &host, CRect(10, 10, 210, 118)));
    }
    std::unique_ptr<CKivFXInsKeyFrmList> Fresh(int ctrlMode) override {
        return MakeTrack({{10, -50.0f}, {40, 60.0f, -8, 10.0f, 8, -10.0f}, {70, 0.0f}}, ctrlMode >= 0, std::max(ctrlMode, 0));
    }
    std::vector<double> Offsets(int part) override { return CurveOffsets(track->GetFXKeyFrm(1), part); }
    std::optional<CPoint> Nowhere() override { return OnScreen(CPoint(110, 100)); }
    void AttachAnother() override { AttachOther([this](auto* t) { editor->SetKeyFrmList(t); }); }
    bool Command() override { return false; }
    std::optional<CRect> Widen() override {
        track->MinValue = -FLT_MAX;
        track->MaxValue = FLT_MAX;
        editor->SetKeyFrmList(track.get());
        editor->SendMessage(WM_SIZE, 0, 0);  // the window takes a new scale only when sized
        KivScreen::Get().PaintAll();
        CRect client;
        editor->GetClientRect(&client);
        return OnScreen(client);
    }
};

class CurveDialogRig : public RigOf<DialogHost, TestCurveDlg, CKivFXInsKeyFrmList> {
    void Show(bool selfDeleting) override {
        ASSERT_TRUE(host.CreateTop(CRect(0, 0, 300, 200)));
        Make(selfDeleting, &host);
        editor->SetRange(AquaEdit_Type_Number, 0, 99, track.get());
        ASSERT_NE(editor->Create(&host), 0);
        editor->MoveWindow(10, 10, 230, 130, FALSE);
        editor->ShowWindow(SW_SHOW);
    }
    std::unique_ptr<CKivFXInsKeyFrmList> Fresh(int ctrlMode) override {
        return MakeDlgTrack({{10 / 99.0, -50.0f}, {40 / 99.0, 60.0f, -8 / 99.0, 10.0f, 8 / 99.0, -10.0f}, {70 / 99.0, 0.0f}},
                            ctrlMode >= 0, std::max(ctrlMode, 0));
    }
    std::vector<double> Offsets(int part) override { return CurveOffsets(track->GetFXKeyFrm(1), part); }
    std::optional<CPoint> Nowhere() override { return OnScreen(CPoint(60, 110)); }
    void AttachAnother() override { AttachOther([this](auto* t) { editor->UpKeyFrmList(AquaEdit_Type_Number, t); }); }
    std::optional<CRect> Widen() override {
        track->MinValue = -FLT_MAX;
        track->MaxValue = FLT_MAX;
        editor->UpKeyFrmList(AquaEdit_Type_Number, track.get());
        KivScreen::Get().PaintAll();
        return OnScreen(editor->GetPlotRect());
    }
};

// The middle keyframe at X 100, Y 200 (an exact pixel at 5 units a pixel), handles 20 pixels
// left and 20 right, 10 up, with Z offsets of their own.
class PosiDialogRig : public RigOf<PosiHost, TestPosiDlg, CKivFXPosiKeyFrmList> {
    void Show(bool selfDeleting) override {
        KivScreen::Get().Resize(320, 300);
        ASSERT_TRUE(host.CreateTop(CRect(0, 0, 320, 300), WS_CLIPCHILDREN));
        Make(selfDeleting, &host);
        editor->SetRange(0, 99, track.get());
        ASSERT_NE(editor->Create(&host), 0);
        editor->MoveWindow(10, 10, 240, 261, FALSE);
        editor->ShowWindow(SW_SHOW);
    }
    std::unique_ptr<CKivFXPosiKeyFrmList> Fresh(int ctrlMode) override {
        return MakePosiTrack({{0.1, -300.0f, -300.0f}, {0.4, 100.0f, 200.0f, 0.0f, {-100.0f, 0.0f, 7.0f}, {100.0f, 50.0f, 9.0f}},
                              {0.7, 300.0f, -100.0f}},
                             ctrlMode >= 0, std::max(ctrlMode, 0));
    }
    bool HandlesInTime() const override { return false; }
    std::vector<double> Offsets(int part) override {
        const SKivFXPosiHandle& h = part == kKivFXPartForePt ? track->GetFXKeyFrm(1)->Fore : track->GetFXKeyFrm(1)->After;
        return {h.X, h.Y};
    }
    std::optional<CPoint> Nowhere() override { return OnScreen(CPoint(40, 40)); }
    void AttachAnother() override { AttachOther([this](auto* t) { editor->SetRange(0, 99, t); }); }
    // Zoomed in as far as it goes, the view spans the whole float range.
    std::optional<CRect> Widen() override {
        track->MinX = track->MinY = -FLT_MAX;
        track->MaxX = track->MaxY = FLT_MAX;
        editor->SetRange(0, 99, track.get());
        for (int i = 0; i < 10; ++i) editor->SendMessage(WM_COMMAND, ID_MENU_SHOW_ZOOM_IN, 0);
        KivScreen::Get().PaintAll();
        return OnScreen(editor->GetXYRect());
    }
};

class ColourDialogRig : public RigOf<ColourHost, CKivFXClr32KeyFrmDlg, CKivFXColor32KeyFrmList> {
    void Show(bool selfDeleting) override {
        KivScreen::Get().Resize(400, 300);
        ASSERT_TRUE(host.CreateTop(CRect(0, 0, 400, 300)));
        Make(selfDeleting, track.get());
        editor->SetBuildEditor(1);
        ASSERT_TRUE(editor->Create(&host));
        editor->MoveWindow(0, 0, 400, 300);
        editor->UpCurLocation(0.0);
        editor->ShowWindow(SW_SHOW);
    }
    std::unique_ptr<CKivFXColor32KeyFrmList> Fresh(int) override {
        return MakeColourTrack({{0.1, 10, 20, 30, 255}, {0.4, 200, 100, 0, 128}, {0.7, 0, 0, 255, 255}});
    }
    CPoint Part(int) override { return OnScreen(CPoint(10 + static_cast<int>(370 * 0.4), 265)); }
    void AttachAnother() override { AttachOther([this](auto* t) { editor->SetFXClrList(t); }); }
    bool Command() override {
        // A right click on a keyframe's mark deletes it and tells the host.
        const CPoint mark = OnScreen(CPoint(10 + static_cast<int>(370 * 0.7), 265));
        KivScreen::Get().MouseDown(mark, MK_RBUTTON);
        KivScreen::Get().MouseUp(mark, MK_RBUTTON);
        return true;
    }
};

struct EditorCase {
    const char* name;
    std::function<std::unique_ptr<Rig>()> make;
};
std::ostream& operator<<(std::ostream& os, const EditorCase& c) { return os << c.name; }

const EditorCase kEditors[] = {
    {"CurveWindow", [] { return std::make_unique<CurveWindowRig>(); }},
    {"CurveDialog", [] { return std::make_unique<CurveDialogRig>(); }},
    {"PositionDialog", [] { return std::make_unique<PosiDialogRig>(); }},
    {"ColourDialog", [] { return std::make_unique<ColourDialogRig>(); }},
};

class EditorDrags : public UiTest, public ::testing::WithParamInterface<EditorCase> {
protected:
    void SetUp() override {
        UiTest::SetUp();
        KivSetPopupMenuHandler([](const CMenu&, CPoint) { return 0u; });
    }
    void TearDown() override {
        if (rig) rig->Close();
        UiTest::TearDown();
    }
    Rig& Open(bool selfDeleting = false, int ctrlMode = -1) {
        if (rig) rig->Close();
        rig = GetParam().make();
        rig->Open(selfDeleting, ctrlMode);
        return *rig;
    }
    static void Press(CPoint p) { KivScreen::Get().MouseDown(p); }
    static void Move(CPoint p) { KivScreen::Get().MouseMove(p); }
    static void Release(CPoint p) { KivScreen::Get().MouseUp(p); }

    std::unique_ptr<Rig> rig;
};

TEST_P(EditorDrags, AKeyframeThatLeavesTheTrackEndsTheDragQuietly) {
    enum Act { kRemove, kAttach, kRemoveWhenToldOfTheEnd };
    struct When {
        const char* what;
        bool moveFirst;  // one step of the drag before the host acts
        Act act;
    };
    for (const When& w : {When{"removed before the first move", false, kRemove},
                          When{"removed between the last move and the release", true, kRemove},
                          When{"another track attached", true, kAttach},
                          When{"removed when told of the drag's end", true, kRemoveWhenToldOfTheEnd}}) {
        SCOPED_TRACE(w.what);
        Rig& r = Open();
        const CPoint grab = r.Grab();
        const CPoint to(grab.x + 6, grab.y + 8);
        bool releasing = false;
        Press(grab);
        ASSERT_TRUE(r.Dragging());
        if (w.moveFirst) Move(CPoint(grab.x + 3, grab.y + 4));
        if (w.act == kRemove) r.RemoveGrabbed();
        if (w.act == kAttach) r.AttachAnother();
        if (w.act == kRemoveWhenToldOfTheEnd) {
            r.WhenTold([&] {
                if (std::exchange(releasing, false)) r.RemoveGrabbed();
            });
        } else {
            Move(to);
        }
        const size_t told = r.Told();
        releasing = true;
        Release(to);
        EXPECT_FALSE(r.Dragging());
        EXPECT_EQ(CWnd::GetCapture(), nullptr);
        EXPECT_EQ(r.Told(), told + (w.act == kRemoveWhenToldOfTheEnd ? 1 : 0)) << "nothing is told of a drag that ended";
        if (w.act == kAttach) {
            EXPECT_TRUE(r.AnotherUndisturbed());
        } else if (w.act == kRemove) {  // after its own change when told, the host repaints
            EXPECT_EQ(DifferenceFromFullRepaint(r.Editor()), "") << "a quiet end shows the track as it is";
        }
    }
}

TEST_P(EditorDrags, AHostMayCloseTheEditorWhenTold) {
    enum Told { kFirst, kEnd, kCommand };
    for (bool selfDeleting : {false, true}) {
        for (Told when : {kFirst, kEnd, kCommand}) {
            SCOPED_TRACE(std::string(selfDeleting ? "a self-deleting window, " : "") +
                         (when == kFirst ? "told first" : when == kEnd ? "told of the drag's end" : "told of a command"));
            Rig& r = Open(selfDeleting);
            const KivWeakWnd editor(r.Editor());
            bool releasing = false;
            r.WhenTold([&] {
                if ((when != kEnd || releasing) && editor) r.Editor().DestroyWindow();
            });
            if (when == kCommand) {
                if (!r.Command()) continue;
            } else {
                const CPoint grab = r.Grab();
                Press(grab);
                Move(CPoint(grab.x + 3, grab.y + 4));
                releasing = true;
                Release(CPoint(grab.x + 3, grab.y + 4));
            }
            EXPECT_FALSE(editor) << "the host closed it";
            EXPECT_EQ(CWnd::GetCapture(), nullptr);
            KivScreen::Get().PaintAll();
        }
    }
}

TEST_P(EditorDrags, APressRepaintsEverySelectionItClears) {
    Rig& r = Open();
    r.SelectFirst();
    r.Editor().Invalidate(TRUE);
    KivScreen::Get().PaintAll();
    const CPoint grab = r.Grab();
    Press(grab);
    ASSERT_TRUE(r.Dragging());
    KivScreen::Get().PaintAll();
    EXPECT_EQ(DifferenceFromFullRepaint(r.Editor()), "");
    Release(grab);
}

TEST_P(EditorDrags, AClickOffEveryKeyframeStartsNothingAndRepaintsTheSelectionItClears) {
    Rig& r = Open();
    const std::optional<CPoint> nowhere = r.Nowhere();
    if (!nowhere) return;
    r.SelectFirst();
    r.Editor().Invalidate(TRUE);
    KivScreen::Get().PaintAll();
    Press(*nowhere);
    EXPECT_FALSE(r.Dragging());
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
    EXPECT_FALSE(r.FirstSelected());
    EXPECT_EQ(DifferenceFromFullRepaint(r.Editor()), "");
    Release(*nowhere);
    EXPECT_EQ(r.Told(), 0u);
}

TEST_P(EditorDrags, AHandleStaysOnItsSideAndTheOppositeFollowsAsTheTrackSays) {
    struct To {
        const char* what;
        int dx, dy;  // where the fore handle is dragged, from the keyframe (pixels)
    };
    for (int mode : {0, 1, 2}) {
        for (const To& to : {To{"up and left", -24, -14}, To{"straight up", 0, -18}, To{"level", -22, 0}}) {
            SCOPED_TRACE(testing::Message() << "coupling " << mode << ", " << to.what);
            Rig& r = Open(false, mode);
            if (r.Offsets(kKivFXPartForePt).empty()) return;
            const CPoint key = r.Part(kKivFXPartKeyFrm);
            const CSize was = r.Part(kKivFXPartAfterPt) - key;
            const std::vector<double> afterWas = r.Offsets(kKivFXPartAfterPt);
            Press(r.Part(kKivFXPartForePt));
            ASSERT_TRUE(r.Dragging());
            Move(CPoint(key.x + to.dx, key.y + to.dy));
            EXPECT_EQ(r.Part(kKivFXPartForePt), CPoint(key.x + to.dx, key.y + to.dy)) << "the handle takes the pointer's place";
            const std::vector<double> fore = r.Offsets(kKivFXPartForePt), after = r.Offsets(kKivFXPartAfterPt);
            const CSize now = r.Part(kKivFXPartAfterPt) - key;
            if (mode == 0) {
                EXPECT_EQ(after, afterWas) << "no coupling: the other handle stays";
            } else if (mode == 2) {
                EXPECT_EQ(after, (std::vector<double>{-fore[0], -fore[1]})) << "symmetry: the exact negation";
            } else {
                EXPECT_NEAR(std::hypot(now.cx, now.cy), std::hypot(was.cx, was.cy), 2.0) << "linkage keeps its pixel length";
                EXPECT_LT(now.cx * to.dx + now.cy * to.dy, 0) << "pointing away";
                EXPECT_TRUE((to.dx != 0 || now.cx == 0) && (to.dy != 0 || now.cy == 0)) << "upright or level as the dragged one";
            }
            if (r.HandlesInTime()) {
                Move(CPoint(key.x + 30, key.y));
                EXPECT_EQ(r.Offsets(kKivFXPartForePt)[0], 0.0) << "a fore handle never passes its keyframe";
            }
            Release(CPoint(key.x + 30, key.y));
            if (r.HandlesInTime()) {
                Press(r.Part(kKivFXPartAfterPt));
                Move(CPoint(key.x - 30, key.y + to.dy));
                EXPECT_EQ(r.Offsets(kKivFXPartAfterPt)[0], 0.0) << "nor an after handle";
                Release(CPoint(key.x - 30, key.y + to.dy));
            }
        }
    }
}

TEST_P(EditorDrags, ARangeAsWideAsTheFloatsNeverStoresANonFiniteValue) {
    // At the plot's edges, and beyond, a pixel's value lies past the largest float.
    for (int part : {kKivFXPartKeyFrm, kKivFXPartForePt, kKivFXPartAfterPt}) {
        SCOPED_TRACE(part);
        Rig& r = Open(false, 2);
        const std::optional<CRect> plot = r.Widen();
        if (!plot) return;
        const CPoint grab = r.Part(part);
        Press(grab);
        ASSERT_TRUE(r.Dragging());
        for (CPoint to : {plot->TopLeft(), CPoint(grab.x + 4, plot->top + 1), CPoint(grab.x, plot->top - 20),
                          CPoint(plot->left - 30, plot->top - 30), CPoint(plot->right - 1, plot->bottom - 1)}) {
            Move(to);
            for (double v : r.Stored()) ASSERT_TRUE(std::isfinite(v)) << "at " << to.x << "," << to.y;
        }
        Release(plot->TopLeft());
        EXPECT_GT(r.Told(), 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(Editors, EditorDrags, ::testing::ValuesIn(kEditors),
                         [](const ::testing::TestParamInfo<EditorCase>& info) { return std::string(info.param.name); });

}  // namespace
