// The window `kfx edit` shows: the file's tracks on the left, the chosen track's editor in
// the middle, the host's numeric edits for the value at the current frame below it and a
// status line at the bottom. It follows the screen's size, keeps one undo history, saves
// safely and quits only after asking once when something is unsaved.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "KfxEditDocument.h"
#include "KfxEditEasing.h"
#include "KfxEditPanels.h"
#include "KfxEditTime.h"
#include "KfxEditorSlot.h"
#include "KfxUndoHistory.h"
#include "kivbase/gui/CKivAquaEdit.h"

class KfxEditHost : public CWnd {
public:
    // Layout in pixels.
    static constexpr int kTrackListWidth = 200;
    static constexpr int kStatusHeight = 24;
    static constexpr int kValueRowHeight = 32;
    static constexpr int kValueEditWidth = 150;
    static constexpr int kGap = 6;
    /// Shift with Left or Right steps this many frames.
    static constexpr int kBigStep = 10;
    /// Control ids of the host's windows; the numeric edits follow kFirstValueEditId.
    static constexpr UINT kTrackListId = 900;
    static constexpr UINT kFirstValueEditId = 1000;
    /// Frames a second while playing, unless the person asks for another rate: the default
    /// video standard's.
    static constexpr double kDefaultFps = 25.0;
    using Clock = std::chrono::steady_clock;

    explicit KfxEditHost(KfxEditDocument& doc, bool unsavedFromStart = false);
    ~KfxEditHost() override;

    /// Creates the host over the whole screen (it follows the screen's size) showing track
    /// `track`; false when the track does not exist or a window cannot be made.
    bool CreateOnScreen(int track);
    /// Shows another track's editor; false when there is no such track.
    bool SelectTrack(int track);

    // What keys and tests ask of the host.
    /// Moves the current frame by delta, or to a frame (kept within the story range).
    void StepFrame(int delta);
    void GoToFrame(int frame);
    bool Undo();
    bool Redo();
    /// Saves the file; the status line tells how it went.
    bool Save();
    /// Escape or closing the window: quits at once when nothing is unsaved, otherwise asks
    /// (in the status line) and quits at the second request.
    void RequestQuit();
    bool WantsToQuit() const { return m_quit; }
    void ToggleHelp();

    // Playing (KfxEditPlayback.cpp): the current frame advances in real time; every view and
    // the status line follow; the document never changes.
    void SetFramesPerSecond(double fps) { m_fps = fps; }
    double FramesPerSecond() const { return m_fps; }
    /// Space: plays from the current frame (from story in when at story out); again stops.
    void TogglePlay(Clock::time_point now = Clock::now());
    void StopPlaying();
    bool IsPlaying() const { return m_playing; }
    /// What the window's loop runs between events: ends the session on a noted signal
    /// (writing unsaved changes to the recovery file first) and advances playing.
    void Idle(Clock::time_point now = Clock::now());

    // Recovery (KfxEditRecovery.cpp).
    /// The signal that ended the session, 0 for none; the recovery file written then (empty
    /// when nothing was unsaved) or why it could not be.
    int EndSignal() const { return m_endSignal; }
    const std::string& RecoveryReport() const { return m_recoveryReport; }
    /// A recovery file newer than the file was found on opening and is still offered.
    bool IsRecoveryOffered() const { return m_recoveryOffered; }
    /// R: the recovery file's tracks replace the document's (one undo step per track).
    bool RestoreRecovery();
    /// D: the recovery file is removed.
    void DiscardRecovery();

    // Keyframes on the clipboard (KfxEditClipboard.cpp) and easing (KfxEditEasing.cpp).
    /// Ctrl+C: the chosen keyframes (the selected ones, else the one at the current frame).
    bool CopyKeyFrames();
    /// Ctrl+V: keyframes of a track of the same kind, from the current frame on; one step.
    bool PasteKeyFrames();
    /// Keys 1 to 4: the chosen keyframes' handles; one undo step.
    bool Ease(KfxEasing easing);
    /// The wheel turned by steps (positive away from the person) over a screen point.
    bool Wheel(CPoint screenPt, int steps, bool shift);

    bool IsModified() const;
    int CurrentTrack() const { return m_track; }
    CKivObList* Track() const;
    KfxEditorSlot* Slot() const { return m_slot.get(); }
    KfxUndoHistory* History() const { return m_history.get(); }
    const KfxEditTime& Time() const { return m_time; }
    const std::wstring& StatusText() const { return m_status.GetText(); }
    int ValueEditCount() const { return static_cast<int>(m_edits.size()); }
    CKivAquaEdit* ValueEdit(int i) const;
    bool IsHelpShown() const;
    /// Where the editor, the value edits and the track list are, in client coordinates.
    CRect EditorArea() const;
    CRect ValueRow() const;
    CRect TrackListArea() const;

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    void OnSize(UINT type, int cx, int cy) override;
    void OnPaint() override;
    void OnClose() override;

private:
    /// Handles a shortcut; true when the key was one.
    bool OnShortcut(UINT vk);
    /// The host's or the editor's numeric edit with window h, or null.
    CKivAquaEdit* ValueEditOf(HWND h) const;
    void Layout();
    int ValueRowHeight() const;
    void MakeValueEdits();
    /// Reads the track at the current frame into the edits and the status line.
    void Refresh();
    void UpdateTitle();
    void Say(const std::wstring& what);
    /// Undo or redo the document's last step, refused during a drag; its track is shown
    /// first. True when a track was restored to another step.
    bool StepHistory(bool redo);
    /// After a finished change: an undo step, the title and the readings.
    void Committed();
    void ValuesTyped();
    void TrackRestored();
    std::vector<std::wstring> TrackRows() const;
    /// Keys of the features above while no text is typed; true when the key was one.
    bool OnFeatureKey(UINT vk, bool ctrl);
    void AdvancePlay(Clock::time_point now);
    void EndOnSignal(int sig);
    /// The cursor for a screen point: text over value boxes, move over what a press drags.
    KivCursor CursorAt(CPoint screenPt) const;

    KfxEditDocument& m_doc;
    bool m_unsavedFromStart;
    int m_track = -1;
    KfxEditTime m_time;
    std::unique_ptr<KfxEditorSlot> m_slot;
    std::unique_ptr<KfxUndoHistory> m_history;
    std::vector<std::unique_ptr<CKivAquaEdit>> m_edits;
    KfxTrackListPanel m_list;
    KfxStatusLine m_status;
    KfxHelpPanel m_help;
    std::wstring m_lastEvent;
    bool m_quit = false;
    bool m_askedToQuit = false;
    double m_fps = kDefaultFps;
    bool m_playing = false;
    int m_playFrom = 0;
    Clock::time_point m_playStart;
    int m_endSignal = 0;
    std::string m_recoveryReport;
    bool m_recoveryOffered = false;
    bool m_recoveryOlder = false;  // the offered file is older than the file
};
