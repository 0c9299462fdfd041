// The scalar track's editor in `kfx edit`: the curve dialog above and the curve window below,
// both on the same track. The dialog moves keyframes in time and value, the current frame and
// the interpolation; the curve window shapes values and handles frame by frame. A change in
// one repaints the other, and the track's Frames follow the Locations the dialog sets.
#pragma once

#include "KfxCurveSlot.h"
#include "keyfrm/editors/CKivFXInsKeyFrmDlg.h"

class KfxCurveDialogSlot : public KfxCurveSlot {
public:
    /// The sign id the host gives the curve dialog (the curve window keeps kSignId).
    static constexpr int kDialogSignId = 2;

    bool Create(CWnd& host, CKivObList& track, const KfxEditTime& time) override;
    void Layout(const CRect& area) override;
    KfxEditorNotice Route(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void SetTime(const KfxEditTime& time) override;
    bool SendValues(const std::vector<double>& values) override;
    bool IsBusy() const override;
    bool DragsIn(const CWnd* w) const override;
    void TrackRestored() override;
    CWnd* Window() override { return &m_dialog; }
    CWnd* MarksWindow() override { return &m_window; }
    std::vector<std::pair<std::wstring, std::wstring>> MouseHelp() const override;
    bool Wheel(CWnd* under, CPoint screenPt, int steps, bool shift) override;
    bool WouldDrag(const CWnd* under, CPoint screenPt) const override;
    std::vector<CPoint> GripPoints() const override;

    CKivFXInsKeyFrmDlg& Dialog() { return m_dialog; }

private:
    /// The curve dialog with its hit tests open to the host (for the cursor's shape).
    class CurveDialog : public CKivFXInsKeyFrmDlg {
    public:
        using CKivFXInsKeyFrmDlg::IsHitKeyFrm;
        using CKivFXInsKeyFrmDlg::IsHitTimeRuler;
    };
    CurveDialog m_dialog;
};
