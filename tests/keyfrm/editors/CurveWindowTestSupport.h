// Shared pieces of the curve window tests: a host window that records every message and
// copies the editors' records while they are valid, a curve window that exposes its
// mapping for computing where to click, and scalar tracks built from a short list.
#pragma once

#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

#include "keyfrm/editors/CKivFXInsKeyFrmWnd.h"
#include "keyfrm/editors/KivFXEditorMessages.h"
#include "keyfrm/tracks/CKivFXInsKeyFrmList.h"
#include "platform/ui/UiTestSupport.h"

/// Records every message; the registered messages of the curve window are decoded too.
class CurveHost : public RecordingWnd {
public:
    CurveHost() : RecordingWnd(RGB(255, 255, 255)) {}
    std::vector<InsKFWndModifyInfo> modifies;  // copied during the call
    struct ModeMessage {
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<ModeMessage> insModes, ctrlModes;
    std::function<void(const InsKFWndModifyInfo&)> onModify;  // what a host does when told

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        const KivFXEditorMessageIds& ids = KivFXEditorMessages();
        if (msg == ids.modifyFromInsKFWnd && lParam) {
            modifies.push_back(*reinterpret_cast<const InsKFWndModifyInfo*>(lParam));
            if (onModify) onModify(modifies.back());
        }
        if (msg == ids.insModeFromInsKFWnd) insModes.push_back({wParam, lParam});
        if (msg == ids.ctrlModeFromInsKFWnd) ctrlModes.push_back({wParam, lParam});
        return RecordingWnd::WindowProc(msg, wParam, lParam);
    }
    std::vector<int> Phases() const {
        std::vector<int> p;
        for (const auto& m : modifies) p.push_back(m.ucPhase);
        return p;
    }
};

/// The curve window with its mapping in reach and its paints counted.
class TestCurveWnd : public CKivFXInsKeyFrmWnd {
public:
    using CKivFXInsKeyFrmWnd::CalcuBezierPoints;
    using CKivFXInsKeyFrmWnd::FrameToPixelX;
    using CKivFXInsKeyFrmWnd::GetKeyFrmRect;
    using CKivFXInsKeyFrmWnd::GetStoryIn;
    using CKivFXInsKeyFrmWnd::GetStoryOut;
    using CKivFXInsKeyFrmWnd::IsHitKeyFrm;
    using CKivFXInsKeyFrmWnd::PixelToFrameX;
    using CKivFXInsKeyFrmWnd::PixelToValueY;
    using CKivFXInsKeyFrmWnd::ValueToPixelY;
    int paints = 0;

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_PAINT) ++paints;
        return CKivFXInsKeyFrmWnd::WindowProc(msg, wParam, lParam);
    }
    /// The screen point of a client point.
    CPoint Screen(CPoint client) const {
        ClientToScreen(&client);
        return client;
    }
    /// The screen point at the centre of a keyframe part.
    CPoint ScreenOfPart(CKivFXValueKeyFrm* k, int part) const {
        const CRect r = GetKeyFrmRect(k, part);
        return Screen(CPoint(r.left + 2, r.top + 2));
    }
    CPoint ScreenOf(int frame, float value) const { return Screen(CPoint(FrameToPixelX(frame, 0), ValueToPixelY(value))); }
};

struct KeySpec {
    int frame;
    float value;
    double foreFrames = 0.0;
    float foreValue = 0.0f;
    double afterFrames = 0.0;
    float afterValue = 0.0f;
};

/// A frame-based track, values -100 to 100, with keyframes in the order given.
inline std::unique_ptr<CKivFXInsKeyFrmList> MakeTrack(std::initializer_list<KeySpec> keys, int insMode = 1, int ctrlMode = 0) {
    auto t = std::make_unique<CKivFXInsKeyFrmList>();
    t->SetBaseOnFrame(1);
    t->MinValue = -100.0f;
    t->MaxValue = 100.0f;
    t->DefValue = 10.0f;
    t->InsMode = insMode;
    t->CtrlMode = ctrlMode;
    for (const KeySpec& k : keys) {
        CKivFXValueKeyFrm* v = t->SendKeyFrmValue(k.frame, k.value);
        v->PtFore = SKivFXBezierHandle{k.foreValue, k.foreFrames};
        v->PtAfter = SKivFXBezierHandle{k.afterValue, k.afterFrames};
    }
    return t;
}

/// A host on a clean screen with the curve window inside it at (10, 10), 200 x 108 pixels:
/// with the default track range and scale 2 pixels per frame, frame f is at x = 2 f and
/// value v at y = (100 - v) / 2 + 4.
class CurveWindowTest : public UiTest {
protected:
    static constexpr int kLeft = 10, kTop = 10, kWidth = 200, kHeight = 108;
    static constexpr int kSignId = 77;

    void TearDown() override {
        wnd.DestroyWindow();
        host.DestroyWindow();
        UiTest::TearDown();
    }
    /// Shows the track (or none) in the window; the test keeps the track.
    void Open(std::unique_ptr<CKivFXInsKeyFrmList> shown) {
        track = std::move(shown);
        ASSERT_TRUE(host.CreateTop(CRect(0, 0, 240, 140)));
        wnd.SetKeyFrmList(track.get());
        wnd.SetSignID(kSignId);
        wnd.SetPixelPreFrame(2.0);
        ASSERT_TRUE(wnd.Create(WS_CHILD | WS_VISIBLE, &host, CRect(kLeft, kTop, kLeft + kWidth, kTop + kHeight)));
        KivScreen::Get().PaintAll();
        host.messages.clear();
    }
    void Press(CPoint p) { KivScreen::Get().MouseDown(p); }
    void Move(CPoint p) { KivScreen::Get().MouseMove(p); }
    void Release(CPoint p) { KivScreen::Get().MouseUp(p); }
    COLORREF At(int clientX, int clientY) const { return KivScreen::Get().GetPixel(kLeft + clientX, kTop + clientY); }

    CKivFXValueKeyFrm* Key(int index) const { return track->GetFXKeyFrm(index); }

    std::unique_ptr<CKivFXInsKeyFrmList> track;  // outlives the windows
    CurveHost host;
    TestCurveWnd wnd;
};
