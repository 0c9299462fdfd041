// Playing: the current frame follows the clock at the host's rate while the document stays
// as it is; and the loop's idle work that drives it.
#include <cmath>

#include "KfxEditHost.h"
#include "KfxEditRecovery.h"

void KfxEditHost::TogglePlay(Clock::time_point now) {
    if (m_playing) {
        StopPlaying();
        return;
    }
    if (!m_slot || m_slot->IsBusy()) return;
    // From story out there is nothing left to play: it starts over.
    if (m_time.frame >= m_time.storyOut) GoToFrame(m_time.storyIn);
    m_playing = true;
    m_playFrom = m_time.frame;
    m_playStart = now;
    Say(L"playing at " + std::to_wstring(static_cast<int>(std::lround(m_fps))) + L" frames a second (Space or Escape stops)");
}

void KfxEditHost::StopPlaying() {
    if (!m_playing) return;
    m_playing = false;
    Say(L"stopped at frame " + std::to_wstring(m_time.frame));
}

void KfxEditHost::AdvancePlay(Clock::time_point now) {
    const double elapsed = std::chrono::duration<double>(now - m_playStart).count();
    const double target = m_playFrom + std::floor(std::max(0.0, elapsed) * m_fps);
    if (target >= m_time.storyOut) {
        GoToFrame(m_time.storyOut);
        StopPlaying();
        return;
    }
    GoToFrame(static_cast<int>(target));
}

void KfxEditHost::Idle(Clock::time_point now) {
    if (const int sig = KfxEndSignal(); sig != 0 && !m_quit) EndOnSignal(sig);
    if (m_playing && !m_quit) AdvancePlay(now);
}
