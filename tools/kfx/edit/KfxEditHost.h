// The window `kfx edit` shows: the file's tracks on the left, the chosen track's editor in
// the middle, the host's numeric edits for the value at the current frame below it and a
// status line at the bottom. It follows the screen's size, keeps undo steps per track, saves
// safely and quits only after asking once when something is unsaved.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "KfxEditDocument.h"
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

    bool IsModified() const;
    int CurrentTrack() const { return m_track; }
    CKivObList* Track() const;
    KfxEditorSlot* Slot() const { return m_slot.get(); }
    KfxUndoHistory* History() const;
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
    /// Undo or redo (step) on the current track, refused during a drag; verb and done name
    /// it in the status line. True when the track was restored to another step.
    bool StepHistory(bool (KfxUndoHistory::*step)(), const wchar_t* verb, const wchar_t* done);
    /// After a finished change: an undo step, the title and the readings.
    void Committed();
    void ValuesTyped();
    void TrackRestored();
    std::vector<std::wstring> TrackRows() const;

    KfxEditDocument& m_doc;
    bool m_unsavedFromStart;
    int m_track = -1;
    KfxEditTime m_time;
    std::unique_ptr<KfxEditorSlot> m_slot;
    std::map<const CKivObList*, std::unique_ptr<KfxUndoHistory>> m_histories;
    std::vector<std::unique_ptr<CKivAquaEdit>> m_edits;
    KfxTrackListPanel m_list;
    KfxStatusLine m_status;
    KfxHelpPanel m_help;
    std::wstring m_lastEvent;
    bool m_quit = false;
    bool m_askedToQuit = false;
};
