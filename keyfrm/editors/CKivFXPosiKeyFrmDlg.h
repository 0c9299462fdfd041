// The position dialog: a modeless child dialog that edits one position track, the path of a
// point through the video frame. It shows the path in the X-Y plane with each keyframe's
// position and Bezier handles and the current position, and below it a time strip with a
// frame scale, a draggable current-frame marker and one square per keyframe. Positions,
// handles, keyframe times and the current frame are dragged with the mouse; a right-button
// menu moves the current frame, adds and deletes keyframes, switches interpolation kind and
// handle coupling and zooms the view. Every change reaches the parent as
// "WM_MODIFY_FROM_POSIKFDLG".
//
// How this dialog behaves in cases the description above does not settle:
// - "Zoom Out" is offered while the zoom scale is above kZoomMin and "Recover" while it
//   differs from kZoomRecover: the two items follow the scale they change (the margins, which
//   the curve dialog's items follow, never change here).
// - The video frame's size is read from CKivVideoStd at every layout, so a host's
//   CKivVideoStd::SetResSize takes effect at the next WM_SIZE, UpStoryInOut, SetShowLimit
//   or zoom command.
// - Everything drawn in the X-Y plane (the video outline, the path, the keyframes, the
//   current position) is clipped to the X-Y rectangle, and only what shows there can be
//   grabbed: a zoomed view never draws over the title or the time strip, and repainting the
//   X-Y rectangle always removes what an edit moved.
// - An X or Y range without extent (or a scale that is not finite) maps every value to the
//   view's left or top edge; a story range whose out is not above its in counts as one
//   frame (every frame at location 0); a client too small for the layout counts its X-Y
//   rectangle and time strip as one pixel wide and high. No mapping divides by zero.
// - On a track placed by frame (BaseOnFrame) a keyframe this dialog makes or moves in
//   time gets the frame as its Frame along with the frame's location, and "Add Key Frame",
//   a value set at the current frame and "on keyframe" go by frame, so the track's own key
//   (what it sorts, looks up and samples by) always agrees with where the dialog draws.
// - A keyframe dragged onto another goes to the nearest free place (frame by frame on a
//   frame track, one frame's worth of location at a time on another), not just one step:
//   two keyframes never share a place; with none free in the story it stays where it was.
// - The path is drawn with at most kMaxPathDots dots: a story range of more frames than
//   that is walked in even steps. A segment between neighbouring keyframes (in location
//   order) gets at most a few dots a pixel of its length, and none when its box lies
//   outside what is painted, so a paint costs what it shows.
// - A step of the current frame repaints the time strip around the marker and the current
//   position's mark; the path is not drawn again.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "keyfrm/editors/KivFXDialogParts.h"
#include "keyfrm/editors/KivFXDragController.h"
#include "keyfrm/editors/KivFXHeldView.h"
#include "keyfrm/editors/KivFXPixelMath.h"
#include "keyfrm/editors/KivFXTimeStrip.h"
#include "kivbase/gui/CKivAquaBaseDlg.h"

class CKivFXPosiKeyFrmList;
class CKivFXPosiKeyFrm;

/// What "WM_MODIFY_FROM_POSIKFDLG" carries in lParam (valid only during the call): 48 bytes.
struct PosiKFDlgModifyInfo {
    float fX;            // the path's position at the current frame's location
    float fY;
    float fZ;
    int nSignIDX;        // the dialog's three sign ids
    int nSignIDY;
    int nSignIDZ;
    double dLocation;    // the current frame's location
    int bOnKeyFrm;       // 1 when a keyframe sits exactly at that location
    int bFrameChanged;   // 1 when the current frame moved
    int bTrackChanged;   // 1 when keyframes or their data changed
};
static_assert(sizeof(PosiKFDlgModifyInfo) == 48, "hosts read the record as 48 bytes");
static_assert(offsetof(PosiKFDlgModifyInfo, fX) == 0 && offsetof(PosiKFDlgModifyInfo, fY) == 4 &&
                  offsetof(PosiKFDlgModifyInfo, fZ) == 8 && offsetof(PosiKFDlgModifyInfo, nSignIDX) == 12 &&
                  offsetof(PosiKFDlgModifyInfo, nSignIDY) == 16 && offsetof(PosiKFDlgModifyInfo, nSignIDZ) == 20 &&
                  offsetof(PosiKFDlgModifyInfo, dLocation) == 24 && offsetof(PosiKFDlgModifyInfo, bOnKeyFrm) == 32 &&
                  offsetof(PosiKFDlgModifyInfo, bFrameChanged) == 36 && offsetof(PosiKFDlgModifyInfo, bTrackChanged) == 40,
              "the record's layout is fixed for hosts");

/// A keyframe's fore handle, keyframe and after handle points in client pixels.
using KivFXNotePoints = std::array<CPoint, 3>;

class CKivFXPosiKeyFrmDlg : public CKivAquaBaseDlg {
    DECLARE_DYNCREATE(CKivFXPosiKeyFrmDlg)
public:
    /// The dialog template (and the id hosts know the dialog by).
    static constexpr UINT kTemplateId = 132;
    /// The margins of a new dialog, and the least a layout leaves them.
    static constexpr UINT kMarginDefault = 20;
    static constexpr UINT kMarginMin = 5;
    /// The time strip's height, and the gap between it and the X-Y rectangle above.
    static constexpr int kStripHeight = 20;
    static constexpr int kStripGap = 1;
    /// The zoom scale (the share of the track's range the view spans with show limit): its
    /// bounds, its value in a new dialog and after "Recover", and the step of the zoom items.
    static constexpr float kZoomMin = 0.35f;
    static constexpr float kZoomMax = 1.0f;
    static constexpr float kZoomRecover = 0.5f;
    static constexpr float kZoomStep = 0.05f;
    /// The most dots the path is drawn with (more than an X-Y view of any screen can show).
    static constexpr int kMaxPathDots = 1 << 18;
    /// The current position's mark reaches this many pixels from its centre.
    static constexpr int kCurPosiHalf = 5;
    /// Drag kinds.
    static constexpr int kDragNone = -1;
    static constexpr int kDragTimeLine = 0;
    static constexpr int kDragTimeNote = 1;
    static constexpr int kDragKeyFrm = 2;
    static constexpr int kDragForePt = 3;
    static constexpr int kDragAfterPt = 4;

    /// No window and no track; story range 0 to 100, every axis -1000 to 1000 (default 0),
    /// margins 20, show scale and show limit on, zoom scale 0.5, the view the video frame.
    explicit CKivFXPosiKeyFrmDlg(CWnd* parent = nullptr);
    ~CKivFXPosiKeyFrmDlg() override;

    using CKivAquaBaseDlg::Create;
    /// Loads the marker bitmap and creates the dialog from template 132 of the library in
    /// parent. Nonzero on success; 0 when the dialog exists already or creation fails. The
    /// template has no WS_VISIBLE: the host shows the dialog with ShowWindow(SW_SHOW).
    virtual int Create(CWnd* parent);

    /// The owner's identifiers of the X, Y and Z parameters, carried in every message.
    void SetSignID(int x, int y, int z);
    /// Story range in to out, current frame in, and the track attached (null detaches) with
    /// its nine range values copied. The layout is not recomputed. Another track than the
    /// one shown ends a keyframe drag without a message.
    void SetRange(int in, int out, CKivFXPosiKeyFrmList* track);
    /// Sets the story range, clamps the current frame into it and recomputes the layout.
    void UpStoryInOut(int in, int out);
    /// Moves the current frame and repaints the marker's old and new places and the X-Y
    /// rectangle; nothing for the current frame or one outside the story range. No message.
    void UpTimeLine(int frame);
    /// Shows or hides the frame scale (and the frame tip of drags in the strip); repaints.
    void UpShowTL(int show);
    /// With show nonzero the X-Y view spans the track's range times the zoom scale, with 0
    /// the video frame. A change recomputes the layout and repaints the X-Y rectangle.
    void SetShowLimit(int show);
    /// Sets the position at the current frame (a keyframe there gets it, or one is made;
    /// by frame on a frame-placed track), selects that keyframe alone, repaints, and with notify sends the message
    /// with track changed 1. Nothing without a track.
    void SendCurKFValue(float x, float y, float z, int notify);
    /// Sends "WM_MODIFY_FROM_POSIKFDLG" to the parent: the position and location at the
    /// current frame, the sign ids and the two flags. Nothing without a track or a parent.
    void SendToModifyMsg(int trackChanged, int frameChanged);

    // Mapping between frames, locations, values and client pixels with the current layout.
    // Every input is defined: see the choices above for degenerate ranges.
    /// (frame - story in) / (story out - story in); 0 when story out is not above story in.
    double GetLocation(int frame) const;
    /// story in + the integer part of ((story out - story in) x location + 0.5).
    int GetSBFrame(double location) const;
    /// Time strip left + (frame - story in) / frames per pixel, rounded half away from zero.
    int FrameToPixel(int frame) const;
    int LocationToPixel(double location) const;
    /// The integer part of ((x - time strip left) x frames per pixel + 0.5) + story in.
    int PixelToFrame(int x) const;
    double PixelToLocation(int x) const;
    /// X-Y left + (v - X view minimum) / X value per pixel, rounded half away from zero.
    int ValueToPixelX(float value) const;
    /// X-Y top + (Y view top - v) / Y value per pixel, rounded half away from zero.
    int ValueToPixelY(float value) const;
    /// X view minimum + ((x - X-Y left) x X value per pixel + 0.5): the half unit is added to
    /// the value.
    float PixelToValueX(int x) const;
    /// Y view top - ((y - X-Y top) x Y value per pixel + 0.5).
    float PixelToValueY(int y) const;
    /// Clamps the margins and lays out the title, the X-Y rectangle, the time strip (the
    /// inner area's bottom 20 pixels, 1 below the X-Y rectangle), the view's edges (the
    /// track's range times the zoom scale with show limit, else the video frame centred on
    /// 0), the three scales and the video rectangle.
    void CalcuPrePixel();
    /// The marker bitmap's place: its top on the time strip's top, centred on the current
    /// frame.
    CRect GetTimeRulerRect() const;
    /// The 6 x 6 square of a keyframe on the time strip's bottom line; empty for null.
    CRect GetTimeNoteRect(CKivFXPosiKeyFrm* keyframe) const;
    /// The 4 x 4 square of part 0 (position), 1 (fore handle) or 2 (after handle) in the X-Y
    /// view; empty for a null keyframe.
    CRect GetKeyFrmRect(CKivFXPosiKeyFrm* keyframe, int part) const;
    /// Builds and tracks the right-button menu at a client point; the command chosen is
    /// carried out before it returns.
    void CreateMenu(CPoint point);

    // State, for hosts and tests.
    CKivFXPosiKeyFrmList* GetKeyFrmList() const { return m_pKFList; }
    int GetSignIDX() const { return m_nSignIDX; }
    int GetSignIDY() const { return m_nSignIDY; }
    int GetSignIDZ() const { return m_nSignIDZ; }
    int GetCurFrame() const { return m_nCurFrame; }
    int GetStoryIn() const { return m_range.in; }
    int GetStoryOut() const { return m_range.out; }
    float GetMaxX() const { return m_fMaxX; }
    float GetMinX() const { return m_fMinX; }
    float GetDefX() const { return m_fDefX; }
    float GetMaxY() const { return m_fMaxY; }
    float GetMinY() const { return m_fMinY; }
    float GetDefY() const { return m_fDefY; }
    float GetMaxZ() const { return m_fMaxZ; }
    float GetMinZ() const { return m_fMinZ; }
    float GetDefZ() const { return m_fDefZ; }
    UINT GetHMargin() const { return m_uHMargin; }
    UINT GetVMargin() const { return m_uVMargin; }
    BOOL IsShowScale() const { return m_bShowScale; }
    BOOL IsShowLimit() const { return m_bShowLimit; }
    float GetZoomScale() const { return m_fZoomScale; }
    float GetXViewMin() const { return m_fXViewMin; }
    float GetXViewMax() const { return m_fXViewMax; }
    float GetYViewTop() const { return m_fYViewTop; }
    float GetYViewBottom() const { return m_fYViewBottom; }
    const CRect& GetTitleRect() const { return m_rcTitle; }
    const CRect& GetTimeStripRect() const { return m_rcTimeStrip; }
    const CRect& GetXYRect() const { return m_rcXY; }
    const CRect& GetVideoRect() const { return m_rcVideo; }
    float GetFramesPerPixel() const { return m_fFramesPerPixel; }
    float GetXValuePerPixel() const { return m_fXValuePerPixel; }
    float GetYValuePerPixel() const { return m_fYValuePerPixel; }
    BOOL IsDragging() const { return m_drag.IsDragging(); }
    int GetDragKind() const { return m_drag.GetKind(); }
    CKivFXPosiKeyFrm* GetDragKF() const { return DraggedKF(); }
    CPoint GetLastPoint() const { return m_drag.Last(); }
    float GetHandleLength() const { return m_fHandleLength; }
    const CKivToolTipDlg& GetToolTip() const { return m_parts.toolTip; }

    BOOL OnInitDialog() override;
    /// Enter and Escape never close the dialog.
    void OnOK() override;
    void OnCancel() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;

protected:
    // Painting steps, in the order OnPaint calls them.
    void DrawTitle(CDC* dc);
    void DrawTimeLine(CDC* dc);
    void DrawTimeRuler(CDC* dc);
    void DrawTimeKeyFrmNote(CDC* dc);
    void DrawKeyFrmLine(CDC* dc);
    void DrawKeyFrmArray(CDC* dc);
    void DrawKeyFrmNote(CDC* dc, CKivFXPosiKeyFrm* keyframe, int kind);
    void DrawCurPosi(CDC* dc);

    BOOL IsHitTimeRuler(CPoint point) const;
    /// The first keyframe, in list order, whose time square holds the point; null without one.
    CKivFXPosiKeyFrm* IsHitTimeNote(CPoint point) const;
    /// The first keyframe, head to tail, whose part square holds the point inside the X-Y
    /// rectangle; null without a track, for a handle in linear mode or a handle the keyframe
    /// does not show.
    CKivFXPosiKeyFrm* IsHitKeyFrm(CPoint point, int part) const;
    /// Three X-Y points: fore handle, position, after handle.
    void CalcuBezierPoints(CPoint* out, CKivFXPosiKeyFrm* keyframe) const;

    void BeginDragTL(CPoint point);
    void DragTL(CPoint point);
    void EndDragTL();
    void BeginDragTLNote(CPoint point);
    void DragTLNote(CPoint point);
    void EndDragTLNote();
    void BeginDragKF(CPoint point);
    void DragKF(CPoint point);
    void EndDragKF();
    void BeginDragKFForePt(CPoint point);
    void DragKFForePt(CPoint point);
    void EndDragKFForePt();
    void BeginDragKFAfterPt(CPoint point);
    void DragKFAfterPt(CPoint point);
    void EndDragKFAfterPt();
    /// The handle opposite the dragged one follows it as CtrlMode says, in X and Y.
    void AdjustDragForePt();
    void AdjustDragAfterPt();
    void Drag(CPoint point);
    void EndDrag();

    void OnSize(UINT type, int cx, int cy) override;
    void OnPaint() override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnRButtonDown(UINT flags, CPoint point) override;
    /// A darker face than the kit's, so that the white path shows.
    COLORREF VyFaceColor() const override;

    void OnMenuToStart();
    void OnMenuToTail();
    void OnMenuForwardOneFrame();
    void OnMenuBackOneFrame();
    void OnMenuAddKF();
    void OnMenuDelSelKF();
    void OnMenuDelAllKF();
    void OnMenuInsLineMode();
    void OnMenuInsBezierMode();
    void OnMenuInsNoneCtrl();
    void OnMenuInsLinkageCtrl();
    void OnMenuInsSymmetryCtrl();
    void OnMenuShowZoonIn();
    void OnMenuShowZoonOut();
    void OnMenuShowRecover();

private:
    template <class> friend struct KivFXKeyFrmDlgCommands;
    template <class E>
    friend void KivFXAddPartDragKinds(E& editor, std::vector<KivFXDragController::Kind>& kinds);
    /// The track's keyframes in list order (elements of other classes left out).
    std::vector<CKivFXPosiKeyFrm*> KeyFrames() const;
    /// The pixel box each segment of the path between neighbouring keyframes lies in; none
    /// when the keyframes are out of location order or a point is not finite.
    std::vector<CRect> SegmentBoxes(const std::vector<CKivFXPosiKeyFrm*>& keys, const std::vector<KivFXNotePoints>& points) const;
    /// Each keyframe's fore handle, keyframe and after handle points, mapped once a paint:
    /// the path's segment boxes and the notes both stand on them.
    std::vector<KivFXNotePoints> NotePoints(const std::vector<CKivFXPosiKeyFrm*>& keys) const;
    /// Whether the path's segments lie in boxes (SegmentBoxes gives none otherwise), and the
    /// box of the segment between two neighbours' points.
    bool PathHasBoxes(const std::vector<CKivFXPosiKeyFrm*>& keys) const;
    CRect SegmentBox(const KivFXNotePoints& a, const KivFXNotePoints& b) const;
    void DrawKeyFrmLine(CDC& dc, const std::vector<CKivFXPosiKeyFrm*>& keys, const std::vector<KivFXNotePoints>& points);
    void DrawKeyFrmArray(CDC& dc, const std::vector<CKivFXPosiKeyFrm*>& keys, const std::vector<KivFXNotePoints>& points);
    void DrawTimeKeyFrmNote(CDC& dc, const std::vector<CKivFXPosiKeyFrm*>& keys);
    /// The X-Y view's mapping with its scales taken once, inline for a paint's many points.
    struct XYMap {
        int left, top;
        float xMin, yTop;
        KivPixelScaler xPixels, yPixels;  // of the values per pixel
        int X(float x) const { return left + xPixels(static_cast<double>(x) - xMin); }
        int Y(float y) const { return top + yPixels(static_cast<double>(yTop) - y); }
        CPoint operator()(float x, float y) const { return CPoint(X(x), Y(y)); }
    };
    XYMap MapXY() const {
        return XYMap{m_rcXY.left, m_rcXY.top, m_fXViewMin, m_fYViewTop, KivPixelScaler(m_dXValuePerPixel), KivPixelScaler(m_dYValuePerPixel)};
    }
    KivFXNotePoints NotePointsOf(const CKivFXPosiKeyFrm& keyframe, const XYMap& map) const;
    /// Invalidates the current position's mark (within the X-Y rectangle).
    void InvalidateCurPosi();
    /// Invalidates where the dragged keyframe shows in the X-Y view: its note, the two path
    /// segments it ends and the current position's mark; the whole view when the path is
    /// drawn without segment boxes. Called before and after a drag step changes it.
    void InvalidateDraggedXY();
    CPoint PartPoint(const CKivFXPosiKeyFrm& keyframe, int part) const;
    CPoint XYPoint(float x, float y) const { return MapXY()(x, y); }
    /// The strip band around the marker at x, wide enough for the marker whatever the margin.
    void InvalidateMarker(int x);
    /// The time strip with everything drawn on it (labels, squares below its bottom line).
    CRect StripBand() const;
    void InvalidateXY();
    /// Repaints the X-Y rectangle now.
    void RepaintXY();
    /// Repaints the time strip (with what sticks out of it) and the X-Y rectangle now.
    void InvalidateStripAndXY();
    void RepaintNow();
    void AttachTrack(CKivFXPosiKeyFrmList* track);
    /// Ends a drag without a message (its keyframe is gone or belongs to another track).
    void CancelDrag();
    /// This dialog's drags: their kinds and what the dialog does around them.
    KivFXDragController MakeDrag();
    CKivFXPosiKeyFrm* DraggedKF() const { return m_drag.KeyFrm<CKivFXPosiKeyFrm>(); }
    void AdjustOpposite(bool foreMoved);
    /// Moves the fore (or after) handle to the point and lets the other one follow.
    void DragHandle(CPoint point, bool fore);
    void SetZoomScale(float scale);

    KivFXDialogParts m_parts;
    CKivFXPosiKeyFrmList* m_pKFList = nullptr;
    /// What the paints and the current position evaluate the track through (the view keeps
    /// a cursor: const members still move it).
    mutable KivFXHeldView<CKivFXPosiKeyFrmList> m_view;
    int m_nSignIDX = 0;
    int m_nSignIDY = 0;
    int m_nSignIDZ = 0;
    int m_nCurFrame = 0;
    KivFXStoryRange m_range;
    float m_fMaxX = 1000.0f, m_fMinX = -1000.0f, m_fDefX = 0.0f;
    float m_fMaxY = 1000.0f, m_fMinY = -1000.0f, m_fDefY = 0.0f;
    float m_fMaxZ = 1000.0f, m_fMinZ = -1000.0f, m_fDefZ = 0.0f;
    UINT m_uHMargin = kMarginDefault;
    UINT m_uVMargin = kMarginDefault;
    BOOL m_bShowScale = TRUE;
    BOOL m_bShowLimit = TRUE;
    float m_fZoomScale = kZoomRecover;
    float m_fXViewMin = 0.0f, m_fXViewMax = 0.0f;
    float m_fYViewTop = 0.0f, m_fYViewBottom = 0.0f;
    CRect m_rcTitle;
    CRect m_rcTimeStrip;
    CRect m_rcXY;
    CRect m_rcVideo;
    float m_fFramesPerPixel = 1.0f;
    float m_fXValuePerPixel = 1.0f;
    float m_fYValuePerPixel = 1.0f;
    double m_dXValuePerPixel = 1.0, m_dYValuePerPixel = 1.0;  // what the mappings use
    KivFXDragController m_drag{MakeDrag()};
    float m_fHandleLength = 0.0f;
};
