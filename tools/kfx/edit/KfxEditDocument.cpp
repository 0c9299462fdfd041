#include "KfxEditDocument.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "keyfrm/tracks/KivFXTracks.h"

namespace {

// The temporary file is the file's name with this tail and six letters mkstemp fills in.
constexpr const char* kTempTail = ".kfx-save-XXXXXX";

std::string SystemFault(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

// Writes every byte to fd; false (errno set) on a short write that cannot go on.
bool WriteAll(int fd, const BYTE* p, size_t n) {
    while (n > 0) {
        const ssize_t w = ::write(fd, p, n);
        if (w < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += w;
        n -= static_cast<size_t>(w);
    }
    return true;
}

// The process's umask; reading it means setting it, so it is put straight back.
mode_t CurrentUmask() {
    const mode_t mask = ::umask(077);
    ::umask(mask);
    return mask;
}

}  // namespace

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
    std::vector<BYTE> bytes;
    try {
        bytes = KfxSaveBytes(m_path, KfxFormatOf(m_path), m_objects);
    } catch (const KfxError& e) {
        why = e.what();
        return false;
    }
    return KfxWriteFileAtomically(target, bytes, why);
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

bool KfxWriteFileAtomically(const std::string& path, const std::vector<BYTE>& bytes, std::string& why) {
    std::string temp = path + kTempTail;
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        why = path + ": " + SystemFault("cannot make a temporary file beside it");
        return false;
    }
    auto fail = [&](const char* what) {
        why = path + ": " + SystemFault(what);
        ::close(fd);
        ::unlink(temp.c_str());
        return false;
    };
    // mkstemp makes the file private: the saved file keeps the permissions the original
    // had, and a new file gets what the umask gives, as any program's new file does.
    struct stat original{};
    const mode_t mode = ::stat(path.c_str(), &original) == 0 ? (original.st_mode & 07777) : (0666 & ~CurrentUmask());
    if (::fchmod(fd, mode) != 0) return fail("cannot give the temporary file the file's permissions");
    if (!WriteAll(fd, bytes.data(), bytes.size())) return fail("cannot write the temporary file");
    if (::fsync(fd) != 0) return fail("cannot flush the temporary file to the disk");
    if (::close(fd) != 0) {
        why = path + ": " + SystemFault("cannot close the temporary file");
        ::unlink(temp.c_str());
        return false;
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        why = path + ": " + SystemFault("cannot put the saved file in place");
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}
