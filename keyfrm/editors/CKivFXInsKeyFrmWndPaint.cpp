// The curve window's painting: background, grid, current-frame line, curve, keyframes and
// frame, in that order.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "keyfrm/editors/CKivFXInsKeyFrmWnd.h"
#include "keyfrm/editors/KivFXCurveNotes.h"
#include "keyfrm/editors/KivFXVisibleNotes.h"
#include "keyfrm/tracks/CKivFXInsKeyFrmList.h"
#include "keyfrm/tracks/KivFXHandleModes.h"
#include "platform/ui/DC.h"

namespace {

constexpr COLORREF kBackColor = RGB(200, 200, 200);
constexpr COLORREF kMeshColor = RGB(150, 150, 150);
constexpr COLORREF kTimeLineColor = RGB(190, 190, 190);  // XOR-ed onto what is there
constexpr COLORREF kCurvePenColor = RGB(155, 0, 255);
constexpr COLORREF kCurveDotColor = RGB(0, 0, 255);
constexpr COLORREF kFrameColor = RGB(0, 0, 0);
// The grid's spacing in pixels; it does not follow scrolling or zoom.
constexpr double kMeshStep = 20.0;

}  // namespace

void CKivFXInsKeyFrmWnd::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    {
        KivSaveDC saved(dc);
        dc.FillSolidRect(&client, kBackColor);
    }
    DrawMesh(&dc);
    DrawTimeLine(&dc);
    DrawKeyFrmLine(&dc);
    DrawKeyFrmArray(&dc);
    KivSaveDC saved(dc);
    dc.Draw3dRect(&client, kFrameColor, kFrameColor);
}

void CKivFXInsKeyFrmWnd::DrawMesh(CDC* dc) {
    if (!dc || !m_hWnd) return;
    CRect client;
    GetClientRect(&client);
    CPen pen(PS_SOLID, 1, kMeshColor);
    KivSaveDC saved(*dc);
    dc->SelectObject(&pen);
    // A solid 1-pixel line along a row or column covers the 1-pixel-wide rectangle from its
    // start to its end (the end left out): with a mix that copies the pen, that rectangle
    // filled is the same picture for a fill's cost, not a walk's.
    const bool fill = dc->GetROP2() == R2_COPYPEN;
    auto line = [&](CPoint from, CPoint to) {
        if (fill) {
            const CRect r(from.x, from.y, std::max(to.x, from.x + 1), std::max(to.y, from.y + 1));
            if (from.x < to.x || from.y < to.y) dc->FillSolidRect(&r, kMeshColor);
            return;
        }
        dc->MoveTo(from);
        dc->LineTo(to);
    };
    const int rows = static_cast<int>(client.Height() / kMeshStep);
    for (int i = 1; i <= rows; ++i) {
        const int y = client.top + static_cast<int>(kMeshStep) * i;
        line(CPoint(client.left, y), CPoint(client.right, y));
    }
    const int columns = static_cast<int>(client.Width() / kMeshStep);
    for (int j = 1; j <= columns; ++j) {
        const int x = client.left + static_cast<int>(kMeshStep) * j;
        line(CPoint(x, client.top), CPoint(x, client.bottom));
    }
}

void CKivFXInsKeyFrmWnd::DrawTimeLine(CDC* dc) {
    if (!dc || !m_hWnd) return;
    CRect client;
    GetClientRect(&client);
    CPen pen(PS_SOLID, 1, kTimeLineColor);
    KivSaveDC saved(*dc);
    dc->SelectObject(&pen);
    dc->SetROP2(R2_XORPEN);
    const int x = FrameToPixelX(m_nTimeLine, 0);
    dc->MoveTo(x, client.top);
    dc->LineTo(x, client.bottom);
}

void CKivFXInsKeyFrmWnd::DrawKeyFrmLine(CDC* dc) {
    if (!dc || !m_hWnd || !m_pKFList) return;
    CRect client;
    GetClientRect(&client);
    CPen pen(PS_SOLID, 1, kCurvePenColor);
    KivSaveDC saved(*dc);
    dc->SelectObject(&pen);
    const int count = m_pKFList->GetKeyFrmCount();
    if (count < 2) {
        float value = m_fDefValue;
        if (count == 1) {
            const CKivFXValueKeyFrm* only = m_pKFList->GetFXKeyFrm(0);
            if (!only) return;
            value = only->Value;
        }
        const int y = ValueToPixelY(value);
        dc->MoveTo(client.left, y);
        dc->LineTo(client.right, y);
        return;
    }
    // Only the frames whose dots can fall in the clip: a dot's column is its frame's alone
    // (with a scale that grows to the right; any other walks every frame in view).
    const DotWalk walk = CurveDots();
    std::int64_t from = walk.in, to = walk.out;
    if (m_dPixelPreFrame > 0.0 && std::isfinite(m_dPixelPreFrame)) {
        CRect clip;
        dc->GetClipBox(&clip);
        from = std::max<std::int64_t>(from, static_cast<std::int64_t>(PixelToFrameX(clip.left, 0)) - 1);
        to = std::min<std::int64_t>(to, static_cast<std::int64_t>(PixelToFrameX(clip.right, 0)) + 1);
    }
    // The first frame at or after `from` on the walk's lattice, so the dots are the same.
    const std::int64_t start = walk.in + std::max<std::int64_t>(0, from - walk.in + walk.stride - 1) / walk.stride * walk.stride;
    // A frame is evaluated only when its column shows: two strips far apart (the current
    // frame's old and new line) cost their own columns, not the columns between them.
    int column = 0;
    bool columnShows = false, columnKnown = false;
    for (std::int64_t f = start; f <= to; f += walk.stride) {
        const int frame = static_cast<int>(f);
        const int x = FrameToPixelX(frame, 0);
        if (!columnKnown || x != column) {
            const CRect line(x, client.top, x + 1, client.bottom);
            column = x;
            columnShows = dc->RectVisible(&line) != FALSE;
            columnKnown = true;
        }
        if (columnShows) dc->SetPixel(x, ValueToPixelY(m_view.Of(*m_pKFList).InsValue(frame)), kCurveDotColor);
    }
}

void CKivFXInsKeyFrmWnd::DrawKeyFrmArray(CDC* dc) {
    if (!dc || !m_pKFList) return;
    KivFXGatheredKeys<CKivFXValueKeyFrm> keys;
    keys.Gather(
        *m_pKFList, [](const CKivFXValueKeyFrm& k) { return static_cast<double>(k.Frame); },
        [](const CKivFXValueKeyFrm& k) { return std::max(std::fabs(std::trunc(k.PtFore.PosOffset)), std::fabs(std::trunc(k.PtAfter.PosOffset))); });
    CRect clip;
    dc->GetClipBox(&clip);
    // The frames a note square or its handle's end can show in: a frame and its square's
    // reach either side of the clip (any frame when the scale does not grow to the right).
    constexpr int kReach = 3;
    const bool rising = m_dPixelPreFrame > 0.0 && std::isfinite(m_dPixelPreFrame);
    const double lo = rising ? static_cast<double>(PixelToFrameX(clip.left - kReach, 0)) - 1.0 : -INFINITY;
    const double hi = rising ? static_cast<double>(PixelToFrameX(clip.right + kReach, 0)) + 1.0 : INFINITY;
    const auto [first, last] = keys.Within(lo, hi);
    KivFXNoteBatch batch(clip);
    KivFXAddNotes(batch, keys, {first, last}, m_pKFList->InsMode, [this](CKivFXValueKeyFrm* k, CPoint* out) { CalcuBezierPoints(out, k); });
    batch.Draw(*dc);
}

void CKivFXInsKeyFrmWnd::DrawKeyFrmNote(CDC* dc, CKivFXValueKeyFrm* keyframe, int kind) {
    if (!dc || !keyframe) return;
    CPoint pts[3];
    CalcuBezierPoints(pts, keyframe);
    KivFXDrawKeyFrmNote(*dc, pts, keyframe->IsSelect() != 0, kind);
}
