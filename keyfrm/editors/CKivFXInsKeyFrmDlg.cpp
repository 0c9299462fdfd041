// The curve dialog's state, creation, host operations and mapping. Painting is in
// CKivFXInsKeyFrmDlgPaint.cpp, the mouse in CKivFXInsKeyFrmDlgDrag.cpp, the menu and its
// commands in CKivFXInsKeyFrmDlgMenu.cpp.
#include "keyfrm/editors/CKivFXInsKeyFrmDlg.h"

#include <algorithm>
#include <cmath>

#include "keyfrm/core/KivFXKeyFrmList.h"
#include "keyfrm/core/KivFXKeyFrmModule.h"
#include "keyfrm/editors/KivFXCurveNotes.h"
#include "keyfrm/editors/KivFXCurvePointMap.h"
#include "keyfrm/editors/KivFXEditorMessages.h"
#include "keyfrm/editors/KivFXEditorParent.h"
#include "keyfrm/editors/KivFXPixelMath.h"
#include "keyfrm/tracks/CKivFXInsKeyFrmList.h"

IMPLEMENT_DYNCREATE(CKivFXInsKeyFrmDlg, CKivAquaBaseDlg)

namespace {

// The marker's strips leave this many pixels of the client untouched at top and bottom.
constexpr int kStripInset = 2;

}  // namespace

CKivFXInsKeyFrmDlg::CKivFXInsKeyFrmDlg(CWnd* parent) : CKivAquaBaseDlg(kTemplateId, parent) {}

CKivFXInsKeyFrmDlg::CKivFXInsKeyFrmDlg(CKivFXInsKeyFrmList* track, CWnd* parent)
    : CKivAquaBaseDlg(kTemplateId, parent), m_pKFList(track) {}

CKivFXInsKeyFrmDlg::~CKivFXInsKeyFrmDlg() {
    if (m_hWnd) DestroyWindow();
}

int CKivFXInsKeyFrmDlg::Create(CWnd* parent) {
    m_parts.LoadMarker();
    return DlgCreate(KivFXKeyFrmGetModuleHandle(), parent, kTemplateId);
}

BOOL CKivFXInsKeyFrmDlg::OnInitDialog() {
    m_parts.MakeControls(*this);
    CKivAquaBaseDlg::OnInitDialog();
    m_parts.CreateToolTip(*this);
    SendToModifyMsg(0, 0);
    return TRUE;
}

void CKivFXInsKeyFrmDlg::OnOK() {}

void CKivFXInsKeyFrmDlg::OnCancel() {}

void CKivFXInsKeyFrmDlg::DoDataExchange(CDataExchange*) {}

// ---- Host operations --------------------------------------------------------------------

void CKivFXInsKeyFrmDlg::SetRange(int in, int out) {
    m_range = KivFXStoryRange{in, out};
    m_nCurFrame = in;
}

void CKivFXInsKeyFrmDlg::SetRange(AquaEdit_Type type, int in, int out, CKivFXInsKeyFrmList* track) {
    m_editType = type;
    SetRange(in, out);
    AttachTrack(track);
}

void CKivFXInsKeyFrmDlg::SetRange(AquaEdit_Type type, int in, int out, float top, float bottom, float def) {
    m_editType = type;
    SetRange(in, out);
    m_fTopValue = top;
    m_fBottomValue = bottom;
    m_fDefValue = def;
}

void CKivFXInsKeyFrmDlg::AttachTrack(CKivFXInsKeyFrmList* track) {
    // The dragged keyframe belongs to the track shown so far.
    if (track != m_pKFList && m_drag.GetKind() != kDragTimeLine) CancelDrag();
    if (track != m_pKFList) m_followed = FollowedKF{};
    m_pKFList = track;
    if (!track) return;
    m_fTopValue = track->MaxValue;
    m_fBottomValue = track->MinValue;
    m_fDefValue = track->DefValue;
}

void CKivFXInsKeyFrmDlg::UpStoryInOut(int in, int out) {
    m_range = KivFXStoryRange{in, out};
    if (m_nCurFrame < in) m_nCurFrame = in;
    if (m_nCurFrame > out) m_nCurFrame = out;
    CalcuPrePixel();
}

void CKivFXInsKeyFrmDlg::UpTimeLine(int frame) {
    if (frame == m_nCurFrame || !m_range.Contains(frame)) return;
    if (!m_hWnd) {
        m_nCurFrame = frame;
        return;
    }
    InvalidateTimeStrip(FrameToPixelX(m_nCurFrame));
    InvalidateTimeStrip(FrameToPixelX(frame));
    m_nCurFrame = frame;
    UpdateWindow();
}

void CKivFXInsKeyFrmDlg::InvalidateTimeStrip(int x) {
    CRect client;
    GetClientRect(&client);
    const CRect strip(x - HMargin(), client.top + kStripInset, x + HMargin(), client.bottom - kStripInset);
    InvalidateRect(&strip, TRUE);
}

void CKivFXInsKeyFrmDlg::UpShowTL(int show) {
    m_bShowScale = show;
    RepaintNow();
}

void CKivFXInsKeyFrmDlg::UpKeyFrmList(AquaEdit_Type type, CKivFXInsKeyFrmList* track) {
    m_editType = type;
    AttachTrack(track);
    CalcuPrePixel();
    RepaintNow();
    SendToModifyMsg(0, 0);
}

void CKivFXInsKeyFrmDlg::SendCurKFValue(float value, int notify) {
    if (!m_pKFList) return;
    CKivFXInsKeyFrmList& track = *m_pKFList;
    auto set = [&](auto at) { return track.SendKeyFrmValue(at, value); };
    if (CKivFXValueKeyFrm* k = KivFXEditAtFrame(track, m_range, m_nCurFrame, set)) track.SetSelectKF(k, 1);
    RepaintNow();
    if (notify) SendToModifyMsg(1, 0);
}

void CKivFXInsKeyFrmDlg::SendToModifyMsg(int trackChanged, int frameChanged) {
    if (!m_pKFList) return;
    const double location = GetLocation(m_nCurFrame);
    InsKFDlgModifyInfo info{};
    info.fValue = m_pKFList->InsValue(location);
    info.dLocation = location;
    info.nSignID = m_nSignID;
    info.bOnKeyFrm = KivFXIsKeyFrmAtFrame(*m_pKFList, m_range, m_nCurFrame) ? 1 : 0;
    info.bFrameChanged = frameChanged;
    info.bTrackChanged = trackChanged;
    KivFXSendRecordToParent(*this, KivFXEditorMessages().modifyFromInsKFDlg, info);
}

void CKivFXInsKeyFrmDlg::RepaintNow() {
    if (!m_hWnd) return;
    Invalidate(TRUE);
    UpdateWindow();
}

// ---- Mapping ------------------------------------------------------------------------------

double CKivFXInsKeyFrmDlg::GetLocation(int frame) const { return m_range.GetLocation(frame); }

int CKivFXInsKeyFrmDlg::GetSBFrame(double location) const { return m_range.GetSBFrame(location); }

int CKivFXInsKeyFrmDlg::HMargin() const { return static_cast<int>(std::min<UINT>(m_uHMargin, kKivPixelReach)); }

int CKivFXInsKeyFrmDlg::VMargin() const { return static_cast<int>(std::min<UINT>(m_uVMargin, kKivPixelReach)); }

KivFXCurvePointMap CKivFXInsKeyFrmDlg::PointMap() const {
    KivFXCurvePointMap map;
    map.range = m_range;
    map.hMargin = HMargin();
    map.vMargin = VMargin();
    map.framesPerPixel = m_fFramesPerPixel;
    map.topValue = m_fTopValue;
    map.valuePerPixel = m_dValuePerPixel;
    map.handlesInFrames = HandlesInFrames();
    map.framePixels = KivPixelScaler(m_fFramesPerPixel);
    map.valuePixels = KivPixelScaler(m_dValuePerPixel);
    return map;
}

int CKivFXInsKeyFrmDlg::FrameToPixelX(int frame) const { return PointMap().FrameToPixelX(frame); }

int CKivFXInsKeyFrmDlg::LocationToPixelX(double location) const { return PointMap().LocationToPixelX(location); }

int CKivFXInsKeyFrmDlg::ValueToPixelY(float value) const { return PointMap().ValueToPixelY(value); }

int CKivFXInsKeyFrmDlg::PixelToFrameX(int x) const {
    const double steps = std::trunc((static_cast<double>(x) - HMargin()) * m_fFramesPerPixel + 0.5);
    return KivTruncToInt(steps + m_range.in);
}

double CKivFXInsKeyFrmDlg::PixelToLocationX(int x) const { return GetLocation(PixelToFrameX(x)); }

float CKivFXInsKeyFrmDlg::PixelToValueY(int y) const {
    // The half unit is added to the value, not to the pixel count.
    const double offset = (static_cast<double>(y) - VMargin()) * m_dValuePerPixel + 0.5;
    const float v = m_fTopValue - KivToFloat(offset);
    return std::isfinite(v) ? v : KivToFloat(m_fTopValue - offset);
}

void CKivFXInsKeyFrmDlg::CalcuPrePixel() {
    CRect client;
    if (m_hWnd) GetClientRect(&client);
    m_uHMargin = KivFXClampMargin(m_uHMargin, kMarginStep, client.Width());
    m_uVMargin = KivFXClampMargin(m_uVMargin, kMarginStep, client.Height());
    m_rcPlot = client;
    m_rcPlot.DeflateRect(HMargin(), VMargin());
    // A plot of less than one pixel counts as one, so both scales stay finite.
    const float width = static_cast<float>(std::max(1, m_rcPlot.Width()));
    const float height = static_cast<float>(std::max(1, m_rcPlot.Height()));
    m_fFramesPerPixel = static_cast<float>(m_range.SpanFrames()) / width;
    m_fValuePerPixel = (m_fTopValue - m_fBottomValue) / height;
    // In double where the range spans beyond the float range (the float is then infinite).
    m_dValuePerPixel = KivUnitsPerPixel(m_fTopValue, m_fBottomValue, height);
    // Where the followed keyframe was painted is no longer where the new scales put it.
    m_followed = FollowedKF{};
}

void CKivFXInsKeyFrmDlg::OnSize(UINT, int, int) {
    Default();
    CalcuPrePixel();
}

CRect CKivFXInsKeyFrmDlg::GetTimeRulerRect() const {
    const CSize size = m_parts.MarkerSize();
    return KivFXTimeRulerRect(size, FrameToPixelX(m_nCurFrame), m_rcPlot.top - size.cy);
}

CPoint CKivFXInsKeyFrmDlg::PartPoint(const CKivFXValueKeyFrm& k, int part) const { return PointMap().PartPoint(k, part); }

bool CKivFXInsKeyFrmDlg::HandlesInFrames() const { return m_pKFList && m_pKFList->IsBaseOnFrame(); }

double CKivFXInsKeyFrmDlg::HandleLocationOffset(double posOffset) const { return PointMap().HandleLocationOffset(posOffset); }

double CKivFXInsKeyFrmDlg::HandleUnitsAt(int x) const {
    return HandlesInFrames() ? static_cast<double>(PixelToFrameX(x)) : PixelToLocationX(x);
}

double CKivFXInsKeyFrmDlg::HandleUnitsOf(const CKivFXValueKeyFrm& k) const {
    return HandlesInFrames() ? static_cast<double>(GetSBFrame(k.Location)) : k.Location;
}

CRect CKivFXInsKeyFrmDlg::GetKeyFrmRect(CKivFXValueKeyFrm* keyframe, int part) const {
    if (!keyframe) return CRect();
    return KivFXNoteRect(PartPoint(*keyframe, part));
}

void CKivFXInsKeyFrmDlg::CalcuBezierPoints(CPoint* out, CKivFXValueKeyFrm* keyframe) const {
    if (!out || !keyframe) return;
    PointMap().NotePoints(*keyframe, out);
}

void CKivFXInsKeyFrmDlg::CalcuBezierPoints(CPoint* out, CKivFXValueKeyFrm* a, CKivFXValueKeyFrm* b) const {
    if (!out || !a || !b) return;
    out[0] = PartPoint(*a, kKivFXPartKeyFrm);
    out[1] = PartPoint(*a, kKivFXPartAfterPt);
    out[2] = PartPoint(*b, kKivFXPartForePt);
    out[3] = PartPoint(*b, kKivFXPartKeyFrm);
}
