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

// Keyframes of scalar and position tracks, whose Frames kfx edit keeps in step with their
// Locations. A colour keyframe carries a Frame too, but its track is placed by Location only
// and the Frame says nothing.
bool Timed(const CObject* k) {
    return k->IsKindOf(RUNTIME_CLASS(CKivFXInsValueKeyFrm)) && !k->IsKindOf(RUNTIME_CLASS(CKivFXColor32KeyFrm));
}

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

// Keyframes placed by location only (colour) must lie within the story, 0 to 1; a sum that
// misses an end by rounding alone is put on it. Returns how many lie outside.
int OutsideTheStory(CKivObList& pasted) {
    constexpr double kRounding = 1e-9;
    int outside = 0;
    for (POSITION pos = pasted.GetHeadPosition(); pos;) {
        auto* k = static_cast<CKivFXBaseKeyFrm*>(pasted.GetNext(pos));
        if (Timed(k)) continue;
        if (k->Location > 1.0 && k->Location <= 1.0 + kRounding) k->Location = 1.0;
        if (k->Location < 0.0 && k->Location >= -kRounding) k->Location = 0.0;
        if (!(k->Location >= 0.0 && k->Location <= 1.0)) ++outside;
    }
    return outside;
}

// Frames per unit of location of the copied keyframes' own story, told by the earliest and
// the latest of them (their Frames over their Locations); 0 when fewer than two frames tell.
double CopiedFramesPerLocation(CKivObList& pasted) {
    const CKivFXInsValueKeyFrm* first = nullptr;
    const CKivFXInsValueKeyFrm* last = nullptr;
    for (POSITION pos = pasted.GetHeadPosition(); pos;) {
        const CObject* k = pasted.GetNext(pos);
        if (!Timed(k)) continue;
        const auto* timed = static_cast<const CKivFXInsValueKeyFrm*>(k);
        if (!first || timed->Frame < first->Frame) first = timed;
        if (!last || timed->Frame > last->Frame) last = timed;
    }
    if (!first || first->Frame == last->Frame) return 0.0;
    const double scale = (static_cast<double>(last->Frame) - first->Frame) / (last->Location - first->Location);
    return std::isfinite(scale) && scale > 0.0 ? scale : 0.0;
}

// A Bezier handle's time offset is in its track's unit: frames on a track placed by frame,
// the story's share on another. Pasted keyframes keep their spacing in frames, so the offsets
// go through frames too and the curve keeps its shape: out of locations by the copied story's
// own scale (the current story's length when one keyframe cannot tell it), into locations
// over the current story's length. Between two stories of one length nothing changes.
void ConvertHandleUnits(CKivObList& pasted, const CKivObList& track, const KfxEditTime& time) {
    if (!pasted.IsKindOf(RUNTIME_CLASS(CKivFXInsKeyFrmList))) return;  // only scalar handles have a time offset
    const double storyFrames = std::max(1.0, static_cast<double>(time.storyOut) - time.storyIn);
    const double copiedScale = CopiedFramesPerLocation(pasted);
    const double toFrames = KfxPlacedByFrame(pasted) ? 1.0 : copiedScale > 0.0 ? copiedScale : storyFrames;
    const double factor = toFrames / (KfxPlacedByFrame(track) ? 1.0 : storyFrames);
    if (factor == 1.0) return;
    auto& keys = static_cast<CKivFXInsKeyFrmList&>(pasted);
    for (int i = 0; i < keys.GetKeyFrmCount(); ++i)
        if (CKivFXValueKeyFrm* k = keys.GetFXKeyFrm(i)) {
            k->PtFore.PosOffset *= factor;
            k->PtAfter.PosOffset *= factor;
        }
}

}  // namespace

std::string KfxKeyFramesText(CKivObList& track, const std::vector<CKivFXBaseKeyFrm*>& chosen) {
    std::unique_ptr<CKivObList> copy = KivCopyList(track);
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
    ConvertHandleUnits(pasted, track, time);
    ShiftToCurrentFrame(pasted, time);
    // Refused whole rather than clamped: clamping would pile keyframes on the story's end and
    // lose their colours; refused, the track and the clipboard stay as they were.
    if (const int outside = OutsideTheStory(pasted); outside > 0) {
        why = std::to_string(outside) + " of the " + std::to_string(pasted.GetCount()) +
              " keyframes would land past the story's end; paste at an earlier place";
        return 0;
    }
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
