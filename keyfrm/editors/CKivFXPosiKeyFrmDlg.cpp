// The position dialog's state, creation, host operations, layout and mapping. Painting is in
// CKivFXPosiKeyFrmDlgPaint.cpp, the mouse in CKivFXPosiKeyFrmDlgDrag.cpp, the menu and its
// commands in CKivFXPosiKeyFrmDlgMenu.cpp.
#include "keyfrm/editors/CKivFXPosiKeyFrmDlg.h"

#include <algorithm>
#include <cmath>

#include "keyfrm/core/KivFXKeyFrmList.h"
#include "keyfrm/core/KivFXKeyFrmModule.h"
#include "keyfrm/editors/KivFXCurveNotes.h"
#include "keyfrm/editors/KivFXEditorMessages.h"
#include "keyfrm/editors/KivFXEditorParent.h"
#include "keyfrm/editors/KivFXPixelMath.h"
#include "keyfrm/tracks/CKivFXPosiKeyFrmList.h"
#include "kivbase/KivVideoStd.h"

IMPLEMENT_DYNCREATE(CKivFXPosiKeyFrmDlg, CKivAquaBaseDlg)

namespace {

// What the marker's repaint covers on each side of it at least: the old dialogs repainted
// 10 pixels or a margin around it, which a narrow margin or a marker grabbed off its
// centre would not cover.
constexpr int kMarkerReach = 10;
// The labels of the frame scale reach 1 pixel above the strip and the keyframes' time
// squares 3 below its bottom line.
constexpr int kStripLabelOverhang = 1;
constexpr int kStripNoteOverhang = 3;

// A pixel count the window system can hold (a margin beyond it is as good as the limit).
int Pixels(UINT n) { return static_cast<int>(std::min<UINT>(n, kKivPixelReach)); }

}  // namespace

CKivFXPosiKeyFrmDlg::CKivFXPosiKeyFrmDlg(CWnd* parent) : CKivAquaBaseDlg(kTemplateId, parent) {
    const CSize video = CKivVideoStd::GetResSize();
    m_fXViewMin = static_cast<float>(-(video.cx / 2));
    m_fXViewMax = static_cast<float>(video.cx / 2);
    m_fYViewTop = static_cast<float>(video.cy / 2);
    m_fYViewBottom = static_cast<float>(-(video.cy / 2));
}

CKivFXPosiKeyFrmDlg::~CKivFXPosiKeyFrmDlg() {
    if (m_hWnd) DestroyWindow();
}

int CKivFXPosiKeyFrmDlg::Create(CWnd* parent) {
    m_parts.LoadMarker();
    return DlgCreate(KivFXKeyFrmGetModuleHandle(), parent, kTemplateId);
}

BOOL CKivFXPosiKeyFrmDlg::OnInitDialog() {
    m_parts.MakeControls(*this);
    CKivAquaBaseDlg::OnInitDialog();
    m_parts.CreateToolTip(*this);
    SendToModifyMsg(0, 0);
    return TRUE;
}

void CKivFXPosiKeyFrmDlg::OnOK() {}

void CKivFXPosiKeyFrmDlg::OnCancel() {}

void CKivFXPosiKeyFrmDlg::DoDataExchange(CDataExchange*) {}

COLORREF CKivFXPosiKeyFrmDlg::VyFaceColor() const {
    // A middle grey: the white path, the black current position and the blue and red
    // squares all stand out on it.
    return RGB(120, 120, 120);
}

// ---- Host operations --------------------------------------------------------------------

void CKivFXPosiKeyFrmDlg::SetSignID(int x, int y, int z) {
    m_nSignIDX = x;
    m_nSignIDY = y;
    m_nSignIDZ = z;
}

void CKivFXPosiKeyFrmDlg::SetRange(int in, int out, CKivFXPosiKeyFrmList* track) {
    m_range = KivFXStoryRange{in, out};
    m_nCurFrame = in;
    AttachTrack(track);
}

void CKivFXPosiKeyFrmDlg::AttachTrack(CKivFXPosiKeyFrmList* track) {
    // The dragged keyframe belongs to the track shown so far.
    if (track != m_pKFList && DraggedKF()) CancelDrag();
    m_pKFList = track;
    m_view.Drop();
    if (!track) return;
    m_fMaxX = track->MaxX;
    m_fMinX = track->MinX;
    m_fDefX = track->DefX;
    m_fMaxY = track->MaxY;
    m_fMinY = track->MinY;
    m_fDefY = track->DefY;
    m_fMaxZ = track->MaxZ;
    m_fMinZ = track->MinZ;
    m_fDefZ = track->DefZ;
}

void CKivFXPosiKeyFrmDlg::UpStoryInOut(int in, int out) {
    m_range = KivFXStoryRange{in, out};
    if (m_nCurFrame < in) m_nCurFrame = in;
    if (m_nCurFrame > out) m_nCurFrame = out;
    CalcuPrePixel();
}

void CKivFXPosiKeyFrmDlg::UpTimeLine(int frame) {
    if (frame == m_nCurFrame || !m_range.Contains(frame)) return;
    if (!m_hWnd) {
        m_nCurFrame = frame;
        return;
    }
    InvalidateMarker(FrameToPixel(m_nCurFrame));
    InvalidateMarker(FrameToPixel(frame));
    // Of the X-Y view only the current position's mark moves: the path stays as it is.
    InvalidateCurPosi();
    m_nCurFrame = frame;
    InvalidateCurPosi();
    UpdateWindow();
}

void CKivFXPosiKeyFrmDlg::UpShowTL(int show) {
    m_bShowScale = show;
    RepaintNow();
}

void CKivFXPosiKeyFrmDlg::SetShowLimit(int show) {
    if (show == m_bShowLimit) return;
    m_bShowLimit = show;
    CalcuPrePixel();
    RepaintXY();
}

void CKivFXPosiKeyFrmDlg::SendCurKFValue(float x, float y, float z, int notify) {
    if (!m_pKFList) return;
    CKivFXPosiKeyFrmList& track = *m_pKFList;
    auto set = [&](auto at) { return track.SendKeyFrmValue(at, x, y, z); };
    if (CKivFXPosiKeyFrm* k = KivFXEditAtFrame(track, m_range, m_nCurFrame, set)) track.SetSelectKF(k, 1);
    RepaintNow();
    if (notify) SendToModifyMsg(1, 0);
}

void CKivFXPosiKeyFrmDlg::SendToModifyMsg(int trackChanged, int frameChanged) {
    if (!m_pKFList) return;
    const double location = GetLocation(m_nCurFrame);
    PosiKFDlgModifyInfo info{};
    m_view.Of(*m_pKFList).InsValue(location, info.fX, info.fY, info.fZ);
    info.nSignIDX = m_nSignIDX;
    info.nSignIDY = m_nSignIDY;
    info.nSignIDZ = m_nSignIDZ;
    info.dLocation = location;
    info.bOnKeyFrm = KivFXIsKeyFrmAtFrame(*m_pKFList, m_range, m_nCurFrame) ? 1 : 0;
    info.bFrameChanged = frameChanged;
    info.bTrackChanged = trackChanged;
    KivFXSendRecordToParent(*this, KivFXEditorMessages().modifyFromPosiKFDlg, info);
}

// ---- Repainting ---------------------------------------------------------------------------

CRect CKivFXPosiKeyFrmDlg::StripBand() const {
    return CRect(m_rcTimeStrip.left, m_rcTimeStrip.top - kStripLabelOverhang, m_rcTimeStrip.right,
                 m_rcTimeStrip.bottom + kStripNoteOverhang);
}

void CKivFXPosiKeyFrmDlg::InvalidateMarker(int x) {
    const int reach = std::max({kMarkerReach, Pixels(m_uHMargin), m_parts.MarkerSize().cx / 2 + 1});
    const CRect band = StripBand();
    const CRect strip(x - reach, band.top, x + reach, band.bottom);
    InvalidateRect(&strip, TRUE);
}

void CKivFXPosiKeyFrmDlg::InvalidateCurPosi() {
    if (!m_hWnd || !m_pKFList) return;
    float x = 0.0f, y = 0.0f, z = 0.0f;
    m_view.Of(*m_pKFList).InsValue(GetLocation(m_nCurFrame), x, y, z);
    const CPoint c = XYPoint(x, y);
    // The mark's last row and column are its own.
    CRect mark(c.x - kCurPosiHalf, c.y - kCurPosiHalf, c.x + kCurPosiHalf + 1, c.y + kCurPosiHalf + 1);
    if (mark.IntersectRect(mark, m_rcXY)) InvalidateRect(&mark, TRUE);
}

void CKivFXPosiKeyFrmDlg::InvalidateXY() {
    if (m_hWnd) InvalidateRect(&m_rcXY, TRUE);
}

void CKivFXPosiKeyFrmDlg::RepaintXY() {
    if (!m_hWnd) return;
    InvalidateXY();
    UpdateWindow();
}

void CKivFXPosiKeyFrmDlg::InvalidateStripAndXY() {
    if (!m_hWnd) return;
    CRect strip = StripBand();
    // The squares of keyframes at story in and story out stick out of the strip's ends.
    strip.InflateRect(kStripNoteOverhang, 0);
    InvalidateRect(&strip, TRUE);
    InvalidateXY();
    UpdateWindow();
}

void CKivFXPosiKeyFrmDlg::RepaintNow() {
    if (!m_hWnd) return;
    Invalidate(TRUE);
    UpdateWindow();
}

// ---- Layout and mapping -------------------------------------------------------------------

double CKivFXPosiKeyFrmDlg::GetLocation(int frame) const { return m_range.GetLocation(frame); }

int CKivFXPosiKeyFrmDlg::GetSBFrame(double location) const { return m_range.GetSBFrame(location); }

int CKivFXPosiKeyFrmDlg::FrameToPixel(int frame) const {
    return m_rcTimeStrip.left + KivRoundToPixel(KivScaled(static_cast<double>(frame) - m_range.in, m_fFramesPerPixel));
}

int CKivFXPosiKeyFrmDlg::LocationToPixel(double location) const { return FrameToPixel(GetSBFrame(location)); }

int CKivFXPosiKeyFrmDlg::PixelToFrame(int x) const {
    const double steps = std::trunc((static_cast<double>(x) - m_rcTimeStrip.left) * m_fFramesPerPixel + 0.5);
    return KivTruncToInt(steps + m_range.in);
}

double CKivFXPosiKeyFrmDlg::PixelToLocation(int x) const { return GetLocation(PixelToFrame(x)); }

int CKivFXPosiKeyFrmDlg::ValueToPixelX(float value) const { return MapXY().X(value); }

int CKivFXPosiKeyFrmDlg::ValueToPixelY(float value) const { return MapXY().Y(value); }

float CKivFXPosiKeyFrmDlg::PixelToValueX(int x) const {
    // The half unit is added to the value, not to the pixel count.
    return KivToFloat(m_fXViewMin + ((static_cast<double>(x) - m_rcXY.left) * m_dXValuePerPixel + 0.5));
}

float CKivFXPosiKeyFrmDlg::PixelToValueY(int y) const {
    return KivToFloat(m_fYViewTop - ((static_cast<double>(y) - m_rcXY.top) * m_dYValuePerPixel + 0.5));
}

void CKivFXPosiKeyFrmDlg::CalcuPrePixel() {
    CRect client;
    if (m_hWnd) GetClientRect(&client);
    m_uHMargin = KivFXClampMargin(m_uHMargin, kMarginMin, client.Width());
    m_uVMargin = KivFXClampMargin(m_uVMargin, kMarginMin, client.Height());
    const int hm = Pixels(m_uHMargin);
    const int vm = Pixels(m_uVMargin);
    m_rcTitle = CRect(client.left + hm / 2, client.top, client.right - hm, client.top + vm);
    CRect inner = client;
    inner.DeflateRect(hm, vm);
    m_rcTimeStrip = CRect(inner.left, inner.bottom - kStripHeight, inner.right, inner.bottom);
    m_rcXY = CRect(inner.left, inner.top, inner.right, inner.bottom - kStripHeight - kStripGap);

    if (m_bShowLimit) {
        m_fXViewMin = m_fZoomScale * m_fMinX;
        m_fXViewMax = m_fZoomScale * m_fMaxX;
        m_fYViewTop = m_fZoomScale * m_fMaxY;
        m_fYViewBottom = m_fZoomScale * m_fMinY;
    }
    const CSize video = CKivVideoStd::GetResSize();
    const int halfW = video.cx / 2;
    const int halfH = video.cy / 2;
    if (!m_bShowLimit) {
        m_fXViewMin = static_cast<float>(-halfW);
        m_fXViewMax = static_cast<float>(halfW);
        m_fYViewTop = static_cast<float>(halfH);
        m_fYViewBottom = static_cast<float>(-halfH);
    }

    // A strip or view of less than one pixel counts as one, so every scale stays finite.
    const float stripWidth = static_cast<float>(std::max(1, m_rcTimeStrip.Width()));
    const float xyWidth = static_cast<float>(std::max(1, m_rcXY.Width()));
    const float xyHeight = static_cast<float>(std::max(1, m_rcXY.Height()));
    m_fFramesPerPixel = static_cast<float>(m_range.SpanFrames()) / stripWidth;
    m_fXValuePerPixel = (m_fXViewMax - m_fXViewMin) / xyWidth;
    m_fYValuePerPixel = (m_fYViewTop - m_fYViewBottom) / xyHeight;
    // In double where a view spans beyond the float range (the float is then infinite).
    m_dXValuePerPixel = KivUnitsPerPixel(m_fXViewMax, m_fXViewMin, xyWidth);
    m_dYValuePerPixel = KivUnitsPerPixel(m_fYViewTop, m_fYViewBottom, xyHeight);

    m_rcVideo = CRect(ValueToPixelX(static_cast<float>(-halfW)), ValueToPixelY(static_cast<float>(halfH)),
                      ValueToPixelX(static_cast<float>(halfW)), ValueToPixelY(static_cast<float>(-halfH)));
}

void CKivFXPosiKeyFrmDlg::OnSize(UINT, int, int) {
    Default();
    CalcuPrePixel();
}

CRect CKivFXPosiKeyFrmDlg::GetTimeRulerRect() const {
    return KivFXTimeRulerRect(m_parts.MarkerSize(), FrameToPixel(m_nCurFrame), m_rcTimeStrip.top);
}

CRect CKivFXPosiKeyFrmDlg::GetTimeNoteRect(CKivFXPosiKeyFrm* keyframe) const {
    if (!keyframe) return CRect();
    const int x = FrameToPixel(GetSBFrame(keyframe->Location));
    const int y = m_rcTimeStrip.bottom;
    return CRect(x - kStripNoteOverhang, y - kStripNoteOverhang, x + kStripNoteOverhang, y + kStripNoteOverhang);
}

CPoint CKivFXPosiKeyFrmDlg::PartPoint(const CKivFXPosiKeyFrm& k, int part) const {
    if (part == kKivFXPartKeyFrm) return XYPoint(k.PosiX, k.PosiY);
    const SKivFXPosiHandle& h = part == kKivFXPartForePt ? k.Fore : k.After;
    return XYPoint(k.PosiX + h.X, k.PosiY + h.Y);
}

std::vector<KivFXNotePoints> CKivFXPosiKeyFrmDlg::NotePoints(const std::vector<CKivFXPosiKeyFrm*>& keys) const {
    const XYMap map = MapXY();
    std::vector<KivFXNotePoints> points;
    points.reserve(keys.size());
    for (const CKivFXPosiKeyFrm* k : keys) points.push_back(NotePointsOf(*k, map));
    return points;
}

KivFXNotePoints CKivFXPosiKeyFrmDlg::NotePointsOf(const CKivFXPosiKeyFrm& k, const XYMap& map) const {
    // As PartPoint maps each part.
    return {map(k.PosiX + k.Fore.X, k.PosiY + k.Fore.Y), map(k.PosiX, k.PosiY), map(k.PosiX + k.After.X, k.PosiY + k.After.Y)};
}

CRect CKivFXPosiKeyFrmDlg::GetKeyFrmRect(CKivFXPosiKeyFrm* keyframe, int part) const {
    if (!keyframe) return CRect();
    return KivFXNoteRect(PartPoint(*keyframe, part));
}

void CKivFXPosiKeyFrmDlg::CalcuBezierPoints(CPoint* out, CKivFXPosiKeyFrm* keyframe) const {
    if (!out || !keyframe) return;
    out[0] = PartPoint(*keyframe, kKivFXPartForePt);
    out[1] = PartPoint(*keyframe, kKivFXPartKeyFrm);
    out[2] = PartPoint(*keyframe, kKivFXPartAfterPt);
}

std::vector<CKivFXPosiKeyFrm*> CKivFXPosiKeyFrmDlg::KeyFrames() const {
    std::vector<CKivFXPosiKeyFrm*> keys;
    if (!m_pKFList) return keys;
    keys.reserve(static_cast<size_t>(m_pKFList->GetCount()));
    for (POSITION pos = m_pKFList->GetHeadPosition(); pos;) {
        CObject* o = m_pKFList->GetNext(pos);
        if (o && o->IsKindOf(RUNTIME_CLASS(CKivFXPosiKeyFrm))) keys.push_back(static_cast<CKivFXPosiKeyFrm*>(o));
    }
    return keys;
}
