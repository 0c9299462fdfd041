// The project file `kfx edit` works on: its objects, the tracks among them, and saving that
// never loses the file (KfxSave: a temporary file beside it, flushed, then renamed over it).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "KfxProject.h"

/// The kinds of track `kfx edit --new` starts from.
enum class KfxTrackKindId { scalar, position, colour };

class KfxEditDocument {
public:
    /// Loads path (.kfa or .xml); throws KfxError with the loader's one-line message.
    static std::unique_ptr<KfxEditDocument> Open(const std::string& path);
    /// A project of one empty track of that kind, to be saved as path (not written yet).
    /// Throws KfxError when path's extension names no format.
    static std::unique_ptr<KfxEditDocument> New(KfxTrackKindId kind, const std::string& path);

    const std::string& Path() const { return m_path; }
    CKivObList& Objects() { return m_objects; }
    /// The tracks among the objects, in file order (the objects own them).
    const std::vector<CKivObList*>& Tracks() const { return m_tracks; }

    /// Writes the objects in the file's own format the safe way KfxSave does (the file whole
    /// or as it was); false with why, one line, when that fails.
    bool Save(std::string& why);
    /// Writes the objects in the file's own format to target, as safely as Save does.
    bool SaveTo(const std::string& target, std::string& why);
    /// Gives each track the contents of the same track of other (a recovery file of this
    /// one); the indexes of the tracks that changed. Nothing changes, and why says so, when
    /// other's tracks are not of the same kinds in the same order.
    std::vector<int> TakeTracksOf(const KfxEditDocument& other, std::string& why);

private:
    KfxEditDocument() = default;
    std::string m_path;
    CKivObList m_objects;
    std::vector<CKivObList*> m_tracks;
};

/// Parses "scalar", "position" or "colour"; false for anything else.
bool KfxParseTrackKind(const std::string& text, KfxTrackKindId& kind);
