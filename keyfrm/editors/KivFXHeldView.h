// The evaluation view an editor keeps of the track it shows: a paint that asks the track's
// value at every pixel column costs O(log n) a call instead of a check of every keyframe.
#pragma once

#include <optional>

#include "keyfrm/tracks/CKivFXTrackView.h"

/// The view follows the track's edits by itself (the list's modification count); the editor
/// drops it whenever a track is attached, since another track may come at a freed one's
/// address. Keys the editor writes directly (its drags) are told to the track at once.
template <class Track>
class KivFXHeldView {
public:
    /// The view of track, made at the first call after Drop or for another track.
    CKivFXTrackView<Track>& Of(const Track& track) {
        if (!m_view || m_track != &track) {
            m_view.emplace(track);
            m_track = &track;
        }
        return *m_view;
    }
    void Drop() {
        m_view.reset();
        m_track = nullptr;
    }

private:
    std::optional<CKivFXTrackView<Track>> m_view;
    const Track* m_track = nullptr;
};
