#include "KfxUndoHistory.h"

#include <algorithm>

#include "platform/fw/CException.h"

KfxUndoHistory::KfxUndoHistory(std::vector<CKivObList*> tracks, size_t maxSteps)
    : m_tracks(std::move(tracks)), m_maxSteps(std::max<size_t>(1, maxSteps)) {
    for (const CKivObList* t : m_tracks) m_last.push_back(CopyOf(*t));
}

KfxUndoHistory::Copy KfxUndoHistory::CopyOf(const CKivObList& track) {
    return KivCopyList(track);
}

bool KfxUndoHistory::Commit(int track) {
    if (track < 0 || static_cast<size_t>(track) >= m_tracks.size()) return false;
    const size_t t = static_cast<size_t>(track);
    if (m_last[t]->Compare(m_tracks[t]) == 0) return false;
    Step step{track, m_last[t], CopyOf(*m_tracks[t])};
    if (m_savedAt > static_cast<long long>(m_done)) m_savedAt = -1;  // the saved state was undone and is now forgotten
    m_steps.erase(m_steps.begin() + static_cast<std::ptrdiff_t>(m_done), m_steps.end());
    m_steps.push_back(std::move(step));
    m_last[t] = m_steps.back().after;
    if (m_steps.size() > m_maxSteps) {
        m_steps.pop_front();
        m_savedAt = m_savedAt > 0 ? m_savedAt - 1 : -1;
    }
    m_done = m_steps.size();
    return true;
}

int KfxUndoHistory::UndoTrack() const { return CanUndo() ? m_steps[m_done - 1].track : -1; }

int KfxUndoHistory::RedoTrack() const { return CanRedo() ? m_steps[m_done].track : -1; }

bool KfxUndoHistory::Undo() {
    if (!CanUndo()) return false;
    const Step& step = m_steps[m_done - 1];
    *m_tracks[static_cast<size_t>(step.track)] = *step.before;
    m_last[static_cast<size_t>(step.track)] = step.before;
    --m_done;
    return true;
}

bool KfxUndoHistory::Redo() {
    if (!CanRedo()) return false;
    const Step& step = m_steps[m_done];
    *m_tracks[static_cast<size_t>(step.track)] = *step.after;
    m_last[static_cast<size_t>(step.track)] = step.after;
    ++m_done;
    return true;
}
