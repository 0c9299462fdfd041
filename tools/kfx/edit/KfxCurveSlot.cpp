#include "KfxCurveSlot.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "keyfrm/editors/KivFXEditorMessages.h"
#include "keyfrm/tracks/CKivFXInsKeyFrmList.h"
#include "keyfrm/tracks/KivFXHandleModes.h"

namespace {

// The fitted view leaves this share of the story range free on each side.
constexpr int kPadDivisor = 20;
// The wheel: the scale changes by this factor per step, within these bounds; Shift+wheel
// scrolls this share of the width per step.
constexpr double kZoomPerStep = 1.25;
constexpr double kMinPixelsPerFrame = 0.01;
constexpr double kMaxPixelsPerFrame = 400.0;
constexpr double kScrollDivisor = 10.0;

std::wstring KeyFrameName(int index) { return L"keyframe " + std::to_wstring(index + 1); }

}  // namespace

bool KfxCurveSlot::Create(CWnd& host, CKivObList& track, const KfxEditTime& time) {
    m_track = static_cast<CKivFXInsKeyFrmList*>(&track);
    m_time = time;
    // Attached before creation, so the first WM_SIZE scales the track's range to the height.
    m_window.SetKeyFrmList(m_track);
    m_window.SetSignID(kSignId);
    m_window.SetTimeLine(time.frame);
    m_window.SetDuration(time.storyOut - time.storyIn + 1);
    return m_window.Create(WS_CHILD | WS_VISIBLE, &host, CRect(0, 0, 1, 1)) != 0;
}

void KfxCurveSlot::FitView(int width) {
    const long long span = std::max<long long>(1, static_cast<long long>(m_time.storyOut) - m_time.storyIn);
    const long long pad = std::max<long long>(1, span / kPadDivisor);
    m_window.SetScrollPos(static_cast<LONG>(std::max<long long>(INT32_MIN, m_time.storyIn - pad)));
    m_window.SetPixelPreFrame(static_cast<double>(std::max(1, width - 1)) / static_cast<double>(span + 2 * pad));
}

void KfxCurveSlot::Layout(const CRect& area) {
    FitView(area.Width());
    m_window.MoveWindow(&area, TRUE);
    // The scale may have changed with the width alone.
    m_window.Invalidate(TRUE);
}

KfxEditorNotice KfxCurveSlot::Route(UINT msg, WPARAM wParam, LPARAM lParam) {
    const KivFXEditorMessageIds& ids = KivFXEditorMessages();
    KfxEditorNotice notice;
    if (msg == 0) return notice;
    if (msg == ids.modifyFromInsKFWnd) {
        const auto* info = reinterpret_cast<const InsKFWndModifyInfo*>(lParam);
        if (!info || info->nSignID != kSignId) return notice;
        notice.handled = true;
        notice.finished = info->ucPhase == kInsKFWndDragEnded;
        const CKivFXValueKeyFrm* k = m_track ? m_track->GetFXKeyFrm(info->nIndex) : nullptr;
        std::wstring value;
        if (k) value = L" at value " + std::to_wstring(static_cast<int>(std::lround(k->Value)));
        switch (info->ucPhase) {
            case kInsKFWndDragStarted: notice.detail = L"picked " + KeyFrameName(info->nIndex); break;
            case kInsKFWndDragging: notice.detail = L"dragging " + KeyFrameName(info->nIndex) + value; break;
            default: notice.detail = L"dropped " + KeyFrameName(info->nIndex) + value; break;
        }
    } else if (msg == ids.insModeFromInsKFWnd && static_cast<int>(wParam) == kSignId) {
        notice.handled = notice.finished = true;
        notice.detail = lParam == 1 ? L"interpolation now linear" : L"interpolation now Bezier";
    } else if (msg == ids.ctrlModeFromInsKFWnd && static_cast<int>(wParam) == kSignId) {
        notice.handled = notice.finished = true;
        const int mode = m_track ? m_track->CtrlMode : kCtrlModeNone;
        notice.detail = mode == kCtrlModeLinkage    ? L"handles now linked"
                        : mode == kCtrlModeSymmetry ? L"handles now symmetric"
                                                    : L"handles now free";
    }
    return notice;
}

void KfxCurveSlot::SetTime(const KfxEditTime& time) {
    m_time = time;
    m_window.UpdateTimeLine(time.frame);
}

std::vector<KfxValueField> KfxCurveSlot::Fields() const {
    const double lo = m_track ? m_track->MinValue : -1000.0;
    const double hi = m_track ? m_track->MaxValue : 1000.0;
    return {KfxValueField{L"Value", std::min(lo, hi), std::max(lo, hi), 2}};
}

KfxEditReading KfxCurveSlot::Read() const {
    KfxEditReading r;
    if (!m_track) return r;
    if (m_track->IsBaseOnFrame()) {
        r.values = {m_track->InsValue(m_time.frame)};
        r.onKeyFrame = KivFXKeyFrmIsPoint(m_time.frame, m_track) != 0;
    } else {
        r.values = {m_track->InsValue(m_time.Location())};
        r.onKeyFrame = KivFXKeyFrmIsPoint(m_time.Location(), m_track) != 0;
    }
    return r;
}

bool KfxCurveSlot::SendValues(const std::vector<double>& values) {
    if (!m_track || values.empty() || IsBusy()) return false;
    const float v = static_cast<float>(values[0]);
    const CKivFXValueKeyFrm* k = m_track->IsBaseOnFrame() ? m_track->SendKeyFrmValue(m_time.frame, v)
                                                          : m_track->SendKeyFrmValue(m_time.Location(), v);
    m_window.FlushWindow();
    return k != nullptr;
}

bool KfxCurveSlot::IsBusy() const { return m_window.IsDragging() != FALSE; }

void KfxCurveSlot::TrackRestored() {
    // Attaching again drops any dragged keyframe and takes the restored range.
    m_window.SetKeyFrmList(m_track);
    CRect client;
    m_window.GetClientRect(&client);
    m_window.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.Width(), client.Height()));
    m_window.FlushWindow();
}

std::vector<CPoint> KfxCurveSlot::KeyFramePoints() const {
    std::vector<CPoint> points;
    if (!m_track || !m_window.m_hWnd) return points;
    for (int i = 0; i < m_track->GetKeyFrmCount(); ++i)
        if (const CKivFXValueKeyFrm* k = m_track->GetFXKeyFrm(i)) {
            CPoint p(m_window.FrameToPixelX(k->Frame, 0), m_window.ValueToPixelY(k->Value));
            m_window.ClientToScreen(&p);
            points.push_back(p);
        }
    return points;
}

bool KfxCurveSlot::Wheel(CWnd* under, CPoint screenPt, int steps, bool shift) {
    if (under != &m_window || !m_window.m_hWnd) return false;
    CRect client;
    m_window.GetClientRect(&client);
    const double ppf = m_window.GetPixelPreFrame();
    if (shift) {
        // A tenth of the width per step, later in time for a turn toward the person.
        const double frames = std::max(1.0, client.Width() / ppf / kScrollDivisor);
        m_window.SetScrollPos(static_cast<LONG>(std::clamp<double>(m_window.GetScrollPos() - steps * frames, INT32_MIN, INT32_MAX)));
    } else {
        // The frame under the pointer stays under it.
        CPoint p = screenPt;
        m_window.ScreenToClient(&p);
        const double frameAt = m_window.GetScrollPos() + p.x / ppf;
        const double scaled = std::clamp(ppf * std::pow(kZoomPerStep, steps), kMinPixelsPerFrame, kMaxPixelsPerFrame);
        m_window.SetPixelPreFrame(scaled);
        m_window.SetScrollPos(static_cast<LONG>(std::clamp<double>(std::lround(frameAt - p.x / scaled), INT32_MIN, INT32_MAX)));
    }
    m_window.Invalidate(TRUE);
    return true;
}

bool KfxCurveSlot::WouldDrag(const CWnd* under, CPoint screenPt) const {
    if (under != &m_window) return false;
    CPoint p = screenPt;
    m_window.ScreenToClient(&p);
    for (int part : kKfxDragParts)
        if (m_window.IsHitKeyFrm(p, part)) return true;
    return false;
}

std::vector<std::pair<std::wstring, std::wstring>> KfxCurveSlot::MouseHelp() const {
    return {{L"Drag a keyframe (square)", L"up or down: its value"},
            {L"Drag a green or blue handle", L"the shape of the Bezier curve around it"},
            {L"Right-click the curve", L"linear or Bezier; free, linked or symmetric handles"}};
}
