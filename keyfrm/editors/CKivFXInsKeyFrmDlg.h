// The curve dialog: a modeless child dialog that edits one scalar track over the host's
// story range, keyframes placed by location (story in 0, story out 1). It draws value and
// frame axes, the curve, the keyframes with their Bezier handles and a draggable
// current-frame marker; keyframes move in both directions, handles drag, and a right-button
// menu moves the current frame, adds and deletes keyframes, switches interpolation kind and
// handle coupling and changes the margins. Every change reaches the parent as
// "WM_MODIFY_FROM_INSKFDLG".
//
// How this dialog behaves in cases the description above does not settle:
// - On a track placed by frame (BaseOnFrame) a keyframe this dialog makes or moves in
//   time gets the frame as its Frame along with the frame's location, and "Add Key Frame",
//   a value set at the current frame and "on keyframe" go by frame, so the track's own key
//   (what it sorts, looks up and samples by) always agrees with where the dialog draws.
// - A keyframe dragged onto another goes to the nearest free place (frame by frame on a
//   frame track, one frame's worth of location at a time on another), not just one step:
//   two keyframes never share a place; with none free in the story it stays where it was.
// - A handle's PosOffset is in the track's own position unit: frames on a frame-placed
//   track (the frames the curve window reads there too) and location on another. The
//   dialog converts frames with the story's length, as it places keyframes.
#pragma once

#include <cstddef>

#include "keyfrm/editors/KivFXDialogParts.h"
#include "keyfrm/editors/KivFXDragController.h"
#include "keyfrm/editors/KivFXTimeStrip.h"
#include "keyfrm/editors/KivFXVisibleNotes.h"
#include "kivbase/gui/CKivAquaBaseDlg.h"
#include "kivbase/gui/KivAquaEditTypes.h"
#include "platform/ui/Region.h"

class CKivFXInsKeyFrmList;
class CKivFXValueKeyFrm;
struct KivFXCurvePointMap;

/// What "WM_MODIFY_FROM_INSKFDLG" carries in lParam (valid only during the call): 32 bytes.
struct InsKFDlgModifyInfo {
    float fValue;        // the track's value at the current frame's location
    double dLocation;    // the current frame's location
    int nSignID;         // the dialog's sign id
    int bOnKeyFrm;       // 1 when a keyframe sits exactly at that location
    int bFrameChanged;   // 1 when the current frame moved
    int bTrackChanged;   // 1 when keyframes, their values or the interpolation kind changed
};
static_assert(sizeof(InsKFDlgModifyInfo) == 32, "hosts read the record as 32 bytes");
static_assert(offsetof(InsKFDlgModifyInfo, fValue) == 0 && offsetof(InsKFDlgModifyInfo, dLocation) == 8 &&
                  offsetof(InsKFDlgModifyInfo, nSignID) == 16 && offsetof(InsKFDlgModifyInfo, bOnKeyFrm) == 20 &&
                  offsetof(InsKFDlgModifyInfo, bFrameChanged) == 24 && offsetof(InsKFDlgModifyInfo, bTrackChanged) == 28,
              "the record's layout is fixed for hosts");

class CKivFXInsKeyFrmDlg : public CKivAquaBaseDlg {
    DECLARE_DYNCREATE(CKivFXInsKeyFrmDlg)
public:
    /// The dialog template (and the id hosts know the dialog by).
    static constexpr UINT kTemplateId = 130;
    /// The margins a new dialog and "Recover" use, and the step of "Zoom In" and "Zoom Out".
    static constexpr UINT kMarginStep = 15;
    /// Drag kinds.
    static constexpr int kDragNone = -1;
    static constexpr int kDragTimeLine = 0;
    static constexpr int kDragKeyFrm = 1;
    static constexpr int kDragForePt = 2;
    static constexpr int kDragAfterPt = 3;

    /// No window and no track; story range 0 to 100, values -1000 to 1000, margins 15.
    explicit CKivFXInsKeyFrmDlg(CWnd* parent = nullptr);
    /// The same with a track attached (its range is not copied until SetRange or UpKeyFrmList).
    CKivFXInsKeyFrmDlg(CKivFXInsKeyFrmList* track, CWnd* parent = nullptr);
    ~CKivFXInsKeyFrmDlg() override;

    using CKivAquaBaseDlg::Create;
    /// Loads the marker bitmap and creates the dialog from template 130 of the library in
    /// parent. Nonzero on success; 0 when the dialog exists already or creation fails. The
    /// template has no WS_VISIBLE: the host shows the dialog with ShowWindow(SW_SHOW).
    virtual int Create(CWnd* parent);

    void SetSignID(int id) { m_nSignID = id; }
    /// Story range in to out, current frame in; scales unchanged until UpStoryInOut or WM_SIZE.
    void SetRange(int in, int out);
    /// The same, with the edit type, and the track attached with its MaxValue, MinValue and
    /// DefValue as top, bottom and default value. A null track detaches. Another track than
    /// the one shown ends a keyframe drag without a message.
    void SetRange(AquaEdit_Type type, int in, int out, CKivFXInsKeyFrmList* track);
    /// The same with the three values given instead of a track (the track stays).
    void SetRange(AquaEdit_Type type, int in, int out, float top, float bottom, float def);
    /// Sets the story range, clamps the current frame into it and recomputes the scales.
    void UpStoryInOut(int in, int out);
    /// Moves the current frame and repaints only the marker's old and new strips; nothing
    /// for the current frame or one outside the story range. No message.
    void UpTimeLine(int frame);
    /// Shows or hides the frame scale (and the frame tip of marker drags); repaints.
    void UpShowTL(int show);
    /// Attaches the track (null detaches) with its range values, recomputes the scales,
    /// repaints and sends the message with both flags 0. Another track than the one shown
    /// ends a keyframe drag without a message.
    void UpKeyFrmList(AquaEdit_Type type, CKivFXInsKeyFrmList* track);
    /// Sets value at the current frame (a keyframe there gets it, or one is made; by frame
    /// on a frame-placed track), selects that keyframe alone, repaints, and with notify sends the message with track
    /// changed 1. Nothing without a track.
    void SendCurKFValue(float value, int notify);
    /// Sends "WM_MODIFY_FROM_INSKFDLG" to the parent: the value and location at the current
    /// frame and the two flags. Nothing without a track or a parent.
    void SendToModifyMsg(int trackChanged, int frameChanged);
    /// Another editor of the same track changed only the value or the handles of the
    /// index-th keyframe: repaints where the dialog last painted it and where it lies now.
    /// The first call for an index repaints the whole dialog. Call it right after the change,
    /// before anything paints the dialog.
    void UpKeyFrm(int index);

    // Mapping between frames, locations, values and client pixels, with the current margins
    // and scales. Every input is defined: see CalcuPrePixel for degenerate ranges.
    /// (frame - story in) / (story out - story in); 0 when story out is not above story in.
    double GetLocation(int frame) const;
    /// story in + the integer part of ((story out - story in) x location + 0.5).
    int GetSBFrame(double location) const;
    int FrameToPixelX(int frame) const;
    int LocationToPixelX(double location) const;
    int ValueToPixelY(float value) const;
    int PixelToFrameX(int x) const;
    double PixelToLocationX(int x) const;
    float PixelToValueY(int y) const;
    /// Clamps the margins, lays the plot rectangle out and recomputes frames per pixel and
    /// value per pixel. A story range whose out is below its in counts as one frame and a
    /// plot narrower or lower than one pixel as one pixel, so both scales stay finite; a
    /// range of values whose scale is 0 or not finite (top equal to bottom, or a span beyond
    /// the float range) maps every value to the plot's top.
    void CalcuPrePixel();
    /// The marker bitmap's place: its bottom on the plot's top, centred on the current frame.
    CRect GetTimeRulerRect() const;
    /// The 4 x 4 square of part 0 (keyframe), 1 (fore handle) or 2 (after handle); empty for
    /// a null keyframe.
    CRect GetKeyFrmRect(CKivFXValueKeyFrm* keyframe, int part) const;
    /// Builds and tracks the right-button menu at a client point; the command chosen is
    /// carried out before it returns.
    void CreateMenu(CPoint point);

    // State, for hosts and tests.
    CKivFXInsKeyFrmList* GetKeyFrmList() const { return m_pKFList; }
    int GetSignID() const { return m_nSignID; }
    int GetCurFrame() const { return m_nCurFrame; }
    int GetStoryIn() const { return m_range.in; }
    int GetStoryOut() const { return m_range.out; }
    float GetTopValue() const { return m_fTopValue; }
    float GetBottomValue() const { return m_fBottomValue; }
    float GetDefValue() const { return m_fDefValue; }
    AquaEdit_Type GetEditType() const { return m_editType; }
    UINT GetHMargin() const { return m_uHMargin; }
    UINT GetVMargin() const { return m_uVMargin; }
    BOOL IsShowScale() const { return m_bShowScale; }
    const CRect& GetPlotRect() const { return m_rcPlot; }
    float GetFramesPerPixel() const { return m_fFramesPerPixel; }
    float GetValuePerPixel() const { return m_fValuePerPixel; }
    BOOL IsDragging() const { return m_drag.IsDragging(); }
    int GetDragKind() const { return m_drag.GetKind(); }
    CKivFXValueKeyFrm* GetDragKF() const { return DraggedKF(); }
    CPoint GetLastPoint() const { return m_drag.Last(); }
    int GetHandleLength() const { return m_nHandleLength; }
    const CKivToolTipDlg& GetToolTip() const { return m_parts.toolTip; }

    BOOL OnInitDialog() override;
    /// Enter and Escape never close the dialog.
    void OnOK() override;
    void OnCancel() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;

protected:
    // Painting steps, in the order OnPaint calls them.
    void DrawTimeLine(CDC* dc);
    void DrawTimeRuler(CDC* dc);
    void DrawKeyFrmLine(CDC* dc);
    void DrawKeyFrmArray(CDC* dc);
    void DrawKeyFrmNote(CDC* dc, CKivFXValueKeyFrm* keyframe, int kind);

    /// Where the drawing of the index-th keyframe lies in the client: its square, its handles
    /// with their lines and the curve segments it ends (the whole client for an index that
    /// names no keyframe).
    KivRegion GetKeyFrmFootprint(int index) const;
    /// Adds where the curve segments and flat ends the index-th keyframe shapes lie.
    void AddCurveFootprint(KivRegion& area, int index, const CKivFXValueKeyFrm& keyframe, int count, const CRect& client) const;

    BOOL IsHitTimeRuler(CPoint point) const;
    /// The first keyframe, head to tail, whose part square holds the point; null without a
    /// track, for a handle in linear mode or a handle the keyframe does not show.
    CKivFXValueKeyFrm* IsHitKeyFrm(CPoint point, int part) const;
    /// Three points: fore handle, keyframe, after handle.
    void CalcuBezierPoints(CPoint* out, CKivFXValueKeyFrm* keyframe) const;
    /// Four points of a segment: a, a's after handle, b's fore handle, b.
    void CalcuBezierPoints(CPoint* out, CKivFXValueKeyFrm* a, CKivFXValueKeyFrm* b) const;

    void BeginDragTL(CPoint point);
    void DragTL(CPoint point);
    void EndDragTL();
    void BeginDragKF(CPoint point);
    void DragKF(CPoint point);
    void EndDragKF();
    void BeginDragKFForePt(CPoint point);
    void DragKFForePt(CPoint point);
    void EndDragKFForePt();
    void BeginDragKFAfterPt(CPoint point);
    void DragKFAfterPt(CPoint point);
    void EndDragKFAfterPt();
    /// The handle opposite the dragged one follows it as CtrlMode says.
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
    int HMargin() const;
    int VMargin() const;
    CPoint PartPoint(const CKivFXValueKeyFrm& keyframe, int part) const;
    /// The mappings to client pixels with the current margins and scales taken once.
    KivFXCurvePointMap PointMap() const;
    /// The track's keyframes by Location, their handles' reach in location (none without a track).
    KivFXGatheredKeys<CKivFXValueKeyFrm> GatherKeys() const;
    // The curve and the notes of one paint share one gathering of the keyframes.
    void DrawKeyFrmLine(CDC& dc, const KivFXGatheredKeys<CKivFXValueKeyFrm>& keys, const KivFXCurvePointMap& map);
    void DrawKeyFrmArray(CDC& dc, const KivFXGatheredKeys<CKivFXValueKeyFrm>& keys, const KivFXCurvePointMap& map);
    /// A handle's PosOffset is in the track's own position unit: frames on a track placed by
    /// frame, location on any other. The dialog draws handles by location, so on a frame
    /// track it converts with the story's length, as it places keyframes.
    bool HandlesInFrames() const;
    double HandleLocationOffset(double posOffset) const;
    /// Where a client x and a keyframe lie along the time axis in the handles' unit.
    double HandleUnitsAt(int x) const;
    double HandleUnitsOf(const CKivFXValueKeyFrm& keyframe) const;
    CSize HandleExtent(const CKivFXValueKeyFrm& keyframe, int part) const;
    int HandlePixelLength(const CKivFXValueKeyFrm& keyframe, int part) const;
    void AdjustOpposite(int movedPart);
    /// Invalidates the marker strip around x (client height less 2 pixels at each end).
    void InvalidateTimeStrip(int x);
    void RepaintNow();
    /// The dragged keyframe's index in the list (-1 without one).
    int DraggedIndex() const;
    /// After a drag step changed the dragged keyframe: repaints where it was drawn (before,
    /// at indexBefore) and where it is now, or the whole dialog when its index changed.
    void RepaintDragged(int indexBefore, const KivRegion& before);
    void AttachTrack(CKivFXInsKeyFrmList* track);
    /// Ends a drag without a message (its keyframe is gone or belongs to another track).
    void CancelDrag();
    /// This dialog's drags: their kinds and what the dialog does around them.
    KivFXDragController MakeDrag();
    CKivFXValueKeyFrm* DraggedKF() const { return m_drag.KeyFrm<CKivFXValueKeyFrm>(); }
    void MoveMargins(int delta);

    /// The keyframe UpKeyFrm follows and where it lay at the last paint.
    struct FollowedKF {
        int index = -1;
        bool painted = false;
        KivRegion footprint;
    };

    KivFXDialogParts m_parts;
    CKivFXInsKeyFrmList* m_pKFList = nullptr;
    int m_nSignID = 0;
    int m_nCurFrame = 0;
    KivFXStoryRange m_range;
    float m_fTopValue = 1000.0f;
    float m_fBottomValue = -1000.0f;
    float m_fDefValue = 0.0f;
    AquaEdit_Type m_editType = AquaEdit_Type_Number;
    UINT m_uHMargin = kMarginStep;
    UINT m_uVMargin = kMarginStep;
    BOOL m_bShowScale = TRUE;
    CRect m_rcPlot;
    float m_fFramesPerPixel = 1.0f;
    float m_fValuePerPixel = 1.0f;
    double m_dValuePerPixel = 1.0;  // what the mappings use
    KivFXDragController m_drag{MakeDrag()};
    int m_nHandleLength = 0;
    FollowedKF m_followed;
};
