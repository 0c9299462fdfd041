// The curve dialog's painting: axes with value ticks, value labels and the frame scale,
// the current-frame marker, the curve (flat ends, Bezier per pixel column or straight
// segments) and the keyframes with their handles, in that order over the skin.
#include <algorithm>
#include <cmath>
#include <utility>

#include "keyfrm/editors/CKivFXInsKeyFrmDlg.h"
#include "keyfrm/editors/KivFXCurveNotes.h"
#include "keyfrm/editors/KivFXCurvePointMap.h"
#include "keyfrm/editors/KivFXCurveWalk.h"
#include "keyfrm/editors/KivFXVisibleNotes.h"
#include "keyfrm/tracks/CKivFXInsKeyFrmList.h"
#include "keyfrm/tracks/KivFXHandleModes.h"
#include "platform/ui/DC.h"

namespace {

constexpr COLORREF kAxisColor = RGB(0, 0, 0);
constexpr COLORREF kLabelText = RGB(255, 255, 255);
// The labels' text cells: the grey the dialogs label their strips with, since white text
// on the device context's default white cell would not show.
constexpr COLORREF kLabelBack = RGB(161, 158, 156);
constexpr COLORREF kCurveColor = RGB(155, 0, 255);

// 21 value ticks: 8 pixels at both ends, 5 at the quarters, 2 between; none at the middle,
// where the frame axis crosses.
constexpr int kValueTicks = 20;
constexpr int kMiddleTick = 10;
int TickLength(int i) {
    if (i == 0 || i == kValueTicks) return 8;
    if (i == 5 || i == 15) return 5;
    return 2;
}
// The value labels' rectangle starts and ends this far right of the value axis.
constexpr int kLabelLeft = 5;
constexpr int kLabelRight = 50;
// The frame scale's labels stand on its longest tick.
constexpr int kScaleLongTick = 8;

// A note's square and the columns a frame's rounding spreads over, in pixels beyond the clip.
constexpr int kClipReach = 4;

// The locations whose drawing can reach the DC's clip: the frames at its edges widened by
// the note squares' reach and a frame of rounding either side; every location when the
// story has no length.
std::pair<double, double> ClipLocations(const CKivFXInsKeyFrmDlg& dlg, CDC& dc) {
    if (dlg.GetStoryOut() <= dlg.GetStoryIn()) return {-INFINITY, INFINITY};
    CRect clip;
    dc.GetClipBox(&clip);
    auto location = [&](int x, int frames) {
        const double f = static_cast<double>(dlg.PixelToFrameX(x)) + frames;
        return (f - dlg.GetStoryIn()) / (static_cast<double>(dlg.GetStoryOut()) - dlg.GetStoryIn());
    };
    return {location(clip.left - kClipReach, -2), location(clip.right + kClipReach, 2)};
}

}  // namespace

KivFXGatheredKeys<CKivFXValueKeyFrm> CKivFXInsKeyFrmDlg::GatherKeys() const {
    KivFXGatheredKeys<CKivFXValueKeyFrm> keys;
    if (!m_pKFList) return keys;
    // The reach in the handles' own unit, converted once: the conversion scales every offset
    // alike, so the largest offset gives the largest reach. An offset that is not a number
    // reaches everywhere.
    keys.Gather(
        *m_pKFList, [](const CKivFXValueKeyFrm& k) { return k.Location; },
        [](const CKivFXValueKeyFrm& k) { return std::max(std::fabs(k.PtFore.PosOffset), std::fabs(k.PtAfter.PosOffset)); });
    if (std::isfinite(keys.reach)) keys.reach = std::fabs(HandleLocationOffset(keys.reach));
    return keys;
}

void CKivFXInsKeyFrmDlg::OnPaint() {
    CPaintDC dc(this);
    KivSaveDC saved(dc);
    dc.SelectObject(&m_parts.font);
    DrawTimeLine(&dc);
    DrawTimeRuler(&dc);
    if (m_pKFList) {
        const KivFXGatheredKeys<CKivFXValueKeyFrm> keys = GatherKeys();
        const KivFXCurvePointMap map = PointMap();
        DrawKeyFrmLine(dc, keys, map);
        DrawKeyFrmArray(dc, keys, map);
    }
    // What is on the screen now is the track as it is: the keyframe UpKeyFrm follows lies here.
    if (m_followed.index >= 0) {
        m_followed.footprint = GetKeyFrmFootprint(m_followed.index);
        m_followed.painted = true;
    }
}

void CKivFXInsKeyFrmDlg::DrawTimeLine(CDC* dc) {
    if (!dc) return;
    CPen pen(PS_SOLID, 1, kAxisColor);
    KivSaveDC saved(*dc);
    dc->SelectObject(&pen);
    dc->SetTextColor(kLabelText);
    dc->SetBkColor(kLabelBack);
    const int yMid = ValueToPixelY((m_fTopValue + m_fBottomValue) * 0.5f);
    const bool oneSide = (m_range.in > 0 && m_range.out > 0) || (m_range.in < 0 && m_range.out < 0);
    const int x0 = FrameToPixelX(oneSide ? m_range.in : 0);
    dc->MoveTo(x0, ValueToPixelY(m_fTopValue));
    dc->LineTo(x0, ValueToPixelY(m_fBottomValue));

    const int step = KivTruncToInt(static_cast<double>(m_fTopValue - m_fBottomValue) + 1.0) / kValueTicks;
    for (int i = 0; i <= kValueTicks; ++i) {
        if (i == kMiddleTick) continue;
        const int y = ValueToPixelY(m_fBottomValue + static_cast<float>(i) * static_cast<float>(step));
        dc->MoveTo(x0, y);
        dc->LineTo(x0 + TickLength(i), y);
    }

    // One text for both labels: an edit type without a format leaves it as it was.
    CString label;
    for (float value : {m_fBottomValue, m_fTopValue}) {
        switch (m_editType) {
            case AquaEdit_Type_Number: label.Format(L"%6.0f", static_cast<double>(value)); break;
            case AquaEdit_Type_Degree: label.Format(L"%6.0f\u00B0", static_cast<double>(value)); break;
            case AquaEdit_Type_Percent: label.Format(L"%6.1f%%", static_cast<double>(value)); break;
            default: break;
        }
        const int y = ValueToPixelY(value);
        CRect r(x0 + kLabelLeft, y - VMargin(), x0 + kLabelRight, y + VMargin());
        dc->DrawText(label, &r, DT_VCENTER | DT_SINGLELINE);
    }

    dc->MoveTo(FrameToPixelX(m_range.in), yMid);
    dc->LineTo(FrameToPixelX(m_range.out), yMid);
    if (!m_bShowScale) return;
    KivFXFrameScaleLook look;
    look.labelHalfWidth = HMargin();
    look.labelTop = kScaleLongTick + VMargin();
    look.labelBottom = kScaleLongTick;
    KivFXDrawFrameScale(*dc, m_range, KivFXScaleStep(m_fFramesPerPixel), yMid, look,
                        [this](int frame) { return FrameToPixelX(frame); });
}

void CKivFXInsKeyFrmDlg::DrawTimeRuler(CDC* dc) {
    if (!dc) return;
    KivFXDrawTimeRuler(*dc, m_parts.marker, GetTimeRulerRect(), ValueToPixelY(m_fBottomValue));
}

void CKivFXInsKeyFrmDlg::DrawKeyFrmLine(CDC* dc) {
    if (dc && m_pKFList) DrawKeyFrmLine(*dc, GatherKeys(), PointMap());
}

void CKivFXInsKeyFrmDlg::DrawKeyFrmLine(CDC& dcRef, const KivFXGatheredKeys<CKivFXValueKeyFrm>& keys, const KivFXCurvePointMap& map) {
    CDC* dc = &dcRef;
    CPen pen(PS_SOLID, 1, kCurveColor);
    KivSaveDC saved(*dc);
    dc->SelectObject(&pen);
    const int left = FrameToPixelX(m_range.in);
    const int right = FrameToPixelX(m_range.out);
    const int count = m_pKFList->GetKeyFrmCount();
    CKivFXValueKeyFrm* first = m_pKFList->GetFXKeyFrm(0);
    CKivFXValueKeyFrm* last = m_pKFList->GetFXKeyFrm(count - 1);
    if (count < 2 || !first || !last) {
        const int y = ValueToPixelY(count == 1 && first ? first->Value : m_fDefValue);
        dc->MoveTo(left, y);
        dc->LineTo(right, y);
        return;
    }
    const CPoint head = map.PartPoint(*first, kKivFXPartKeyFrm);
    dc->MoveTo(left, head.y);
    dc->LineTo(head);
    const CPoint tail = map.PartPoint(*last, kKivFXPartKeyFrm);
    dc->MoveTo(tail);
    dc->LineTo(right, tail.y);

    // The segments that reach the clip, found by bisection when the keyframes stand in
    // order; each is drawn on its own, so leaving the others out changes no pixel.
    CRect client;
    GetClientRect(&client);
    const bool bezier = KivFXIsBezier(m_pKFList->InsMode);
    const auto [lo, hi] = ClipLocations(*this, *dc);
    const auto [from, to] = keys.PairsWithin(lo, hi);
    // A segment's end is the next one's start: each keyframe's point is mapped once, and a
    // segment within one column (most of them on a dense track) maps no handle.
    std::size_t mapped = to;  // the key whose point `end` holds
    CPoint end;
    for (std::size_t j = from; j + 1 < to; ++j) {
        // Neighbours in the list only: an element of another class between them breaks the curve.
        if (keys.keys[j + 1].index != keys.keys[j].index + 1) continue;
        CKivFXValueKeyFrm* a = keys.keys[j].keyframe;
        CKivFXValueKeyFrm* b = keys.keys[j + 1].keyframe;
        const CPoint start = mapped == j ? end : map.PartPoint(*a, kKivFXPartKeyFrm);
        end = map.PartPoint(*b, kKivFXPartKeyFrm);
        mapped = j + 1;
        if (start.x == end.x) continue;
        const CPoint p[4] = {start, map.PartPoint(*a, kKivFXPartAfterPt), map.PartPoint(*b, kKivFXPartForePt), end};
        dc->MoveTo(p[0]);
        if (bezier)
            KivFXWalkBezierColumns(p, client, [dc](CPoint column, bool move) {
                if (move)
                    dc->MoveTo(column);
                else
                    dc->LineTo(column);
            });
        dc->LineTo(p[3]);
    }
}

void CKivFXInsKeyFrmDlg::DrawKeyFrmArray(CDC* dc) {
    if (dc && m_pKFList) DrawKeyFrmArray(*dc, GatherKeys(), PointMap());
}

void CKivFXInsKeyFrmDlg::DrawKeyFrmArray(CDC& dc, const KivFXGatheredKeys<CKivFXValueKeyFrm>& keys, const KivFXCurvePointMap& map) {
    const auto [lo, hi] = ClipLocations(*this, dc);
    const auto [first, last] = keys.Within(lo, hi);
    CRect clip;
    dc.GetClipBox(&clip);
    KivFXNoteBatch batch(clip);
    KivFXAddNotes(batch, keys, {first, last}, m_pKFList->InsMode, [&map](CKivFXValueKeyFrm* k, CPoint* out) { map.NotePoints(*k, out); });
    batch.Draw(dc);
}

void CKivFXInsKeyFrmDlg::DrawKeyFrmNote(CDC* dc, CKivFXValueKeyFrm* keyframe, int kind) {
    if (!dc || !keyframe) return;
    CPoint pts[3];
    CalcuBezierPoints(pts, keyframe);
    KivFXDrawKeyFrmNote(*dc, pts, keyframe->IsSelect() != 0, kind);
}
