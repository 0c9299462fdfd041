// Windows: the tree of child windows on the screen, synchronous messages through one
// dispatch point per window (WindowProc), the framework's message handlers, invalid
// regions and painting, focus and mouse capture.
#pragma once

#include <memory>

#include "platform/fw/CGeometry.h"
#include "platform/fw/CObject.h"
#include "platform/fw/CString.h"
#include "platform/ui/DC.h"
#include "platform/ui/GdiObjects.h"
#include "platform/ui/Handles.h"
#include "platform/ui/Messages.h"

struct KivWndState;
using LPPOINT = POINT*;  // the framework's pointer-to-point name
struct AFX_CMDHANDLERINFO;
struct CCreateContext;

/// What DoDataExchange gets: the direction of the exchange and the dialog.
class CDataExchange {
public:
    CDataExchange(CWnd* dlgWnd, BOOL saveAndValidate) : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dlgWnd) {}
    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
};

class CWnd : public CObject {
    DECLARE_DYNAMIC(CWnd)
public:
    CWnd();
    /// Destroys the window if it still exists.
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }
    /// The object of a live window, or null.
    static CWnd* FromHandle(HWND h);

    // Creation and destruction.
    /// Creates the window: a child of parent with WS_CHILD, otherwise a top-level window
    /// (owned by parent when one is given). Sends WM_CREATE, WM_SIZE and WM_MOVE. FALSE when
    /// the object already has a window, WS_CHILD comes without a live parent, the class is
    /// unknown or OnCreate returns -1 (the window is then destroyed).
    virtual BOOL Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                        CCreateContext* context = nullptr);
    virtual BOOL CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect,
                          CWnd* parent, UINT id, LPVOID param = nullptr);
    /// Sends WM_DESTROY to the window and then its children, destroys owned windows, and
    /// calls PostNcDestroy last. FALSE when there is no window.
    virtual BOOL DestroyWindow();

    // Messages.
    /// Calls the window's WindowProc and returns its result; 0 when there is no window.
    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    /// The one dispatch point: maps messages to the OnXxx handlers; what no handler takes
    /// goes to DefWindowProc.
    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    /// The default processing of the window's class.
    virtual LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    /// WM_COMMAND: routes (id, notification code) to OnCmdMsg; TRUE when handled.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    /// Command routing; the base handles nothing (FALSE).
    virtual BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo);
    /// Input (keys and mouse) meant for this window or one of its descendants, seen before
    /// it is sent, the window it goes to first and its parents after; TRUE keeps it from
    /// going further (a host's keyboard shortcuts). FALSE by default.
    virtual BOOL PreTranslateMessage(MSG* msg);

    // Tree and geometry. Rectangles of child windows are in the parent's client area.
    /// The parent of a child window, the owner of a top-level one, or null.
    CWnd* GetParent() const;
    /// The first child with that control id, or null.
    CWnd* GetDlgItem(int id) const;
    int GetDlgCtrlID() const;
    int SetDlgCtrlID(int id);
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    /// Changes style bits (WS_VISIBLE and WS_DISABLED are better changed through ShowWindow
    /// and EnableWindow); FALSE without a window.
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
    void GetClientRect(LPRECT rect) const;
    /// The window's rectangle in screen coordinates.
    void GetWindowRect(LPRECT rect) const;
    void ClientToScreen(LPPOINT pt) const;
    void ClientToScreen(LPRECT rect) const;
    void ScreenToClient(LPPOINT pt) const;
    void ScreenToClient(LPRECT rect) const;
    /// Moves and sizes the window (WM_MOVE, WM_SIZE when they change); with repaint the
    /// uncovered area and the window are invalidated.
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    void MoveWindow(LPCRECT rect, BOOL repaint = TRUE);
    /// Shows (any SW_ value but SW_HIDE and SW_MINIMIZE) or hides the window; returns
    /// whether it was visible before.
    BOOL ShowWindow(int cmdShow);
    /// TRUE when the window and all its ancestors are shown.
    BOOL IsWindowVisible() const;
    /// Returns whether the window was disabled before.
    BOOL EnableWindow(BOOL enable = TRUE);
    BOOL IsWindowEnabled() const;
    /// Puts the window above its siblings.
    BOOL BringWindowToTop();

    // Text and font.
    void SetWindowText(LPCWSTR text);
    void GetWindowText(CString& text) const;
    int GetWindowTextLength() const;
    void SetDlgItemText(int id, LPCWSTR text);
    /// WM_SETFONT: the window keeps the font handle (not the font); redraw invalidates.
    void SetFont(CFont* font, BOOL redraw = TRUE);
    /// WM_GETFONT: the window's font, or null when none was set or it no longer exists.
    CFont* GetFont() const;

    // Focus and capture.
    /// Gives the window the keyboard focus (WM_KILLFOCUS to the old, WM_SETFOCUS to the
    /// new); returns the window that had it, null when there was none or the window is
    /// disabled or gone (focus unchanged).
    CWnd* SetFocus();
    static CWnd* GetFocus();
    /// Sends every mouse message to this window until ReleaseCapture; returns the window
    /// that had the capture (it gets WM_CAPTURECHANGED).
    CWnd* SetCapture();
    static CWnd* GetCapture();

    // Painting.
    void Invalidate(BOOL erase = TRUE);
    /// Adds a client rectangle (null: the whole client area) to the invalid region, and to
    /// the overlapped children unless the window has WS_CLIPCHILDREN. Ignored while the
    /// window is not visible.
    void InvalidateRect(LPCRECT rect, BOOL erase = TRUE);
    void ValidateRect(LPCRECT rect);
    /// The bounds of the invalid region; FALSE when nothing is invalid.
    BOOL GetUpdateRect(LPRECT rect, BOOL erase = FALSE);
    /// Sends WM_PAINT when the window is visible and part of it is invalid.
    void UpdateWindow();
    /// A DC for the whole visible client area, owned by the window until ReleaseDC (or its
    /// destruction); null without a window.
    CDC* GetDC();
    /// Ends a DC from GetDC; 0 when it is not one of this window's.
    int ReleaseDC(CDC* dc);

    /// Runs DoDataExchange in the given direction; TRUE.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* dx);

    /// Internal state for the window system's own use.
    KivWndState* State() const { return m_state.get(); }

protected:
    /// DefWindowProc with the message being dispatched to this window.
    LRESULT Default();

    // Handlers; each does the framework's default processing (Default()) unless said.
    virtual int OnCreate(LPCREATESTRUCT cs);
    virtual void OnDestroy();
    virtual void OnSize(UINT type, int cx, int cy);
    virtual void OnMove(int x, int y);
    virtual void OnPaint();
    virtual BOOL OnEraseBkgnd(CDC* dc);
    virtual void OnLButtonDown(UINT flags, CPoint point);
    virtual void OnLButtonUp(UINT flags, CPoint point);
    virtual void OnLButtonDblClk(UINT flags, CPoint point);
    virtual void OnRButtonDown(UINT flags, CPoint point);
    virtual void OnRButtonUp(UINT flags, CPoint point);
    virtual void OnRButtonDblClk(UINT flags, CPoint point);
    virtual void OnMouseMove(UINT flags, CPoint point);
    virtual void OnKeyDown(UINT ch, UINT repeat, UINT flags);
    virtual void OnKeyUp(UINT ch, UINT repeat, UINT flags);
    virtual void OnChar(UINT ch, UINT repeat, UINT flags);
    virtual void OnSetFocus(CWnd* oldWnd);
    virtual void OnKillFocus(CWnd* newWnd);
    virtual void OnCaptureChanged(CWnd* wnd);
    virtual void OnClose();
    /// Called after the window is gone; the last thing DestroyWindow does (a class that
    /// deletes itself here must not be touched afterwards). Does nothing by default.
    virtual void PostNcDestroy();

private:
    BOOL OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
    void InvalidateTree(const CRect& rect, bool erase);

    std::unique_ptr<KivWndState> m_state;
};

/// Live-window test.
BOOL IsWindow(HWND h);
/// SendMessage to a window by handle; 0 for a window that does not exist.
LRESULT SendMessageW(HWND h, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
inline LRESULT SendMessage(HWND h, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) { return SendMessageW(h, msg, wParam, lParam); }
/// Ends the mouse capture (the window that had it gets WM_CAPTURECHANGED); TRUE.
BOOL ReleaseCapture();
