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

bool KfxEditDocument::Save(std::string& why) {
    try {
        KfxSave(m_path, m_objects);
    } catch (const KfxError& e) {
        why = e.what();
        return false;
    }
    return true;
}
