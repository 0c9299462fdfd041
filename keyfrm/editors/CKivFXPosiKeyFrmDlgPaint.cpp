// The position dialog's painting over the skin, in this order: the X-Y frame (and the video
// outline with show limit), the title with the track's range, the time strip with its frame
// scale, the current-frame marker, the keyframes' time squares, the path, the keyframes
// with their handles, the current position, and the client frame.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_set>

#include "keyfrm/editors/CKivFXPosiKeyFrmDlg.h"
#include "keyfrm/editors/KivFXCurveNotes.h"
#include "keyfrm/editors/KivFXPixelMath.h"
#include "keyfrm/editors/KivFXVisibleNotes.h"
#include "keyfrm/tracks/CKivFXPosiKeyFrmList.h"
#include "platform/ui/DC.h"

namespace {

constexpr COLORREF kXYFrameColor = RGB(0, 196, 196);
constexpr COLORREF kVideoFrameColor = RGB(200, 0, 0);
constexpr COLORREF kTitleText = RGB(0, 98, 196);
// The text cells of the title and the strip's labels.
constexpr COLORREF kLabelBack = RGB(161, 158, 156);
constexpr COLORREF kStripText = RGB(255, 255, 255);
constexpr COLORREF kStripLine = RGB(0, 0, 0);
constexpr COLORREF kTimeNoteColor = RGB(0, 0, 220);
constexpr COLORREF kDraggedNoteColor = RGB(255, 0, 0);
constexpr COLORREF kPathColor = RGB(255, 255, 255);
constexpr COLORREF kClientFrameColor = RGB(0, 0, 0);
// Pixels a segment's box of the path grows by for the rounding of its evaluation.
constexpr int kSegmentBoxSlack = 2;
// Dots the path spends on a pixel of a segment's length at most.
constexpr std::int64_t kPathDotsPerPixel = 4;

// The frame scale hangs up from the strip's bottom line; labels stand on the long ticks.
KivFXFrameScaleLook StripScaleLook() {
    KivFXFrameScaleLook look;
    look.longTick = 6;
    look.mediumTick = 4;
    look.shortTick = 2;
    look.labelHalfWidth = 15;
    look.labelTop = 21;
    look.labelBottom = 6;
    return look;
}

}  // namespace

void CKivFXPosiKeyFrmDlg::OnPaint() {
    CPaintDC dc(this);
    KivSaveDC saved(dc);
    dc.SelectObject(&m_parts.font);
    {
        CBrush frame(kXYFrameColor);
        dc.FrameRect(&m_rcXY, &frame);
        if (m_bShowLimit) {
            // The video frame belongs to the view: only its part inside the view shows.
            KivSaveDC clipped(dc);
            dc.IntersectClipRect(&m_rcXY);
            CBrush video(kVideoFrameColor);
            dc.FrameRect(&m_rcVideo, &video);
        }
    }
    DrawTitle(&dc);
    DrawTimeLine(&dc);
    DrawTimeRuler(&dc);
    // The keyframes gathered and their points mapped once for the strip, the path and the notes.
    const std::vector<CKivFXPosiKeyFrm*> keys = KeyFrames();
    DrawTimeKeyFrmNote(dc, keys);
    {
        KivSaveDC clipped(dc);
        dc.IntersectClipRect(&m_rcXY);
        if (m_pKFList) {
            const std::vector<KivFXNotePoints> points = NotePoints(keys);
            DrawKeyFrmLine(dc, keys, points);
            DrawKeyFrmArray(dc, keys, points);
        }
        DrawCurPosi(&dc);
    }
    CRect client;
    GetClientRect(&client);
    dc.Draw3dRect(&client, kClientFrameColor, kClientFrameColor);
}

void CKivFXPosiKeyFrmDlg::DrawTitle(CDC* dc) {
    if (!dc) return;
    KivSaveDC saved(*dc);
    dc->SetTextColor(kTitleText);
    dc->SetBkColor(kLabelBack);
    CString text;
    text.Format(L"(%d,%d,%d), (%d,%d,%d)", KivTruncToInt(m_fMaxX), KivTruncToInt(m_fMaxY), KivTruncToInt(m_fMaxZ),
                KivTruncToInt(m_fMinX), KivTruncToInt(m_fMinY), KivTruncToInt(m_fMinZ));
    CRect r = m_rcTitle;
    dc->DrawText(text, &r, DT_VCENTER | DT_SINGLELINE);
}

void CKivFXPosiKeyFrmDlg::DrawTimeLine(CDC* dc) {
    if (!dc) return;
    CPen pen(PS_SOLID, 1, kStripLine);
    KivSaveDC saved(*dc);
    dc->SelectObject(&pen);
    dc->SetBkColor(kLabelBack);
    dc->SetTextColor(kStripText);
    const int bottom = m_rcTimeStrip.bottom;
    dc->MoveTo(FrameToPixel(m_range.in), bottom);
    dc->LineTo(FrameToPixel(m_range.out), bottom);
    if (!m_bShowScale) return;
    KivFXDrawFrameScale(*dc, m_range, KivFXScaleStep(m_fFramesPerPixel), bottom, StripScaleLook(),
                        [this](int frame) { return FrameToPixel(frame); });
}

void CKivFXPosiKeyFrmDlg::DrawTimeRuler(CDC* dc) {
    if (!dc) return;
    KivFXDrawTimeRuler(*dc, m_parts.marker, GetTimeRulerRect(), m_rcTimeStrip.bottom);
}

void CKivFXPosiKeyFrmDlg::DrawTimeKeyFrmNote(CDC* dc) {
    if (dc) DrawTimeKeyFrmNote(*dc, KeyFrames());
}

void CKivFXPosiKeyFrmDlg::DrawTimeKeyFrmNote(CDC& dc, const std::vector<CKivFXPosiKeyFrm*>& keys) {
    // The squares that reach the clip, by bisection when the keyframes stand in time order.
    CRect clip;
    dc.GetClipBox(&clip);
    const bool ordered =
        std::none_of(keys.begin(), keys.end(), [](const CKivFXPosiKeyFrm* k) { return std::isnan(k->Location); }) &&
        std::is_sorted(keys.begin(), keys.end(), [](const CKivFXPosiKeyFrm* a, const CKivFXPosiKeyFrm* b) { return a->Location < b->Location; });
    auto first = keys.begin(), last = keys.end();
    if (ordered) {
        first = std::partition_point(keys.begin(), keys.end(), [&](CKivFXPosiKeyFrm* k) { return GetTimeNoteRect(k).right <= clip.left; });
        last = std::partition_point(first, keys.end(), [&](CKivFXPosiKeyFrm* k) { return GetTimeNoteRect(k).left < clip.right; });
    }
    // All squares stand on one row: a later one at the same place covers an earlier whole.
    // In time order the places never decrease, so a place taken is the last one taken.
    std::vector<std::pair<CKivFXPosiKeyFrm*, CRect>> shown;
    std::unordered_set<int> taken;
    for (auto it = last; it != first;) {
        --it;
        const CRect square = GetTimeNoteRect(*it);
        const bool fresh = ordered ? shown.empty() || shown.back().second.left != square.left : taken.insert(square.left).second;
        if (fresh) shown.emplace_back(*it, square);
    }
    CKivFXPosiKeyFrm* dragged = DraggedKF();
    std::vector<CDC::SolidFill> fills;
    fills.reserve(shown.size());
    for (auto it = shown.rbegin(); it != shown.rend(); ++it)
        fills.push_back(CDC::SolidFill{it->second, it->first == dragged ? kDraggedNoteColor : kTimeNoteColor});
    dc.FillSolidRects(fills.data(), fills.size());
}

void CKivFXPosiKeyFrmDlg::DrawKeyFrmLine(CDC* dc) {
    if (!dc || !m_pKFList) return;
    const std::vector<CKivFXPosiKeyFrm*> keys = KeyFrames();
    DrawKeyFrmLine(*dc, keys, NotePoints(keys));
}

void CKivFXPosiKeyFrmDlg::DrawKeyFrmLine(CDC& dcRef, const std::vector<CKivFXPosiKeyFrm*>& keys, const std::vector<KivFXNotePoints>& points) {
    CDC* dc = &dcRef;
    if (keys.size() < 2) return;
    // 64-bit frames: a path ending near the int limits must not overflow the walk, and one
    // spanning more frames than kMaxPathDots is walked in even steps.
    const std::int64_t first = m_range.GetSBFrame(keys.front()->Location);
    const std::int64_t last = m_range.GetSBFrame(keys.back()->Location);
    const std::int64_t step = std::max<std::int64_t>(1, (last - first) / kMaxPathDots + 1);
    const XYMap map = MapXY();
    auto walk = [&](std::int64_t from, std::int64_t to, std::int64_t stride) {
        const std::int64_t start = first + std::max<std::int64_t>(0, from - first + stride - 1) / stride * stride;
        for (std::int64_t f = start; f <= to; f += stride) {
            float x = 0.0f, y = 0.0f, z = 0.0f;
            m_view.Of(*m_pKFList).InsValue(m_range.GetLocation(static_cast<int>(f)), x, y, z);
            dc->SetPixel(map(x, y), kPathColor);
        }
    };
    const std::vector<CRect> boxes = SegmentBoxes(keys, points);
    if (boxes.empty()) {
        walk(first, last, step);
        return;
    }
    // Segment by segment, evaluated only where its box shows: a frame at a segment's end may
    // round to either neighbour, so each takes its neighbours' boxes along.
    const std::size_t n = boxes.size();
    CRect clipBox, common;
    dc->GetClipBox(&clipBox);
    for (std::size_t j = 0; j < n; ++j) {
        CRect reach = boxes[j];
        if (j > 0) reach.UnionRect(reach, boxes[j - 1]);
        if (j + 1 < n) reach.UnionRect(reach, boxes[j + 1]);
        // The clip's box first: most segments of a partial paint lie wholly outside it.
        if (!common.IntersectRect(reach, clipBox) || !dc->RectVisible(&reach)) continue;
        const std::int64_t from = m_range.GetSBFrame(keys[j]->Location);
        const std::int64_t to = j + 1 < n ? static_cast<std::int64_t>(m_range.GetSBFrame(keys[j + 1]->Location)) - 1 : last;
        // A segment is no longer than three times its box's width and height together: a
        // few dots a pixel of it draw it whole, however many frames it spans.
        const std::int64_t budget =
            kPathDotsPerPixel * 3 * (static_cast<std::int64_t>(boxes[j].Width()) + boxes[j].Height()) + kPathDotsPerPixel;
        walk(from, to, std::max(step, (to - from + 1 + budget - 1) / budget));
    }
}

// A segment of the path lies within the box of its ends and, in Bezier mode, its two inner
// handles' ends (the notes' points). That holds for keyframes in location order with finite
// values.
bool CKivFXPosiKeyFrmDlg::PathHasBoxes(const std::vector<CKivFXPosiKeyFrm*>& keys) const {
    const bool bezier = m_pKFList->InsMode != 0;
    const auto finite = [](float x, float y) { return std::isfinite(x) && std::isfinite(y); };
    for (std::size_t j = 0; j < keys.size(); ++j) {
        const CKivFXPosiKeyFrm& k = *keys[j];
        if (j > 0 && !(keys[j - 1]->Location <= k.Location)) return false;
        if (!finite(k.PosiX, k.PosiY)) return false;
        // The inner handles only: the first keyframe's fore and the last one's after bound nothing.
        if (bezier && j > 0 && !finite(k.PosiX + k.Fore.X, k.PosiY + k.Fore.Y)) return false;
        if (bezier && j + 1 < keys.size() && !finite(k.PosiX + k.After.X, k.PosiY + k.After.Y)) return false;
    }
    return true;
}

CRect CKivFXPosiKeyFrmDlg::SegmentBox(const KivFXNotePoints& a, const KivFXNotePoints& b) const {
    const CPoint ends[4] = {a[1], b[1], a[2], b[0]};
    const int count = m_pKFList->InsMode != 0 ? 4 : 2;
    CRect box(ends[0].x, ends[0].y, ends[0].x + 1, ends[0].y + 1);
    for (int i = 1; i < count; ++i) {
        box.left = std::min<LONG>(box.left, ends[i].x);
        box.top = std::min<LONG>(box.top, ends[i].y);
        box.right = std::max<LONG>(box.right, ends[i].x + 1);
        box.bottom = std::max<LONG>(box.bottom, ends[i].y + 1);
    }
    // Rounding of the evaluation and of the mapping.
    box.InflateRect(kSegmentBoxSlack, kSegmentBoxSlack);
    return box;
}

std::vector<CRect> CKivFXPosiKeyFrmDlg::SegmentBoxes(const std::vector<CKivFXPosiKeyFrm*>& keys,
                                                     const std::vector<KivFXNotePoints>& points) const {
    std::vector<CRect> boxes;
    if (!PathHasBoxes(keys)) return boxes;
    boxes.reserve(keys.size());
    for (std::size_t j = 0; j + 1 < keys.size(); ++j) boxes.push_back(SegmentBox(points[j], points[j + 1]));
    return boxes;
}

void CKivFXPosiKeyFrmDlg::DrawKeyFrmArray(CDC* dc) {
    if (!dc || !m_pKFList) return;
    const std::vector<CKivFXPosiKeyFrm*> keys = KeyFrames();
    DrawKeyFrmArray(*dc, keys, NotePoints(keys));
}

void CKivFXPosiKeyFrmDlg::DrawKeyFrmArray(CDC& dc, const std::vector<CKivFXPosiKeyFrm*>& keys, const std::vector<KivFXNotePoints>& points) {
    const int count = static_cast<int>(keys.size());
    CRect clip;
    dc.GetClipBox(&clip);
    KivFXNoteBatch batch(clip);
    batch.Reserve(keys.size());
    for (int i = 0; i < count; ++i) {
        const auto at = static_cast<std::size_t>(i);
        batch.Add(points[at].data(), keys[at]->IsSelect() != 0, KivFXNoteKind(i, count, m_pKFList->InsMode));
    }
    batch.Draw(dc);
}

void CKivFXPosiKeyFrmDlg::DrawKeyFrmNote(CDC* dc, CKivFXPosiKeyFrm* keyframe, int kind) {
    if (!dc || !keyframe) return;
    CPoint pts[3];
    CalcuBezierPoints(pts, keyframe);
    KivFXDrawKeyFrmNote(*dc, pts, keyframe->IsSelect() != 0, kind);
}

void CKivFXPosiKeyFrmDlg::DrawCurPosi(CDC* dc) {
    if (!dc || !m_pKFList) return;
    float x = 0.0f, y = 0.0f, z = 0.0f;
    m_view.Of(*m_pKFList).InsValue(GetLocation(m_nCurFrame), x, y, z);
    const CPoint c = XYPoint(x, y);
    const CPoint corners[5] = {{c.x - kCurPosiHalf, c.y - kCurPosiHalf},
                               {c.x + kCurPosiHalf, c.y - kCurPosiHalf},
                               {c.x + kCurPosiHalf, c.y + kCurPosiHalf},
                               {c.x - kCurPosiHalf, c.y + kCurPosiHalf},
                               {c.x - kCurPosiHalf, c.y - kCurPosiHalf}};
    dc->Polyline(corners, 5);
    dc->MoveTo(corners[0]);
    dc->LineTo(corners[2]);
    dc->MoveTo(corners[1]);
    dc->LineTo(corners[3]);
}
