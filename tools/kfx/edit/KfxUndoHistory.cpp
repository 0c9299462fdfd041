#include "KfxUndoHistory.h"

#include <algorithm>

#include "platform/fw/CException.h"

KfxUndoHistory::KfxUndoHistory(CKivObList& track, size_t maxSteps) : m_track(track), m_maxSteps(std::max<size_t>(1, maxSteps)) {
    m_states.push_back(State{CopyOfTrack(), m_nextSerial++});
    MarkSaved();
}

std::unique_ptr<CKivObList> KfxUndoHistory::CopyOfTrack() const {
    // A new object of the track's own class, assigned through the track's own operator=.
    CObject* made = m_track.GetRuntimeClass()->CreateObject();
    if (!made) throw CMemoryException();
    std::unique_ptr<CKivObList> copy(static_cast<CKivObList*>(made));
    *copy = m_track;
    return copy;
}

bool KfxUndoHistory::Commit() {
    if (m_states[m_current].copy->Compare(&m_track) == 0) return false;
    State state{CopyOfTrack(), m_nextSerial++};
    m_states.erase(m_states.begin() + static_cast<std::ptrdiff_t>(m_current) + 1, m_states.end());
    m_states.push_back(std::move(state));
    if (m_states.size() > m_maxSteps) m_states.pop_front();
    m_current = m_states.size() - 1;
    return true;
}

void KfxUndoHistory::Restore(const State& state) { m_track = *state.copy; }

bool KfxUndoHistory::Undo() {
    if (!CanUndo()) return false;
    Restore(m_states[m_current - 1]);
    --m_current;
    return true;
}

bool KfxUndoHistory::Redo() {
    if (!CanRedo()) return false;
    Restore(m_states[m_current + 1]);
    ++m_current;
    return true;
}
