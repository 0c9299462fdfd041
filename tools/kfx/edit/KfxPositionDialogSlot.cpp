#include "KfxPositionDialogSlot.h"

#include <algorithm>

#include "keyfrm/core/KivFXKeyFrmList.h"
#include "keyfrm/editors/KivFXEditorMessages.h"
#include "keyfrm/tracks/KivFXTracks.h"

bool KfxPositionDialogSlot::Create(CWnd& host, CKivObList& track, const KfxEditTime& time) {
    m_track = static_cast<CKivFXPosiKeyFrmList*>(&track);
    m_time = time;
    KfxPlaceOnStory(track, time);
    m_dialog.SetRange(time.storyIn, time.storyOut, m_track);
    m_dialog.SetSignID(kSignIdX, kSignIdY, kSignIdZ);
    if (!m_dialog.Create(&host)) return false;
    m_values.SetBackColor(GetSysColor(COLOR_BTNFACE));
    if (!m_values.CreateEx(0, nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1), &host, kValueWndId)) return false;
    m_dialog.UpTimeLine(time.frame);
    m_dialog.ShowWindow(SW_SHOW);
    ShowValues();
    return true;
}

void KfxPositionDialogSlot::Layout(const CRect& area) {
    const int split = std::max<int>(area.top, area.bottom - kValueWndHeight);
    const CRect dialog(area.left, area.top, area.right, split);
    const CRect values(area.left, split, area.right, area.bottom);
    m_dialog.MoveWindow(&dialog, TRUE);
    m_values.MoveWindow(&values, TRUE);
    // The coordinate window lays its edits out from the right, X first, so they read Z, Y, X;
    // a person reads X, Y, Z: X and Z trade places.
    CKivAquaEdit& x = m_values.EditX();
    CKivAquaEdit& z = m_values.EditZ();
    if (x.m_hWnd && z.m_hWnd) {
        CRect rx, rz;
        x.GetWindowRect(&rx);
        z.GetWindowRect(&rz);
        if (rx.left > rz.left) {
            m_values.ScreenToClient(&rx);
            m_values.ScreenToClient(&rz);
            x.MoveWindow(&rz, TRUE);
            z.MoveWindow(&rx, TRUE);
        }
    }
}

KfxEditorNotice KfxPositionDialogSlot::Route(UINT msg, WPARAM wParam, LPARAM lParam) {
    KfxEditorNotice notice;
    if (msg == 0 || !m_track) return notice;
    if (msg == WM_COMMAND && LOWORD(static_cast<DWORD_PTR>(wParam)) == kValueWndId) {
        notice.handled = true;
        if (HIWORD(static_cast<DWORD_PTR>(wParam)) != CEN_VALUE_CHANGED || IsBusy()) return notice;
        double x = 0, y = 0, z = 0;
        m_values.GetValue(x, y, z);
        notice.finished = SendValues({x, y, z});
        notice.detail = L"position typed at frame " + std::to_wstring(m_time.frame);
        return notice;
    }
    if (msg != KivFXEditorMessages().modifyFromPosiKFDlg) return notice;
    const auto* info = reinterpret_cast<const PosiKFDlgModifyInfo*>(lParam);
    if (!info || info->nSignIDX != kSignIdX) return notice;
    notice.handled = true;
    notice.finished = info->bTrackChanged != 0;
    notice.frameMoved = info->bFrameChanged != 0;
    notice.frame = m_dialog.GetCurFrame();
    KfxFramesForSaving(*m_track, m_time);
    if (notice.frameMoved) m_time.frame = notice.frame;
    if (notice.finished)
        notice.detail = L"path changed in the dialog";
    else if (notice.frameMoved)
        notice.detail = L"current frame moved in the dialog";
    else if (m_dialog.IsDragging())
        notice.detail = L"dragging in the dialog";
    m_values.SetValue(info->fX, info->fY, info->fZ);
    m_values.SetValueState(info->bOnKeyFrm ? CKivAquaEdit::CE_VALUE_KEYFRAME : CKivAquaEdit::CE_VALUE_NORMAL);
    return notice;
}

void KfxPositionDialogSlot::SetTime(const KfxEditTime& time) {
    m_time = time;
    m_dialog.UpTimeLine(time.frame);
    ShowValues();
}

void KfxPositionDialogSlot::ShowValues() {
    if (!m_values.m_hWnd) return;
    const KfxEditReading r = Read();
    if (r.values.size() != 3) return;
    m_values.SetValue(r.values[0], r.values[1], r.values[2]);
    m_values.SetValueState(r.onKeyFrame ? CKivAquaEdit::CE_VALUE_KEYFRAME : CKivAquaEdit::CE_VALUE_NORMAL);
}

std::vector<KfxValueField> KfxPositionDialogSlot::Fields() const {
    if (!m_track) return {};
    const CKivFXPosiKeyFrmList& t = *m_track;
    return {KfxValueField{L"X", std::min(t.MinX, t.MaxX), std::max(t.MinX, t.MaxX), 1},
            KfxValueField{L"Y", std::min(t.MinY, t.MaxY), std::max(t.MinY, t.MaxY), 1},
            KfxValueField{L"Z", std::min(t.MinZ, t.MaxZ), std::max(t.MinZ, t.MaxZ), 1}};
}

KfxEditReading KfxPositionDialogSlot::Read() const {
    KfxEditReading r;
    if (!m_track) return r;
    float x = 0, y = 0, z = 0;
    if (m_track->IsBaseOnFrame()) {
        m_track->InsValue(m_time.frame, x, y, z);
        r.onKeyFrame = KivFXKeyFrmIsPoint(m_time.frame, m_track) != 0;
    } else {
        m_track->InsValue(m_time.Location(), x, y, z);
        r.onKeyFrame = KivFXKeyFrmIsPoint(m_time.Location(), m_track) != 0;
    }
    r.values = {x, y, z};
    return r;
}

bool KfxPositionDialogSlot::SendValues(const std::vector<double>& v) {
    if (!m_track || v.size() != 3 || IsBusy()) return false;
    const std::vector<KfxValueField> fields = Fields();
    auto in = [&](size_t i) { return static_cast<float>(std::clamp(v[i], fields[i].min, fields[i].max)); };
    m_dialog.SendCurKFValue(in(0), in(1), in(2), 0);
    KfxFramesForSaving(*m_track, m_time);
    ShowValues();
    return KivFXKeyFrmIsPoint(m_time.Location(), m_track) != 0;
}

void KfxPositionDialogSlot::TrackRestored() {
    // A restored snapshot may be the file as opened, before its keyframes were placed.
    KfxPlaceOnStory(*m_track, m_time);
    // Attaching again drops any dragged keyframe and takes the restored range.
    m_dialog.SetRange(m_time.storyIn, m_time.storyOut, m_track);
    m_dialog.UpStoryInOut(m_time.storyIn, m_time.storyOut);
    m_dialog.UpTimeLine(m_time.frame);
    m_dialog.Invalidate(TRUE);
    ShowValues();
}

std::vector<CPoint> KfxPositionDialogSlot::KeyFramePoints() const {
    std::vector<CPoint> points;
    if (!m_track || !m_dialog.m_hWnd) return points;
    for (int i = 0; i < m_track->GetKeyFrmCount(); ++i)
        if (CKivFXPosiKeyFrm* k = m_track->GetFXKeyFrm(i)) {
            CPoint p = m_dialog.GetKeyFrmRect(k, 0).CenterPoint();
            m_dialog.ClientToScreen(&p);
            points.push_back(p);
        }
    return points;
}

CKivAquaEdit* KfxPositionDialogSlot::ValueBox(HWND h) {
    for (CKivAquaEdit* e : {&m_values.EditX(), &m_values.EditY(), &m_values.EditZ()})
        if (e->m_hWnd && e->m_hWnd == h) return e;
    return nullptr;
}

bool KfxPositionDialogSlot::Wheel(CWnd* under, CPoint, int steps, bool shift) {
    if (shift || !KfxIsWithin(under, m_dialog)) return false;
    KfxZoomDialog(m_dialog, steps);
    return true;
}

bool KfxPositionDialogSlot::WouldDrag(const CWnd* under, CPoint screenPt) const {
    if (under != &m_dialog) return false;
    CPoint p = screenPt;
    m_dialog.ScreenToClient(&p);
    if (m_dialog.IsHitTimeRuler(p) || m_dialog.IsHitTimeNote(p)) return true;
    for (int part : kKfxDragParts)
        if (m_dialog.IsHitKeyFrm(p, part)) return true;
    return false;
}

std::vector<std::pair<std::wstring, std::wstring>> KfxPositionDialogSlot::MouseHelp() const {
    return {{L"Drag a keyframe (square)", L"its position in the frame"},
            {L"Drag a handle", L"the shape of the path around it"},
            {L"Drag a square on the time strip", L"when the keyframe comes"},
            {L"Right-click", L"add or delete keyframes, interpolation, handles, zoom"},
            {L"X, Y, Z boxes", L"type a value and Enter: the keyframe at the current frame takes it"}};
}
