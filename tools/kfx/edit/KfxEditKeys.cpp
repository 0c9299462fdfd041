// The keys, the wheel and the cursor of the host's second-pass features: play, copy and
// paste, easing presets and the recovery offer.
#include <cmath>

#include "KfxEditHost.h"
#include "platform/ui/Screen.h"

bool KfxEditHost::OnFeatureKey(UINT vk, bool ctrl) {
    if (ctrl) {
        if (vk == 'C') return CopyKeyFrames(), true;
        if (vk == 'V') return PasteKeyFrames(), true;
        return false;
    }
    if (m_recoveryOffered && (vk == 'R' || vk == 'D')) {
        if (vk == 'R')
            RestoreRecovery();
        else
            DiscardRecovery();
        return true;
    }
    switch (vk) {
        case VK_SPACE: TogglePlay(); return true;
        case '1': Ease(KfxEasing::linear); return true;
        case '2': Ease(KfxEasing::easeIn); return true;
        case '3': Ease(KfxEasing::easeOut); return true;
        case '4': Ease(KfxEasing::easeInOut); return true;
        default: return false;
    }
}

bool KfxEditHost::Wheel(CPoint screenPt, int steps, bool shift) {
    if (!m_slot || steps == 0 || m_slot->IsBusy()) return false;
    CWnd* under = KivScreen::Get().WindowFromPoint(screenPt);
    return under && m_slot->Wheel(under, screenPt, steps, shift);
}

KivCursor KfxEditHost::CursorAt(CPoint screenPt) const {
    CWnd* under = KivScreen::Get().WindowFromPoint(screenPt);
    if (under && ValueEditOf(under->m_hWnd)) return KivCursor::text;
    if (!m_slot) return KivCursor::arrow;
    // While a drag is on, the shape stays the one it started with.
    return m_slot->IsBusy() || (under && m_slot->WouldDrag(under, screenPt)) ? KivCursor::move : KivCursor::arrow;
}
