// The curve window: a child window showing one scalar track as a value curve over frames,
// where a person drags a keyframe's value or its Bezier handles and switches the track's
// interpolation kind and handle coupling from a right-button menu. It tells its parent
// through three registered messages (KivFXEditorMessages.h).
#pragma once

#include <cstdint>

#include "keyfrm/editors/KivFXDragController.h"
#include "keyfrm/editors/KivFXHeldView.h"
#include "kivbase/gui/KivAquaEditTypes.h"
#include "platform/ui/Region.h"
#include "platform/ui/Wnd.h"

class CKivFXInsKeyFrmList;
class CKivFXValueKeyFrm;

/// What "WM_MODIFY_FROM_INSKFWND" carries in lParam (valid only during the call): 12 bytes.
struct InsKFWndModifyInfo {
    int nIndex;             // zero-based position of the dragged keyframe in the track
    int nSignID;            // the window's sign id
    unsigned char ucPhase;  // kInsKFWndDragStarted, kInsKFWndDragging or kInsKFWndDragEnded
};
static_assert(sizeof(InsKFWndModifyInfo) == 12, "hosts read the record as 12 bytes");

constexpr unsigned char kInsKFWndDragStarted = 0;
constexpr unsigned char kInsKFWndDragging = 1;
constexpr unsigned char kInsKFWndDragEnded = 2;

class CKivFXInsKeyFrmWnd : public CWnd {
    DECLARE_DYNCREATE(CKivFXInsKeyFrmWnd)
public:
    /// The control id Create gives the window.
    static constexpr UINT kControlId = 130;
    /// Pixels between the top value and the client's top edge, and between the bottom
    /// value and the bottom edge.
    static constexpr int kMargin = 4;
    /// Drag kinds.
    static constexpr int kDragNone = -1;
    static constexpr int kDragKeyFrm = 1;
    static constexpr int kDragForePt = 2;
    static constexpr int kDragAfterPt = 3;
    /// Parts of a keyframe for GetKeyFrmRect and IsHitKeyFrm.
    static constexpr int kPartKeyFrm = 0;
    static constexpr int kPartForePt = 1;
    static constexpr int kPartAfterPt = 2;

    /// No window and no track; scale 1 pixel per frame, values -1000 to 1000.
    CKivFXInsKeyFrmWnd();
    ~CKivFXInsKeyFrmWnd() override;

    using CWnd::Create;
    /// Creates the window (default class, no title, control id 130) with style and rect in
    /// parent, and gives it the parent's font. Returns the creation result (0 when the
    /// window exists already or parent is not a live window while style has WS_CHILD).
    virtual int Create(DWORD style, CWnd* parent, const CRect& rect);

    /// Attaches a track (or none) and takes its range and default for drawing; the vertical
    /// scale follows at the next WM_SIZE and nothing is repainted. A drag in progress ends
    /// without a message, since its keyframe belongs to the former track.
    void SetKeyFrmList(CKivFXInsKeyFrmList* track);
    CKivFXInsKeyFrmList* GetKeyFrmList() const { return m_pKFList; }
    void SetEditType(AquaEdit_Type type) { m_editType = type; }
    AquaEdit_Type GetEditType() const { return m_editType; }
    void SetDuration(int duration) { m_nDuration = duration; }
    int GetDuration() const { return m_nDuration; }
    void SetSignID(int id) { m_nSignID = id; }
    int GetSignID() const { return m_nSignID; }
    /// Moves the current-frame line without repainting.
    void SetTimeLine(int frame) { m_nTimeLine = frame; }
    int GetTimeLine() const { return m_nTimeLine; }
    /// The frame drawn at pixel column 0; no repaint.
    void SetScrollPos(LONG frame) { m_lScrollPos = frame; }
    LONG GetScrollPos() const { return m_lScrollPos; }
    /// The horizontal scale; no repaint.
    void SetPixelPreFrame(double pixels) { m_dPixelPreFrame = pixels; }
    double GetPixelPreFrame() const { return m_dPixelPreFrame; }
    double GetValuePrePixel() const { return m_dValuePrePixel; }
    float GetTopValue() const { return m_fTopValue; }
    float GetBottomValue() const { return m_fBottomValue; }
    float GetDefValue() const { return m_fDefValue; }
    BOOL IsDragging() const { return m_drag.IsDragging(); }
    int GetDragKind() const { return m_drag.GetKind(); }

    /// Moves the current-frame line and repaints only the strips it leaves and enters;
    /// nothing when the frame is the current one.
    void UpdateTimeLine(int frame);
    /// Repaints the whole window at once.
    void FlushWindow();

    // The painting steps, callable on any device context (its state is restored).
    /// The fixed 20-pixel grid.
    void DrawMesh(CDC* dc);
    /// The current-frame line, XOR-ed onto what is there.
    void DrawTimeLine(CDC* dc);
    /// The curve: a line at the value of an empty or one-keyframe track, else a dot per frame.
    void DrawKeyFrmLine(CDC* dc);
    /// Every keyframe with the handles its place and the interpolation kind show.
    void DrawKeyFrmArray(CDC* dc);
    /// One keyframe: kind 1 the first (no fore handle), 2 the last (no after handle), 0 an
    /// inner one, -1 without handles. Nothing for a null keyframe.
    void DrawKeyFrmNote(CDC* dc, CKivFXValueKeyFrm* keyframe, int kind);

    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;

protected:
    // Mapping between frames and values and client pixels.
    int FrameToPixelX(int frame, int relative) const;
    int PixelToFrameX(int x, int relative) const;
    int ValueToPixelY(float value) const;
    float PixelToValueY(int y) const;
    /// The vertical scale from the client height and the top and bottom values.
    void CalcuPrePixel();
    /// The frames at the client's left and right edges.
    int GetStoryIn() const;
    int GetStoryOut() const;
    /// The 4 x 4 square of a keyframe part; empty for a null keyframe.
    CRect GetKeyFrmRect(CKivFXValueKeyFrm* keyframe, int part) const;
    /// The first keyframe, head to tail, whose part square holds the point; null when none
    /// (or no track, or a handle part in linear mode).
    CKivFXValueKeyFrm* IsHitKeyFrm(CPoint point, int part) const;
    /// Three points: fore handle, keyframe, after handle.
    void CalcuBezierPoints(CPoint* out, CKivFXValueKeyFrm* keyframe) const;
    /// Four points of a segment: a, a's after handle, b's fore handle, b.
    void CalcuBezierPoints(CPoint* out, CKivFXValueKeyFrm* a, CKivFXValueKeyFrm* b) const;

    // Mouse drags.
    void BeginDragKF(CPoint point);
    void BeginDragKFForePt(CPoint point);
    void BeginDragKFAfterPt(CPoint point);
    void Drag(CPoint point);
    void DragKF(CPoint point);
    void DragKFForePt(CPoint point);
    void DragKFAfterPt(CPoint point);
    /// The handle opposite the dragged one follows it as CtrlMode says.
    void AdjustDragForePt();
    void AdjustDragAfterPt();
    void EndDrag();
    void EndDragKF();
    void EndDragKFForePt();
    void EndDragKFAfterPt();

    void CreateMenu(CPoint point);
    /// Sends "WM_MODIFY_FROM_INSKFWND" to the parent while a keyframe of an attached track is
    /// dragged; nothing otherwise.
    void SendToModifyMsg(unsigned char phase);

    void OnSize(UINT type, int cx, int cy) override;
    void OnPaint() override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnRButtonDown(UINT flags, CPoint point) override;

    void OnMenuInsLineMode();
    void OnMenuInsBezierMode();
    void OnMenuInsNoneCtrl();
    void OnMenuInsLinkageCtrl();
    void OnMenuInsSymmetryCtrl();

    /// Where the drawing of the index-th keyframe lies in the client: its square, its handles
    /// with their lines, and the curve between its neighbours (the whole client for an index
    /// that names no keyframe). Painting only this after the keyframe's value or handles
    /// changed gives the same picture as painting everything.
    KivRegion GetKeyFrmFootprint(int index) const;

private:
    template <class E>
    friend void KivFXAddPartDragKinds(E& editor, std::vector<KivFXDragController::Kind>& kinds);
    /// The frames the dotted curve takes a dot at: every stride-th from in to out.
    struct DotWalk {
        std::int64_t in = 0, out = -1, stride = 1;
    };
    DotWalk CurveDots() const;
    /// Adds where the dots that the index-th keyframe's value and handles decide lie.
    void AddCurveFootprint(KivRegion& area, int index, const CKivFXValueKeyFrm& keyframe) const;
    /// Repaints at once what a change of the dragged keyframe touched: where it was drawn
    /// before (taken before the change) and where it is drawn now.
    void RepaintDragged(const KivRegion& before);
    KivRegion DraggedFootprint() const;
    CPoint PartPoint(const CKivFXValueKeyFrm& keyframe, int part) const;
    /// The pixel extent (handle point minus keyframe point) of a handle.
    CSize HandleExtent(const CKivFXValueKeyFrm& keyframe, int part) const;
    /// Frames covered by k pixels, and values covered by k pixels (both not negative).
    double FramesOfPixels(int k) const;
    float ValuesOfPixels(int k) const;
    void AdjustOpposite(int movedPart);
    void SetCtrlMode(int mode);
    void RepaintNow();
    void CancelDrag();
    /// This window's drags: their kinds and what the window does around them.
    KivFXDragController MakeDrag();
    CKivFXValueKeyFrm* DraggedKF() const { return m_drag.KeyFrm<CKivFXValueKeyFrm>(); }
    /// Sends a registered message to the parent; false when this window did not survive it.
    bool SendToParent(UINT msg, WPARAM wParam, LPARAM lParam);

    CKivFXInsKeyFrmList* m_pKFList = nullptr;
    /// What the paints evaluate the track through (the view keeps a cursor: paints that are
    /// const still move it).
    mutable KivFXHeldView<CKivFXInsKeyFrmList> m_view;
    AquaEdit_Type m_editType = AquaEdit_Type_Number;
    int m_nSignID = 0;
    int m_nDuration = 0;
    int m_nTimeLine = 0;
    float m_fTopValue = 1000.0f;
    float m_fBottomValue = -1000.0f;
    float m_fDefValue = 0.0f;
    LONG m_lScrollPos = 0;
    double m_dPixelPreFrame = 1.0;
    double m_dValuePrePixel = 1.0;
    KivFXDragController m_drag{MakeDrag()};
    int m_nDragIndex = -1;
    int m_nHandleLength = 0;
};
