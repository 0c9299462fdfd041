// Undo and redo for a whole document at the host's level: one bounded list of finished
// changes, whichever track they were made on, each remembering its track and whole copies of
// it before and after, restored into the very track object the editor holds.
#pragma once

#include <cstddef>
#include <deque>
#include <memory>
#include <vector>

#include "kivbase/CKivObList.h"

class KfxUndoHistory {
public:
    /// Steps kept: enough for a session's work; each holds whole copies of one track.
    static constexpr size_t kMaxSteps = 200;

    /// Starts with the tracks as they are now, which also counts as saved.
    explicit KfxUndoHistory(std::vector<CKivObList*> tracks, size_t maxSteps = kMaxSteps);

    /// After an editor reports a finished change to track `track`: remembers it as it is now,
    /// unless it equals what was last remembered of it (a click that moved nothing). Forgets
    /// the steps that could have been redone, and the oldest step beyond the bound. True when
    /// a step was added. Raises CMemoryException (nothing remembered).
    bool Commit(int track);
    /// The track the next Undo or Redo changes; -1 when there is nothing to undo or redo.
    int UndoTrack() const;
    int RedoTrack() const;
    /// Puts the last step's track back as it was before it; false when there is none.
    /// Raises CMemoryException (the track unchanged).
    bool Undo();
    /// Puts forward the step an Undo took back; false when there is none.
    bool Redo();
    bool CanUndo() const { return m_done > 0; }
    bool CanRedo() const { return m_done < m_steps.size(); }

    /// The current state is the one on disk.
    void MarkSaved() { m_savedAt = static_cast<long long>(m_done); }
    /// Something differs from what was last saved (or the saved state was forgotten).
    bool IsModified() const { return m_savedAt != static_cast<long long>(m_done); }
    /// States held: the steps and the state they start from.
    size_t Size() const { return m_steps.size() + 1; }

private:
    using Copy = std::shared_ptr<const CKivObList>;
    struct Step {
        int track;
        Copy before, after;
    };
    static Copy CopyOf(const CKivObList& track);

    std::vector<CKivObList*> m_tracks;
    std::vector<Copy> m_last;  // each track as last remembered
    size_t m_maxSteps;
    std::deque<Step> m_steps;
    size_t m_done = 0;         // steps applied
    long long m_savedAt = 0;   // steps applied when saved; -1 once that state was forgotten
};
