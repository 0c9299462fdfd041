#include "KfxEditDocument.h"



#include "keyfrm/tracks/KivFXTracks.h"


bool KfxParseTrackKind(const std::string& text, KfxTrackKindId& kind) {
    if (text == "scalar") kind = KfxTrackKindId::scalar;
    else if (text == "position") kind = KfxTrackKindId::position;
    else if (text == "colour" || text == "color") kind = KfxTrackKindId::colour;
    else return false;
    return true;
}

std::unique_ptr<KfxEditDocument> KfxEditDocument::Open(const std::string& path) {
    std::unique_ptr<KfxEditDocument> doc(new KfxEditDocument());
    doc->m_path = path;
    KfxLoad(path, doc->m_objects);
    doc->m_tracks = KfxTracks(doc->m_objects);
    return doc;
}

std::unique_ptr<KfxEditDocument> KfxEditDocument::New(KfxTrackKindId kind, const std::string& path) {
    if (KfxFormatOf(path) == KfxFormat::unknown) throw KfxError(path + ": unknown file type (use .kfa or .xml)");
    std::unique_ptr<KfxEditDocument> doc(new KfxEditDocument());
    doc->m_path = path;
    std::unique_ptr<CKivObList> track;
    switch (kind) {
        case KfxTrackKindId::scalar: track = std::make_unique<CKivFXInsKeyFrmList>(); break;
        case KfxTrackKindId::position: track = std::make_unique<CKivFXPosiKeyFrmList>(); break;
        case KfxTrackKindId::colour: track = std::make_unique<CKivFXColor32KeyFrmList>(); break;
    }
    // An element of the project: AddTail(CObList*) would add the track's keyframes instead.
    doc->m_objects.AddTail(static_cast<CObject*>(track.get()));
    track.release();
    doc->m_tracks = KfxTracks(doc->m_objects);
    return doc;
}

bool KfxEditDocument::Save(std::string& why) { return SaveTo(m_path, why); }

bool KfxEditDocument::SaveTo(const std::string& target, std::string& why) {
    try {
        KfxSave(target, m_objects);
    } catch (const KfxError& e) {
        why = e.what();
        return false;
    }
    return true;
}

std::vector<int> KfxEditDocument::TakeTracksOf(const KfxEditDocument& other, std::string& why) {
    std::vector<int> changed;
    const auto& theirs = other.Tracks();
    bool same = theirs.size() == m_tracks.size();
    for (size_t i = 0; same && i < theirs.size(); ++i) same = theirs[i]->GetRuntimeClass() == m_tracks[i]->GetRuntimeClass();
    if (!same) {
        why = other.Path() + ": its tracks are not this file's tracks";
        return changed;
    }
    for (size_t i = 0; i < theirs.size(); ++i)
        if (m_tracks[i]->Compare(theirs[i]) != 0) {
            *m_tracks[i] = *theirs[i];
            changed.push_back(static_cast<int>(i));
        }
    return changed;
}

