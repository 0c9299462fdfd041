// Project files of kfx: a serialized list of objects, as an archive (.kfa: exactly a
// CKivObList written to an archive) or as XML (.xml: a root element holding that list's XML).
// Loading and saving work on files and, for tests and fuzzing, on bytes in memory.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "kivbase/CKivObList.h"

enum class KfxFormat { archive, xml, unknown };

/// The format an extension names (.kfa or .xml, any case).
KfxFormat KfxFormatOf(const std::string& path);
/// Replaces list's contents with the file's objects; throws KfxError naming file and fault
/// (the list is then empty).
void KfxLoad(const std::string& path, CKivObList& list);
/// KfxLoad from the bytes of a file in the given format; name is used in messages only.
void KfxLoadBytes(const std::string& name, KfxFormat format, std::span<const BYTE> data, CKivObList& list);
/// Writes list to the file in the format its extension names, whole or not at all: the bytes
/// are made first, then written as KfxWriteFile does. Throws KfxError; the file is then as
/// it was unless the message says it was saved.
void KfxSave(const std::string& path, CKivObList& list);
/// Replaces path's contents with bytes the safe way: a temporary file in the same folder,
/// flushed to the disk, renamed over path, then the folder flushed. An existing file keeps
/// its permissions, a new one gets 0666 less the umask; through a link, the file it points
/// at is replaced. Throws KfxError naming path; before the rename, path is untouched and the
/// temporary file removed ("saved, but ..." when only the folder's flush failed).
void KfxWriteFile(const std::string& path, std::span<const BYTE> bytes);
/// The bytes KfxSave would write in that format; throws KfxError.
std::vector<BYTE> KfxSaveBytes(const std::string& name, KfxFormat format, CKivObList& list);

/// The tracks among list's elements (scalar, position, colour), in list order.
std::vector<CKivObList*> KfxTracks(CKivObList& list);
/// A track's kind for people: "scalar", "position" or "colour".
std::string KfxTrackKind(const CKivObList& track);

/// A fault worth one line to the user; what() already names the file.
class KfxError : public std::exception {
public:
    explicit KfxError(std::string message) : m_message(std::move(message)) {}
    const char* what() const noexcept override { return m_message.c_str(); }

private:
    std::string m_message;
};
