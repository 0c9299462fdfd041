// Shared pieces of the position dialog tests: a host that records the dialog's records while
// they are valid, location-based position tracks built from a short list, and a fixture that
// shows the dialog as a host does, with a layout whose mapping is easy to follow.
#pragma once

#include <functional>
#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

#include "keyfrm/editors/CKivFXPosiKeyFrmDlg.h"
#include "keyfrm/editors/KivFXCurveNotes.h"
#include "keyfrm/editors/KivFXEditorMessages.h"
#include "keyfrm/editors/KivFXEditorResources.h"
#include "keyfrm/tracks/CKivFXPosiKeyFrmList.h"
#include "kivbase/KivVideoStd.h"
#include "platform/ui/UiTestSupport.h"

/// Records every message; "WM_MODIFY_FROM_POSIKFDLG" records are copied during the call.
class PosiHost : public RecordingWnd {
public:
    std::vector<PosiKFDlgModifyInfo> modifies;
    std::function<void(const PosiKFDlgModifyInfo&)> onModify;  // what a host does when told
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == KivFXEditorMessages().modifyFromPosiKFDlg && lParam) {
            EXPECT_EQ(wParam, 0u);
            modifies.push_back(*reinterpret_cast<const PosiKFDlgModifyInfo*>(lParam));
            if (onModify) onModify(modifies.back());
        }
        return RecordingWnd::WindowProc(msg, wParam, lParam);
    }
    /// (track changed, frame changed) of every record.
    std::vector<std::pair<int, int>> Flags() const {
        std::vector<std::pair<int, int>> f;
        for (const auto& m : modifies) f.emplace_back(m.bTrackChanged, m.bFrameChanged);
        return f;
    }
};

/// The dialog with the bounds of what its last paint had to redraw.
class TestPosiDlg : public CKivFXPosiKeyFrmDlg {
public:
    using CKivFXPosiKeyFrmDlg::CKivFXPosiKeyFrmDlg;
    CRect lastUpdate;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_PAINT) GetUpdateRect(&lastUpdate);
        return CKivFXPosiKeyFrmDlg::WindowProc(msg, wParam, lParam);
    }
};

struct PosiKey {
    double location;
    float x, y, z = 0.0f;
    SKivFXPosiHandle fore{}, after{};
};

/// A location-based position track with the default ranges (-1000 to 1000 on each axis),
/// keyframes in the order given.
inline std::unique_ptr<CKivFXPosiKeyFrmList> MakePosiTrack(std::initializer_list<PosiKey> keys, int insMode = 1,
                                                           int ctrlMode = 0) {
    auto t = std::make_unique<CKivFXPosiKeyFrmList>();
    t->InsMode = insMode;
    t->CtrlMode = ctrlMode;
    for (const PosiKey& k : keys) {
        CKivFXPosiKeyFrm* p = t->SendKeyFrmValue(k.location, k.x, k.y, k.z);
        p->Fore = k.fore;
        p->After = k.after;
    }
    return t;
}

/// A host on a 320 x 300 screen with the dialog at (10, 10), 240 x 261 pixels: margins 20
/// leave an X-Y view of 200 x 200 from (20, 20) and a time strip from (20, 221) to
/// (220, 241). Story range 0 to 99 puts frame f at x = 20 + 2 f; the default ranges times
/// the zoom scale 0.5 give a view of -500 to 500 on both axes, 5 units a pixel: x = 20 +
/// (X + 500) / 5, y = 20 + (500 - Y) / 5.
class PosiDialogTest : public UiTest {
protected:
    static constexpr int kLeft = 10, kTop = 10, kWidth = 240, kHeight = 261;
    static constexpr int kIn = 0, kOut = 99;

    void SetUp() override {
        UiTest::SetUp();
        KivScreen::Get().Resize(320, 300);
    }
    void TearDown() override {
        dlg.DestroyWindow();
        host.DestroyWindow();
        CKivVideoStd::SetResSize(CSize(CKivVideoStd::kDefaultWidth, CKivVideoStd::kDefaultHeight));
        UiTest::TearDown();
    }
    /// Shows the track (or none) in the dialog; the test keeps the track.
    void Open(std::unique_ptr<CKivFXPosiKeyFrmList> shown, int in = kIn, int out = kOut) {
        track = std::move(shown);
        ASSERT_TRUE(host.CreateTop(CRect(0, 0, 320, 300), WS_CLIPCHILDREN));
        dlg.SetSignID(11, 12, 13);
        dlg.SetRange(in, out, track.get());
        ASSERT_NE(dlg.Create(&host), 0);
        dlg.MoveWindow(kLeft, kTop, kWidth, kHeight, FALSE);
        dlg.ShowWindow(SW_SHOW);
        KivScreen::Get().PaintAll();
        host.messages.clear();
        host.modifies.clear();
    }
    CPoint Screen(CPoint client) const {
        dlg.ClientToScreen(&client);
        return client;
    }
    CPoint ScreenOfPart(CKivFXPosiKeyFrm* k, int part) const {
        const CRect r = dlg.GetKeyFrmRect(k, part);
        return Screen(CPoint(r.left + 2, r.top + 2));
    }
    void Press(CPoint p) { KivScreen::Get().MouseDown(p); }
    void Move(CPoint p) { KivScreen::Get().MouseMove(p); }
    void Release(CPoint p) { KivScreen::Get().MouseUp(p); }
    void Command(UINT id) { dlg.SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    COLORREF At(int clientX, int clientY) const { return KivScreen::Get().GetPixel(kLeft + clientX, kTop + clientY); }
    CKivFXPosiKeyFrm* Key(int index) const { return track->GetFXKeyFrm(index); }

    std::unique_ptr<CKivFXPosiKeyFrmList> track;  // outlives the windows
    PosiHost host;
    TestPosiDlg dlg{&host};
};
