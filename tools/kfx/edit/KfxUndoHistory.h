// Undo and redo for one track at the host's level: a bounded list of whole copies of the
// track, one per finished change, restored into the very track object the editor holds.
#pragma once

#include <cstddef>
#include <deque>
#include <memory>

#include "kivbase/CKivObList.h"

class KfxUndoHistory {
public:
    /// Steps kept: enough for a session's work; each is a whole copy of one track.
    static constexpr size_t kMaxSteps = 200;

    /// Starts with the track as it is now, which also counts as saved.
    explicit KfxUndoHistory(CKivObList& track, size_t maxSteps = kMaxSteps);

    /// After an editor reports a finished change: remembers the track as it is now, unless
    /// it equals the state last remembered (a click that moved nothing). Forgets the steps
    /// that could have been redone, and the oldest step beyond the bound. True when a step
    /// was added. Raises CMemoryException (nothing remembered).
    bool Commit();
    /// Puts the track back to the state before the current one; false when there is none.
    /// Raises CMemoryException (the track unchanged).
    bool Undo();
    /// Puts the track forward to the state an Undo left; false when there is none.
    bool Redo();
    bool CanUndo() const { return m_current > 0; }
    bool CanRedo() const { return m_current + 1 < m_states.size(); }

    /// The current state is the one on disk.
    void MarkSaved() { m_savedSerial = m_states[m_current].serial; }
    /// The track differs from what was last saved (or the saved state was forgotten).
    bool IsModified() const { return m_states[m_current].serial != m_savedSerial; }
    /// Steps held, the current state counted.
    size_t Size() const { return m_states.size(); }
    CKivObList& Track() { return m_track; }

private:
    struct State {
        std::unique_ptr<CKivObList> copy;
        unsigned long serial;
    };
    std::unique_ptr<CKivObList> CopyOfTrack() const;
    void Restore(const State& state);

    CKivObList& m_track;
    size_t m_maxSteps;
    std::deque<State> m_states;
    size_t m_current = 0;
    unsigned long m_nextSerial = 0;
    unsigned long m_savedSerial = 0;
};
