// The scalar track's editor in `kfx edit`: the curve window over the whole editor area, with
// the host's numeric edit for the value at the current frame.
#pragma once

#include "KfxEditorSlot.h"
#include "keyfrm/editors/CKivFXInsKeyFrmWnd.h"

class CKivFXInsKeyFrmList;

class KfxCurveSlot : public KfxEditorSlot {
public:
    /// The sign id the host gives its curve window, to know the window's messages.
    static constexpr int kSignId = 1;

    bool Create(CWnd& host, CKivObList& track, const KfxEditTime& time) override;
    void Layout(const CRect& area) override;
    KfxEditorNotice Route(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void SetTime(const KfxEditTime& time) override;
    std::vector<KfxValueField> Fields() const override;
    KfxEditReading Read() const override;
    bool SendValues(const std::vector<double>& values) override;
    bool IsBusy() const override;
    bool DragsIn(const CWnd* w) const override { return w == &m_window; }
    void TrackRestored() override;
    CWnd* Window() override { return &m_window; }
    std::vector<CPoint> KeyFramePoints() const override;
    std::vector<std::pair<std::wstring, std::wstring>> MouseHelp() const override;
    bool Wheel(CWnd* under, CPoint screenPt, int steps, bool shift) override;
    bool WouldDrag(const CWnd* under, CPoint screenPt) const override;
    /// The curve window's scale and the first frame it shows (for tests and reports).
    double PixelsPerFrame() const { return m_window.GetPixelPreFrame(); }
    long ScrollFrame() const { return m_window.GetScrollPos(); }

protected:
    /// The curve window with its mapping open to the host.
    class CurveWindow : public CKivFXInsKeyFrmWnd {
    public:
        using CKivFXInsKeyFrmWnd::FrameToPixelX;
        using CKivFXInsKeyFrmWnd::IsHitKeyFrm;
        using CKivFXInsKeyFrmWnd::ValueToPixelY;
    };
    /// Scroll position and scale that show the story range across the window's width.
    void FitView(int width);

    CurveWindow m_window;
    CKivFXInsKeyFrmList* m_track = nullptr;
    KfxEditTime m_time;
};
