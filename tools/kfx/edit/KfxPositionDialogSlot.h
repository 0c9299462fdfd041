// The position track's editor in `kfx edit`: the position dialog over the editor area with
// its coordinate window (X, Y and Z of the current frame) along the bottom, in place of the
// host's numeric edits.
#pragma once

#include "KfxEditorSlot.h"
#include "keyfrm/editors/CKivFXPosiKeyFrmDlg.h"
#include "keyfrm/editors/CKivFXPosiValueWnd.h"

class KfxPositionDialogSlot : public KfxEditorSlot {
public:
    /// The sign ids of the X, Y and Z parameters, and the coordinate window's control id.
    static constexpr int kSignIdX = 11;
    static constexpr int kSignIdY = 12;
    static constexpr int kSignIdZ = 13;
    static constexpr UINT kValueWndId = 950;
    /// The coordinate window's height.
    static constexpr int kValueWndHeight = 26;

    bool Create(CWnd& host, CKivObList& track, const KfxEditTime& time) override;
    void Layout(const CRect& area) override;
    KfxEditorNotice Route(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void SetTime(const KfxEditTime& time) override;
    std::vector<KfxValueField> Fields() const override;
    KfxEditReading Read() const override;
    bool SendValues(const std::vector<double>& values) override;
    bool IsBusy() const override { return m_dialog.IsDragging() != FALSE; }
    bool DragsIn(const CWnd* w) const override { return w == &m_dialog; }
    void TrackRestored() override;
    CWnd* Window() override { return &m_dialog; }
    std::vector<CPoint> KeyFramePoints() const override;
    std::vector<std::pair<std::wstring, std::wstring>> MouseHelp() const override;
    bool Wheel(CWnd* under, CPoint screenPt, int steps, bool shift) override;
    bool WouldDrag(const CWnd* under, CPoint screenPt) const override;
    bool HostEdits() const override { return false; }
    CKivAquaEdit* ValueBox(HWND h) override;

    CKivFXPosiKeyFrmDlg& Dialog() { return m_dialog; }
    CKivFXPosiValueWnd& Values() { return m_values; }

private:
    /// The coordinate window shows the position at the current frame.
    void ShowValues();

    /// The position dialog with its hit tests open to the host (for the cursor's shape).
    class PositionDialog : public CKivFXPosiKeyFrmDlg {
    public:
        using CKivFXPosiKeyFrmDlg::IsHitKeyFrm;
        using CKivFXPosiKeyFrmDlg::IsHitTimeNote;
        using CKivFXPosiKeyFrmDlg::IsHitTimeRuler;
    };
    PositionDialog m_dialog;
    CKivFXPosiValueWnd m_values;
    CKivFXPosiKeyFrmList* m_track = nullptr;
    KfxEditTime m_time;
};
