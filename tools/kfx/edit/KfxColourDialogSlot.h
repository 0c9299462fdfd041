// The colour track's editor in `kfx edit`: the colour dialog over the editor area, with its
// own red, green, blue and alpha edits in place of the host's.
#pragma once

#include "KfxEditorSlot.h"
#include "keyfrm/editors/CKivFXClr32KeyFrmDlg.h"

class KfxColourDialogSlot : public KfxEditorSlot {
public:
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
    bool HostEdits() const override { return false; }
    CKivAquaEdit* ValueBox(HWND h) override;

    CKivFXClr32KeyFrmDlg& Dialog() { return m_dialog; }

private:

    CKivFXClr32KeyFrmDlg m_dialog;
    CKivFXColor32KeyFrmList* m_track = nullptr;
    KfxEditTime m_time;
};
