// The one interface between `kfx edit`'s host window and an editor of one track kind: the
// host asks a slot to make the editor's windows for a track, to place them, to say what the
// editor's messages mean, and to read and set values at the current frame. Plugging in an
// editor is one class and one row in the table of slots (KfxEditorSlots.cpp).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "KfxEditTime.h"
#include "kivbase/gui/CKivAquaEdit.h"
#include "platform/ui/Wnd.h"

/// One of the host's numeric edits for a track kind.
struct KfxValueField {
    const wchar_t* label;  // drawn before the value
    double min, max;       // the edit's range
    int decimals;          // 0 to 3
};

/// The values at the current frame, one per field, and whether a keyframe sits there.
struct KfxEditReading {
    std::vector<double> values;
    bool onKeyFrame = false;
};

/// What an editor's message meant to the host.
struct KfxEditorNotice {
    bool handled = false;    // the message was the editor's
    bool finished = false;   // a change to the track is complete: the host takes a snapshot
    bool frameMoved = false; // the editor moved the current frame to `frame`
    int frame = 0;
    std::wstring detail;     // what happened, for the status line ("dragging keyframe 2")
};

class KfxEditorSlot {
public:
    virtual ~KfxEditorSlot() = default;

    /// Makes the editor's windows as children of host, showing track over time (the story
    /// range and current frame). False when they cannot be made.
    virtual bool Create(CWnd& host, CKivObList& track, const KfxEditTime& time) = 0;
    /// Places the editor's windows in area (the host's client coordinates).
    virtual void Layout(const CRect& area) = 0;
    /// A message the host got (registered editor messages, WM_COMMAND from the editor).
    virtual KfxEditorNotice Route(UINT msg, WPARAM wParam, LPARAM lParam) = 0;
    /// The host moved the current frame (keys, or another editor).
    virtual void SetTime(const KfxEditTime& time) = 0;
    /// The host's numeric edits for this kind, in order.
    virtual std::vector<KfxValueField> Fields() const = 0;
    /// The values at the current frame, read from the track.
    virtual KfxEditReading Read() const = 0;
    /// Values typed into the host's edits, for the current frame (set on the keyframe
    /// there, or a new one); true when the track took them.
    virtual bool SendValues(const std::vector<double>& values) = 0;
    /// True while the editor holds pointers into the track for a drag: the host restores no
    /// snapshot then.
    virtual bool IsBusy() const = 0;
    /// The track's contents were replaced (undo, redo): the editor lets go of what it held
    /// and shows the track anew.
    virtual void TrackRestored() = 0;
    /// The editor's main window, for tests and layout reports.
    virtual CWnd* Window() = 0;
    /// The window KeyFramePoints lie in (the main window unless the editor has two).
    virtual CWnd* MarksWindow() { return Window(); }
    /// Whether w is one of the editor's windows that hold the mouse while they drag.
    virtual bool DragsIn(const CWnd* w) const = 0;
    /// What a person can do in the editor with the mouse, as (action, effect) lines for the
    /// list of keys F1 shows.
    virtual std::vector<std::pair<std::wstring, std::wstring>> MouseHelp() const = 0;
    /// Centres of the keyframes' marks in screen coordinates, in track order (for scripts
    /// that drive the editor as a person would); empty when the editor has none.
    virtual std::vector<CPoint> KeyFramePoints() const = 0;
    /// Every point (screen coordinates) where a drag of a keyframe can start, in all the
    /// editor's windows.
    virtual std::vector<CPoint> GripPoints() const { return KeyFramePoints(); }
    /// False when the editor shows and takes the values itself: the host makes no numeric
    /// edits for Fields() then (they still label the status line).
    virtual bool HostEdits() const { return true; }
    /// The editor's own numeric edit with window h, or null: the host lets it keep the keys.
    virtual CKivAquaEdit* ValueBox(HWND) { return nullptr; }
    /// The mouse wheel turned by steps (positive away from the person) over under, one of
    /// the editor's windows: its zoom around the pointer, or with shift a scroll. False when
    /// the window has neither.
    virtual bool Wheel(CWnd* /*under*/, CPoint /*screenPt*/, int /*steps*/, bool /*shift*/) { return false; }
    /// Whether a press at a screen point over under (one of the editor's windows) would start
    /// a drag there: a keyframe, a handle, a marker. By default: within a few pixels of a
    /// grip point.
    virtual bool WouldDrag(const CWnd* under, CPoint screenPt) const;
};

/// The parts of a keyframe a press can drag in the curve window and the dialogs: the
/// keyframe, its before handle and its after handle.
constexpr int kKfxDragParts[] = {0, 1, 2};

/// Whether w is inside (or is) the window top, for routing input to an editor's window.
bool KfxIsWithin(const CWnd* w, const CWnd& top);
/// Sends a dialog's "Zoom In" (steps > 0) or "Zoom Out" command once per step.
void KfxZoomDialog(CWnd& dialog, int steps);

/// The slot for a track (scalar, position or colour), or null for an object of another kind.
std::unique_ptr<KfxEditorSlot> KfxMakeEditorSlot(const CKivObList& track);
/// Names of the editors the table of slots holds, one per track kind, for help texts.
std::wstring KfxEditorNameFor(const CKivObList& track);
