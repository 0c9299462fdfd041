// The curve window's painting: background, grid, current-frame line, curve, keyframes and
// frame, in that order.
#include <cstdint>

#include "keyfrm/editors/CKivFXInsKeyFrmWnd.h"
#include "keyfrm/editors/KivFXCurveNotes.h"
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
    const int rows = static_cast<int>(client.Height() / kMeshStep);
    for (int i = 1; i <= rows; ++i) {
        const int y = client.top + static_cast<int>(kMeshStep) * i;
        dc->MoveTo(client.left, y);
        dc->LineTo(client.right, y);
    }
    const int columns = static_cast<int>(client.Width() / kMeshStep);
    for (int j = 1; j <= columns; ++j) {
        const int x = client.left + static_cast<int>(kMeshStep) * j;
        dc->MoveTo(x, client.top);
        dc->LineTo(x, client.bottom);
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
    const DotWalk walk = CurveDots();
    for (std::int64_t f = walk.in; f <= walk.out; f += walk.stride) {
        const int frame = static_cast<int>(f);
        dc->SetPixel(FrameToPixelX(frame, 0), ValueToPixelY(m_pKFList->InsValue(frame)), kCurveDotColor);
    }
}

void CKivFXInsKeyFrmWnd::DrawKeyFrmArray(CDC* dc) {
    if (!dc || !m_pKFList) return;
    const int count = m_pKFList->GetKeyFrmCount();
    for (int i = 0; i < count; ++i) DrawKeyFrmNote(dc, m_pKFList->GetFXKeyFrm(i), KivFXNoteKind(i, count, m_pKFList->InsMode));
}

void CKivFXInsKeyFrmWnd::DrawKeyFrmNote(CDC* dc, CKivFXValueKeyFrm* keyframe, int kind) {
    if (!dc || !keyframe) return;
    CPoint pts[3];
    CalcuBezierPoints(pts, keyframe);
    KivFXDrawKeyFrmNote(*dc, pts, keyframe->IsSelect() != 0, kind);
}
