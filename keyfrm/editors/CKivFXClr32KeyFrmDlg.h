// The colour dialog: a modeless child dialog that edits a colour track over locations 0 to 1
// with a hue-saturation field, luminance and alpha strips, four numeric edits (red, green,
// blue, alpha), a preview, and two bars showing the track's colours and alphas with a strip
// between them where keyframes and the current location are dragged. Every finished change
// is written into the keyframe at the current location and reported to the parent with
// "WM_MODIFY_FROM_CLRKFDLG" (KivFXEditorMessages.h). A keyframe dragged onto another goes
// to the nearest free place one pixel's worth of location at a time, so two keyframes never
// share a location, during a drag or after it.
#pragma once

#include <array>
#include <vector>

#include "keyfrm/editors/KivFXClrDlgResources.h"
#include "keyfrm/editors/KivFXDragController.h"
#include "kivbase/KivColor.h"
#include "kivbase/gui/CKivAquaAutoMaker.h"
#include "kivbase/gui/CKivAquaBaseDlg.h"
#include "kivbase/gui/CKivAquaEdit.h"

class CKivFXColor32KeyFrm;
class CKivFXColor32KeyFrmList;

class CKivFXClr32KeyFrmDlg : public CKivAquaBaseDlg {
    DECLARE_DYNCREATE(CKivFXClr32KeyFrmDlg)
public:
    /// Drag kinds.
    static constexpr int kDragNone = -1;
    static constexpr int kDragClrPic = 0;
    static constexpr int kDragLum = 1;
    static constexpr int kDragAlpha = 2;
    static constexpr int kDragKeyFrm = 3;
    static constexpr int kDragTL = 4;
    /// The luminance the colour field is drawn with, and the one a pick takes while the
    /// current luminance sits at an end (see PickClrHitClrPic).
    static constexpr BYTE kFieldLuminance = 127;

    /// No track; the current location is 0.0. The parent receives the messages once Create
    /// names it.
    explicit CKivFXClr32KeyFrmDlg(CWnd* parent = nullptr);
    /// Edits track (not owned; the host keeps it alive while attached); the current
    /// location is 0.5.
    explicit CKivFXClr32KeyFrmDlg(CKivFXColor32KeyFrmList* track, CWnd* parent = nullptr);
    ~CKivFXClr32KeyFrmDlg() override;

    using CDialog::Create;
    /// Creates the dialog from the library's template 131 as a child of parent (hidden:
    /// the host shows it). Nonzero on success; 0 when it exists already or parent is not a
    /// live window.
    int Create(CWnd* parent);

    /// Attaches a track (or none) without redrawing; a drag in progress ends without a
    /// message, its keyframe belonging to the former track.
    void SetFXClrList(CKivFXColor32KeyFrmList* track);
    CKivFXColor32KeyFrmList* GetFXClrList() const { return m_pClrList; }
    /// Nonzero: the controls are laid out anew for the client size on every WM_SIZE after
    /// initialisation.
    void SetBuildEditor(int build) { m_bBuildEditor = build; }
    int GetBuildEditor() const { return m_bBuildEditor; }
    /// Redraws both bars and repaints the bars, the preview and the keyframe strip.
    void RefurbishWindow();
    /// Lays the controls out for the client size, then recreates and redraws the surfaces.
    void BuildEditorLayot();
    /// An edit's value is changing: the preview follows the red, green and blue edits.
    void ModifyAquaEdit(int id);
    /// An edit's change is finished: with a track its colour is written at the current
    /// location; the strips, bars, preview and the edits' state follow.
    void EndModifyAquaEdit(int id);
    /// With a track: the edits show the keyframe state exactly when a keyframe sits at the
    /// current location.
    void UpAquaEditState();
    /// (Re)creates a surface: a bitmap of the area's size selected into a new memory DC. An
    /// area without pixels leaves the DC with nothing to draw on. Nothing for a DC that is
    /// not one of the dialog's five surfaces.
    void InitDC(CDC* surface, CRect area);

    /// Moves the current location (held within [0, 1]; NaN is ignored) as a drag of its
    /// marker would, without a message: the edits take the track's colour there, and the
    /// strips, bars, preview and marker follow.
    void UpCurLocation(double location);
    double GetCurLocation() const { return m_dCurLocation; }
    /// The current hue, luminance and saturation (alpha 255).
    tagCOLORHLSA GetCurHLS() const { return {m_cCurHue, m_cCurLum, m_cCurSat, 255}; }
    BOOL IsDragging() const { return m_drag.IsDragging(); }
    int GetDragKind() const { return m_drag.GetKind(); }
    CKivFXColor32KeyFrm* GetDragKeyFrm() const { return DraggedKF(); }
    BOOL IsInitialized() const { return m_bInitialized; }
    /// Client rectangles of the colour field, luminance strip, alpha strip, colour bar,
    /// alpha bar and preview (by control id), and of the keyframe strip.
    CRect GetAreaRect(int id) const;
    CRect GetKeyFrmStripRect() const { return m_rcKeyFrmStrip; }
    /// One of the four edits (1005 to 1008), or null.
    CKivAquaEdit* GetAquaEdit(int id);

    BOOL OnInitDialog() override;
    /// Enter and Escape leave the embedded dialog as it is.
    void OnOK() override;
    void OnCancel() override;
    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;
    void DoDataExchange(CDataExchange* dx) override;

protected:
    /// Creates the four edits over their placeholders with the library's resources current.
    int CreateActive();
    /// Takes the areas from the controls, recreates the five surfaces, computes the strip.
    int CreateDrawDC();

    // The surfaces, each drawn off screen and then put on the screen by a repaint.
    void DrawClrPicDC();
    void DrawLuminanceDC();
    void DrawAlphaDC();
    void DrawFXClrRGBDC();
    void DrawFXClrADC();
    /// The preview: the edits' colour over a checkerboard, drawn into control 1065.
    void DrawColorShow();
    void DrawKeyFrmNode(CDC* dc);
    void DrawTimeLine(CDC* dc);

    void BeginDragClrPic(CPoint point);
    void DragClrPic(CPoint point);
    void EndDragClrPic();
    void BeginDragLum(CPoint point);
    void DragLum(CPoint point);
    void EndDragLum();
    void BeginDragAlpha(CPoint point);
    void DragAlpha(CPoint point);
    void EndDragAlpha();
    void BeginDragKeyFrm(CPoint point);
    void DragKeyFrm(CPoint point);
    void EndDragKeyFrm();
    void BeginDragTL(CPoint point);
    void DragTL(CPoint point);
    void EndDragTL();
    void Drag(CPoint point);
    void EndDrag();
    /// The first keyframe (list order) whose mark holds the point; null when none.
    CKivFXColor32KeyFrm* HitKeyFrm(CPoint point) const;

    void OnSize(UINT type, int cx, int cy) override;
    void OnPaint() override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnRButtonDown(UINT flags, CPoint point) override;

private:
    enum Surface { kSurfClrPic, kSurfLum, kSurfAlpha, kSurfClrBar, kSurfAlphaBar, kSurfaceCount };
    struct MemSurface {
        CDC dc;
        CBitmap bitmap;
        CRect area;  // where it goes in the client area
    };

    int GetTimeLine() const;
    CRect GetTimeLineRect() const;
    CRect GetKeyFrmRect(const CKivFXColor32KeyFrm* keyframe) const;
    /// Inside the colour field: the hue and saturation under the point become current and
    /// r, g, b get that colour; returns 1. Outside: nothing changes, 0.
    int PickClrHitClrPic(CPoint point, BYTE& r, BYTE& g, BYTE& b);
    /// The current hue, luminance and saturation from the red, green and blue edits.
    void UpCurLumForRGB();
    /// The colour of the current hue, luminance and saturation.
    void UpCurRGBForLum(BYTE& r, BYTE& g, BYTE& b);
    /// Sends "WM_MODIFY_FROM_CLRKFDLG" to the parent when a track is attached; false when
    /// this dialog did not survive the call.
    bool SendToModifyMsg(int trackChanged, int frameChanged);

    /// The location under a client x on the keyframe strip, within [0, 1]; false when the
    /// strip has no width.
    bool StripLocation(int x, double& location) const;
    /// A fraction of a strip's height, within [0, 1].
    static double Fraction(int y, const CRect& strip);
    tagCOLOR32 EditColor() const;
    void SetEditColor(BYTE r, BYTE g, BYTE b);
    void SetEditColor(tagCOLOR32 c);
    /// Writes the edits' colour at the current location; nothing without a track.
    void WriteEditColor();
    /// The edits take the track's colour at the current location; nothing without a track.
    void TakeTrackColor();
    /// Repaints (without erasing) the area of a surface after it was drawn.
    void ShowSurface(Surface s);
    void ShowColorShow();
    /// Repaints the strip from 5 pixels left of x0 to 5 right of x1 (either order).
    void InvalidateStrip(int x0, int x1);
    /// Recreates the five surfaces and draws each.
    void RedrawSurfaces();
    /// Draws a bar: each column the track's colour at the column's location, or its alpha as grey.
    void DrawBar(Surface s, bool alphas);
    /// Draws a strip of one colour per row with its value's marker (value 0..255).
    void DrawStrip(Surface s, const std::vector<RGBQUAD>& rows, COLORREF marker, bool xorMarker, double value);
    /// Fills a surface with one colour per row (rows true) or per column.
    void FillLines(Surface s, const std::vector<RGBQUAD>& colours, bool rows);
    /// A surface's size in pixels; (0, 0) when it has nothing to draw on.
    CSize SurfaceSize(Surface s) const;
    /// The edits, the current hue, luminance and saturation and every drawing follow the
    /// colour at the current location.
    void FollowCurLocation();
    void CancelDrag();
    /// This dialog's drags: their kinds and what the dialog does around them.
    KivFXDragController MakeDrag();
    CKivFXColor32KeyFrm* DraggedKF() const { return m_drag.KeyFrm<CKivFXColor32KeyFrm>(); }
    /// The edits in id order (red, green, blue, alpha); null before OnInitDialog.
    CKivAquaEdit* Edit(int index);
    const CKivAquaEdit* Edit(int index) const;

    CKivFXColor32KeyFrmList* m_pClrList = nullptr;
    double m_dCurLocation = 0.0;
    BYTE m_cCurHue = 255;
    BYTE m_cCurLum = 255;
    BYTE m_cCurSat = 255;
    int m_bBuildEditor = 0;
    BOOL m_bInitialized = FALSE;
    CRect m_rcKeyFrmStrip;
    CRect m_rcColorShow;
    std::array<MemSurface, kSurfaceCount> m_surfaces;
    std::array<CKivAquaEdit, 4> m_edits;
    KivFXDragController m_drag{MakeDrag()};
    CKivAquaAutoMaker m_autoMaker;
    // The colour field depends only on its size: its pixels are kept and reused while the
    // size stays.
    std::vector<RGBQUAD> m_fieldPixels;
    CSize m_fieldSize;
};
