// Shared pieces of the curve dialog tests: a host that records the dialog's records while
// they are valid, location-based tracks built from a short list, and a fixture that shows
// the dialog as a host does, with a plot whose mapping is easy to follow.
#pragma once

#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

#include "keyfrm/editors/CKivFXInsKeyFrmDlg.h"
#include "keyfrm/editors/KivFXCurveNotes.h"
#include "keyfrm/editors/KivFXEditorMessages.h"
#include "keyfrm/editors/KivFXEditorResources.h"
#include "keyfrm/tracks/CKivFXInsKeyFrmList.h"
#include "platform/ui/UiTestSupport.h"

/// Records every message; "WM_MODIFY_FROM_INSKFDLG" records are copied during the call.
class DialogHost : public RecordingWnd {
public:
    DialogHost() : RecordingWnd(RGB(255, 255, 255)) {}
    std::vector<InsKFDlgModifyInfo> modifies;
    std::vector<WPARAM> modifyWParams;
    std::function<void(const InsKFDlgModifyInfo&)> onModify;  // what a host does when told

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == KivFXEditorMessages().modifyFromInsKFDlg && lParam) {
            modifies.push_back(*reinterpret_cast<const InsKFDlgModifyInfo*>(lParam));
            modifyWParams.push_back(wParam);
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

/// The dialog with its paints counted and the bounds of what each paint had to redraw.
class TestCurveDlg : public CKivFXInsKeyFrmDlg {
public:
    using CKivFXInsKeyFrmDlg::CKivFXInsKeyFrmDlg;
    int paints = 0;
    CRect lastUpdate;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_PAINT) {
            ++paints;
            GetUpdateRect(&lastUpdate);
        }
        return CKivFXInsKeyFrmDlg::WindowProc(msg, wParam, lParam);
    }
};

struct DlgKey {
    double location;
    float value;
    double foreOffset = 0.0;  // location offsets
    float foreValue = 0.0f;
    double afterOffset = 0.0;
    float afterValue = 0.0f;
};

/// A location-based track, values -100 to 100, default 10, with keyframes in the order given.
inline std::unique_ptr<CKivFXInsKeyFrmList> MakeDlgTrack(std::initializer_list<DlgKey> keys, int insMode = 1,
                                                         int ctrlMode = 0) {
    auto t = std::make_unique<CKivFXInsKeyFrmList>();
    t->MinValue = -100.0f;
    t->MaxValue = 100.0f;
    t->DefValue = 10.0f;
    t->InsMode = insMode;
    t->CtrlMode = ctrlMode;
    for (const DlgKey& k : keys) {
        CKivFXValueKeyFrm* v = t->SendKeyFrmValue(k.location, k.value);
        v->PtFore = SKivFXBezierHandle{k.foreValue, k.foreOffset};
        v->PtAfter = SKivFXBezierHandle{k.afterValue, k.afterOffset};
    }
    return t;
}

/// A host on a clean screen with the dialog at (10, 10), 230 x 130 pixels: margins 15 leave a
/// plot of 200 x 100 from (15, 15), the story range 0 to 99 gives 0.5 frames per pixel
/// (frame f at x = 15 + 2 f) and the range -100 to 100 two values per pixel (v at
/// y = 15 + (100 - v) / 2).
class CurveDialogTest : public UiTest {
protected:
    static constexpr int kLeft = 10, kTop = 10, kWidth = 230, kHeight = 130;
    static constexpr int kIn = 0, kOut = 99;
    static constexpr int kSignId = 55;

    void TearDown() override {
        dlg.DestroyWindow();
        host.DestroyWindow();
        UiTest::TearDown();
    }
    /// Shows the track (or none) in the dialog; the test keeps the track.
    void Open(std::unique_ptr<CKivFXInsKeyFrmList> shown, AquaEdit_Type type = AquaEdit_Type_Number) {
        track = std::move(shown);
        ASSERT_TRUE(host.CreateTop(CRect(0, 0, 300, 200)));
        dlg.SetSignID(kSignId);
        if (track)
            dlg.SetRange(type, kIn, kOut, track.get());
        else
            dlg.SetRange(type, kIn, kOut, 100.0f, -100.0f, 10.0f);
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
    CPoint ScreenOfPart(CKivFXValueKeyFrm* k, int part) const {
        const CRect r = dlg.GetKeyFrmRect(k, part);
        return Screen(CPoint(r.left + 2, r.top + 2));
    }
    CPoint ScreenOf(int frame, float value) const { return Screen(CPoint(dlg.FrameToPixelX(frame), dlg.ValueToPixelY(value))); }
    void Press(CPoint p) { KivScreen::Get().MouseDown(p); }
    void Move(CPoint p) { KivScreen::Get().MouseMove(p); }
    void Release(CPoint p) { KivScreen::Get().MouseUp(p); }
    void Command(UINT id) { dlg.SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    COLORREF At(int clientX, int clientY) const { return KivScreen::Get().GetPixel(kLeft + clientX, kTop + clientY); }
    CKivFXValueKeyFrm* Key(int index) const { return track->GetFXKeyFrm(index); }

    std::unique_ptr<CKivFXInsKeyFrmList> track;  // outlives the windows
    DialogHost host;
    TestCurveDlg dlg{&host};
};
