// Shared pieces of the colour dialog tests: a host that records "WM_MODIFY_FROM_CLRKFDLG",
// colour tracks built from a short list, and a fixture that shows the dialog laid out for a
// 400 x 300 client at the screen's top-left corner, driven with the screen's mouse.
#pragma once

#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

#include "keyfrm/editors/CKivFXClr32KeyFrmDlg.h"
#include "keyfrm/editors/KivFXEditorMessages.h"
#include "keyfrm/tracks/CKivFXColor32KeyFrmList.h"
#include "platform/ui/UiTestSupport.h"

/// What a "WM_MODIFY_FROM_CLRKFDLG" carried.
struct ClrModify {
    WPARAM trackChanged;
    LPARAM locationMoved;
    bool operator==(const ClrModify&) const = default;
};

class ColourHost : public RecordingWnd {
public:
    std::vector<ClrModify> modifies;
    std::function<void()> onModify;  // what a host does when told
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == KivFXEditorMessages().modifyFromClrKFDlg) {
            modifies.push_back({wParam, lParam});
            if (onModify) onModify();
        }
        return RecordingWnd::WindowProc(msg, wParam, lParam);
    }
};

struct ClrKey {
    double location;
    BYTE r, g, b, a;
};

inline std::unique_ptr<CKivFXColor32KeyFrmList> MakeColourTrack(std::initializer_list<ClrKey> keys) {
    auto t = std::make_unique<CKivFXColor32KeyFrmList>();
    for (const ClrKey& k : keys) t->SendKeyFrmValue(k.location, k.r, k.g, k.b, k.a);
    return t;
}

/// The dialog laid out for a 400 x 300 client. By the layout rules: colour field (10, 10,
/// 235, 235), luminance strip (240, 10, 260, 235), alpha strip (265, 10, 285, 235), colour
/// bar (10, 240, 380, 260), alpha bar (10, 270, 380, 290), keyframe strip (10, 261, 380,
/// 269): 370 pixels wide and 8 high, so location l is at x = 10 + int(370 l).
class ColourDialogTest : public UiTest {
protected:
    static constexpr int kWidth = 400, kHeight = 300;
    static constexpr int kStripLeft = 10, kStripWidth = 370, kStripMiddle = 265;

    void TearDown() override {
        dlg.reset();
        host.DestroyWindow();
        UiTest::TearDown();
    }
    /// Shows the track (or none; the test keeps it) with the current location at location.
    void Open(std::unique_ptr<CKivFXColor32KeyFrmList> shown, double location = 0.5) {
        track = std::move(shown);
        KivScreen::Get().Resize(kWidth, kHeight);
        ASSERT_TRUE(host.CreateTop(CRect(0, 0, kWidth, kHeight)));
        dlg = track ? std::make_unique<CKivFXClr32KeyFrmDlg>(track.get()) : std::make_unique<CKivFXClr32KeyFrmDlg>();
        dlg->SetBuildEditor(1);
        ASSERT_TRUE(dlg->Create(&host));
        dlg->MoveWindow(0, 0, kWidth, kHeight);
        dlg->UpCurLocation(location);
        dlg->ShowWindow(SW_SHOW);
        KivScreen::Get().PaintAll();
        host.modifies.clear();
    }
    static int StripX(double location) { return kStripLeft + static_cast<int>(kStripWidth * location); }
    static void Press(CPoint p, UINT button = MK_LBUTTON) { KivScreen::Get().MouseDown(p, button); }
    static void Move(CPoint p) { KivScreen::Get().MouseMove(p); }
    static void Release(CPoint p, UINT button = MK_LBUTTON) { KivScreen::Get().MouseUp(p, button); }
    static void Drag(CPoint from, CPoint to) {
        Press(from);
        Move(to);
        Release(to);
    }
    static COLORREF At(int x, int y) { return KivScreen::Get().GetPixel(x, y); }
    /// The four edits' values: red, green, blue, alpha.
    std::vector<int> Edits() {
        std::vector<int> v;
        for (int id = IDC_CLR_RED; id <= IDC_CLR_ALPHA_EDIT; ++id) v.push_back(static_cast<int>(dlg->GetAquaEdit(id)->GetValue()));
        return v;
    }
    CKivFXColor32KeyFrm* Key(int i) const { return track->GetFXKeyFrm(i); }

    std::unique_ptr<CKivFXColor32KeyFrmList> track;  // outlives the dialog
    ColourHost host;
    std::unique_ptr<CKivFXClr32KeyFrmDlg> dlg;
};
