#include "KfxColourDialogSlot.h"

#include <algorithm>
#include <cmath>

#include "keyfrm/core/KivFXKeyFrmList.h"
#include "keyfrm/editors/KivFXEditorMessages.h"
#include "keyfrm/tracks/KivFXTracks.h"

namespace {

// The dialog's four edits, red to alpha.
constexpr int kFirstEditId = 1005;
constexpr int kEditCount = 4;

BYTE ToByte(double v) { return static_cast<BYTE>(std::clamp(std::lround(v), 0L, 255L)); }

}  // namespace

bool KfxColourDialogSlot::Create(CWnd& host, CKivObList& track, const KfxEditTime& time) {
    m_track = static_cast<CKivFXColor32KeyFrmList*>(&track);
    m_time = time;
    m_dialog.SetFXClrList(m_track);
    m_dialog.SetBuildEditor(1);
    if (!m_dialog.Create(&host)) return false;
    m_dialog.UpCurLocation(time.Location());
    m_dialog.ShowWindow(SW_SHOW);
    return true;
}

void KfxColourDialogSlot::Layout(const CRect& area) { m_dialog.MoveWindow(&area, TRUE); }

KfxEditorNotice KfxColourDialogSlot::Route(UINT msg, WPARAM wParam, LPARAM lParam) {
    KfxEditorNotice notice;
    if (msg == 0 || msg != KivFXEditorMessages().modifyFromClrKFDlg) return notice;
    notice.handled = true;
    notice.finished = wParam == 1;
    notice.frameMoved = lParam == 1;
    // The dialog's location is continuous; the host's frame is the one nearest it.
    notice.frame = m_time.FrameOf(m_dialog.GetCurLocation());
    if (notice.frameMoved) m_time.frame = notice.frame;
    notice.detail = notice.finished ? L"colours changed in the dialog" : notice.frameMoved ? L"current location moved in the dialog" : L"";
    return notice;
}

void KfxColourDialogSlot::SetTime(const KfxEditTime& time) {
    m_time = time;
    m_dialog.UpCurLocation(time.Location());
}

std::vector<KfxValueField> KfxColourDialogSlot::Fields() const {
    return {KfxValueField{L"R", 0, 255, 0}, KfxValueField{L"G", 0, 255, 0}, KfxValueField{L"B", 0, 255, 0},
            KfxValueField{L"A", 0, 255, 0}};
}

KfxEditReading KfxColourDialogSlot::Read() const {
    KfxEditReading reading;
    if (!m_track) return reading;
    // The dialog's own current location: it may lie between the host's frames.
    const double location = m_dialog.GetCurLocation();
    BYTE r = 255, g = 255, b = 255, a = 255;
    m_track->InsValue(location, r, g, b, a);
    reading.values = {double(r), double(g), double(b), double(a)};
    reading.onKeyFrame = KivFXKeyFrmIsPoint(location, m_track) != 0;
    return reading;
}

bool KfxColourDialogSlot::SendValues(const std::vector<double>& v) {
    if (!m_track || v.size() != kEditCount || IsBusy()) return false;
    const double location = m_dialog.GetCurLocation();
    const bool taken = m_track->SendKeyFrmValue(location, ToByte(v[0]), ToByte(v[1]), ToByte(v[2]), ToByte(v[3])) != nullptr;
    m_dialog.UpCurLocation(location);
    m_dialog.RefurbishWindow();
    return taken;
}

void KfxColourDialogSlot::TrackRestored() {
    m_dialog.SetFXClrList(m_track);
    m_dialog.UpCurLocation(m_dialog.GetCurLocation());
    m_dialog.RefurbishWindow();
}

std::vector<CPoint> KfxColourDialogSlot::KeyFramePoints() const {
    std::vector<CPoint> points;
    const CRect strip = m_dialog.GetKeyFrmStripRect();
    if (!m_track || !m_dialog.m_hWnd || strip.Width() <= 0) return points;
    for (int i = 0; i < m_track->GetKeyFrmCount(); ++i)
        if (const CKivFXColor32KeyFrm* k = m_track->GetFXKeyFrm(i)) {
            CPoint p(strip.left + static_cast<int>(std::lround(k->Location * (strip.Width() - 1))), strip.CenterPoint().y);
            m_dialog.ClientToScreen(&p);
            points.push_back(p);
        }
    return points;
}

CKivAquaEdit* KfxColourDialogSlot::ValueBox(HWND h) {
    for (int id = kFirstEditId; id < kFirstEditId + kEditCount; ++id)
        if (CKivAquaEdit* e = m_dialog.GetAquaEdit(id); e && e->m_hWnd && e->m_hWnd == h) return e;
    return nullptr;
}

std::vector<std::pair<std::wstring, std::wstring>> KfxColourDialogSlot::MouseHelp() const {
    return {{L"Click or drag in the colour field", L"hue and saturation at the current location"},
            {L"Drag the luminance or alpha strip", L"lightness or opacity"},
            {L"Drag a keyframe on the strip", L"when its colour comes"},
            {L"Drag the marker on the strip", L"the current location"},
            {L"R, G, B, A boxes", L"type a value and Enter"}};
}
