// The editors' right-button menus: a popup built item by item from the library's string
// table, in the blocks the editors share (moving the current frame, adding and deleting
// keyframes, interpolation kind and handle coupling, zoom), tracked at a click.
#pragma once

#include "platform/ui/Menu.h"
#include "platform/ui/Wnd.h"

class CKivFXEditorMenu {
public:
    /// An empty popup menu (IsValid() false when the window system refused one: then every
    /// append and Track do nothing).
    CKivFXEditorMenu();
    ~CKivFXEditorMenu();
    CKivFXEditorMenu(const CKivFXEditorMenu&) = delete;
    CKivFXEditorMenu& operator=(const CKivFXEditorMenu&) = delete;

    bool IsValid() const { return m_menu.m_hMenu != nullptr; }
    /// The item of that command id with the text of the library's string-table entry of the
    /// same id, checked or not.
    void Item(UINT id, bool checked = false);
    void Separator();

    /// "To Start" and "Forward One Frame" when current is above in, "To Tail" and "Back One
    /// Frame" when it is below out (in the order start, tail, forward, back); a separator.
    void AppendFrameItems(int current, int in, int out);
    /// "Add Key Frame" unless a keyframe sits at the current place, "Delete Selected Key
    /// Frame" when one is selected, "Delete All Key Frames" and a separator when the track
    /// holds keyframes; without keyframes the separator comes only after an item of the two.
    void AppendKeyFrameItems(bool keyAtCurrent, bool hasSelected, int keyFrameCount);
    /// The two interpolation kinds with the one in force checked, and under Bezier a
    /// separator and the three handle couplings with the one in force checked; no items for
    /// a kind other than linear or Bezier.
    void AppendInsModeItems(int insMode, int ctrlMode);
    /// "Zoom In" always, "Zoom Out" and "Recover" when offered.
    void AppendZoomItems(bool offerZoomOut, bool offerRecover);

    /// Shows the menu at a client point of owner (turned to screen coordinates); the command
    /// chosen goes to owner as WM_COMMAND before Track returns. The menu is destroyed.
    void Track(CWnd& owner, CPoint clientPoint);

    const CMenu& Menu() const { return m_menu; }

private:
    CMenu m_menu;
};
