#include "KfxEditClipboard.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <memory>

#include "KfxEditHost.h"
#include "KfxProject.h"
#include "keyfrm/core/KivFXKeyFrmList.h"
#include "keyfrm/tracks/KivFXTracks.h"
#include "platform/fw/CException.h"
#include "platform/ui/Clipboard.h"

namespace {

// The name the clipboard's text goes by in the loader's messages.
constexpr const char* kClipboardName = "clipboard.xml";

bool Timed(const CObject* k) { return k->IsKindOf(RUNTIME_CLASS(CKivFXInsValueKeyFrm)); }

// Two keyframes stand on the same place: the same Frame (scalar, position) or Location.
bool SamePlace(const CKivFXBaseKeyFrm& a, const CKivFXBaseKeyFrm& b) {
    if (Timed(&a) && Timed(&b)) return static_cast<const CKivFXInsValueKeyFrm&>(a).Frame == static_cast<const CKivFXInsValueKeyFrm&>(b).Frame;
    return std::fabs(a.Location - b.Location) < 1e-9;
}

// Moves the pasted keyframes so the first lands on the current frame.
void ShiftToCurrentFrame(CKivObList& pasted, const KfxEditTime& time) {
    long long first = LLONG_MAX;
    double firstLocation = 1e300;
    for (POSITION pos = pasted.GetHeadPosition(); pos;) {
        auto* k = static_cast<CKivFXBaseKeyFrm*>(pasted.GetNext(pos));
        if (Timed(k)) first = std::min<long long>(first, static_cast<CKivFXInsValueKeyFrm*>(k)->Frame);
        firstLocation = std::min(firstLocation, k->Location);
    }
    for (POSITION pos = pasted.GetHeadPosition(); pos;) {
        auto* k = static_cast<CKivFXBaseKeyFrm*>(pasted.GetNext(pos));
        if (Timed(k)) {
            auto* timed = static_cast<CKivFXInsValueKeyFrm*>(k);
            timed->Frame = static_cast<int>(std::clamp<long long>(timed->Frame - first + time.frame, INT_MIN, INT_MAX));
            k->Location = time.LocationOf(timed->Frame);
        } else {
            k->Location = k->Location - firstLocation + time.Location();
        }
    }
}

}  // namespace

std::string KfxKeyFramesText(CKivObList& track, const std::vector<CKivFXBaseKeyFrm*>& chosen) {
    CObject* made = track.GetRuntimeClass()->CreateObject();
    if (!made) throw CMemoryException();
    std::unique_ptr<CKivObList> copy(static_cast<CKivObList*>(made));
    *copy = track;
    // The copy holds the track's keyframes in the same order: those not chosen go.
    POSITION src = track.GetHeadPosition(), dst = copy->GetHeadPosition();
    while (src && dst) {
        CObject* original = track.GetNext(src);
        const POSITION here = dst;
        copy->GetNext(dst);
        if (std::find(chosen.begin(), chosen.end(), original) == chosen.end()) copy->DeleteAt(here);
    }
    CKivObList project;
    project.AddTail(static_cast<CObject*>(copy.release()));
    const std::vector<BYTE> bytes = KfxSaveBytes(kClipboardName, KfxFormat::xml, project);
    return std::string(bytes.begin(), bytes.end());
}

int KfxPasteKeyFramesText(CKivObList& track, const std::string& text, const KfxEditTime& time, std::string& why) {
    const std::string kind = KfxTrackKind(track);
    CKivObList project;
    try {
        KfxLoadBytes(kClipboardName, KfxFormat::xml, std::span(reinterpret_cast<const BYTE*>(text.data()), text.size()), project);
    } catch (...) {
        // Any text that does not load as a project is simply not ours.
        why = "the clipboard holds no keyframes (copy some with Ctrl+C in kfx edit)";
        return 0;
    }
    const std::vector<CKivObList*> tracks = KfxTracks(project);
    if (tracks.size() != 1 || tracks[0]->GetCount() == 0) {
        why = "the clipboard holds no keyframes (copy some with Ctrl+C in kfx edit)";
        return 0;
    }
    CKivObList& pasted = *tracks[0];
    if (pasted.GetRuntimeClass() != track.GetRuntimeClass()) {
        why = "the clipboard holds keyframes of a " + KfxTrackKind(pasted) + " track; this is a " + kind + " track";
        return 0;
    }
    ShiftToCurrentFrame(pasted, time);
    for (POSITION pos = pasted.GetHeadPosition(); pos;) {
        const auto* k = static_cast<const CKivFXBaseKeyFrm*>(pasted.GetNext(pos));
        for (POSITION at = track.GetHeadPosition(); at;) {
            const POSITION here = at;
            const CObject* old = track.GetNext(at);
            if (old && old->IsKindOf(RUNTIME_CLASS(CKivFXBaseKeyFrm)) && SamePlace(*static_cast<const CKivFXBaseKeyFrm*>(old), *k))
                track.DeleteAt(here);
        }
    }
    int count = 0;
    while (!pasted.IsEmpty()) {
        track.AddTail(pasted.RemoveHead());
        ++count;
    }
    KivFXKeyFrmTaxisList(&track);
    return count;
}

// ---- The host's keys ----------------------------------------------------------------------

bool KfxEditHost::CopyKeyFrames() {
    CKivObList* track = Track();
    if (!track || !m_slot) return false;
    const std::vector<CKivFXBaseKeyFrm*> chosen = KfxChosenKeyFrames(*track, m_time);
    if (chosen.empty()) {
        Say(L"nothing copied: select keyframes, or go to a frame with one");
        return false;
    }
    try {
        if (!KivSetClipboardText(KfxKeyFramesText(*track, chosen))) {
            Say(L"nothing copied: the clipboard did not take the text");
            return false;
        }
    } catch (const KfxError& e) {
        Say(std::wstring(L"nothing copied: ") + CString::FromUtf8(e.what()).GetString());
        return false;
    } catch (const CMemoryException&) {
        Say(L"nothing copied: out of memory");
        return false;
    }
    Say(L"copied " + std::to_wstring(chosen.size()) + (chosen.size() == 1 ? L" keyframe" : L" keyframes"));
    return true;
}

bool KfxEditHost::PasteKeyFrames() {
    CKivObList* track = Track();
    if (!track || !m_slot) return false;
    if (m_slot->IsBusy()) {
        Say(L"finish the drag first");
        return false;
    }
    const std::optional<std::string> text = KivGetClipboardText();
    std::string why = "the clipboard holds no text";
    int count = 0;
    try {
        if (text) count = KfxPasteKeyFramesText(*track, *text, m_time, why);
    } catch (const CMemoryException&) {
        why = "out of memory";
    }
    if (count == 0) {
        Say(std::wstring(L"nothing pasted: ") + CString::FromUtf8(why).GetString());
        return false;
    }
    m_slot->TrackRestored();
    m_lastEvent = L"pasted " + std::to_wstring(count) + (count == 1 ? L" keyframe" : L" keyframes") + L" at frame " +
                  std::to_wstring(m_time.frame);
    Committed();
    return true;
}
