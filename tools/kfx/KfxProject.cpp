#include "KfxProject.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>

#include "keyfrm/tracks/KivFXTracks.h"
#include "kivbase/KivXMLDOMDoc.h"
#include "kivbase/KivXMLNodeWalk.h"
#include "platform/fw/CArchive.h"
#include "platform/fw/CFile.h"

namespace {

constexpr const wchar_t* kProjectRoot = L"KivFXProject";
constexpr const char* kListElement = "CKivObList";

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

[[noreturn]] void Fail(const std::string& path, const std::string& fault) { throw KfxError(path + ": " + fault); }

[[noreturn]] void FailUnknownType(const std::string& path) { Fail(path, "unknown file type (use .kfa or .xml)"); }

// Runs load with the list emptied first; on any failure the list is emptied again, and the
// framework's exceptions become a KfxError naming the file. Anything else (a fault of this
// program) passes on as it is.
template <class F>
void LoadGuarded(const std::string& name, CKivObList& list, F load) {
    list.DeleteAll();
    try {
        load();
    } catch (const CException& e) {
        list.DeleteAll();
        Fail(name, e.what());
    } catch (...) {
        list.DeleteAll();
        throw;
    }
}

void LoadArchive(const std::string& name, CFile& file, CKivObList& list) {
    CArchive ar(&file, CArchive::load);
    list.Serialize(ar);
    if (ar.GetBytesLeft() != 0) Fail(name, std::to_string(ar.GetBytesLeft()) + " bytes of unknown data after the object list");
    ar.Close();
}

// Where and why the document was refused: "line 3, column 5 (byte 41): <description>".
std::string ParseFault(const KivXMLParseError& e) {
    std::string where;
    if (e.line > 0) where = "line " + std::to_string(e.line) + ", column " + std::to_string(e.column) + " (byte " + std::to_string(e.offset) + "): ";
    else if (e.offset >= 0) where = "byte " + std::to_string(e.offset) + ": ";
    return where + (e.description.empty() ? "refused" : e.description);
}

void LoadXmlDocument(const std::string& name, CKivXMLDOMDocObj& doc, bool parsed, CKivObList& list) {
    if (!parsed) Fail(name, "not a readable XML document: " + ParseFault(doc.GetLastParseError()));
    IXMLDOMNode* root = doc.GetRootNode();
    if (!root || !KivXmlFirstChild(root, kListElement)) Fail(name, "no object list in the XML document");
    list.SerializeXML(&doc, root);
}

template <class F>
void SaveGuarded(const std::string& name, F save) {
    try {
        save();
    } catch (const CException& e) {
        Fail(name, e.what());
    }
}

void SaveArchive(CFile& file, CKivObList& list) {
    CArchive ar(&file, CArchive::store);
    list.Serialize(ar);
    ar.Close();
}

void SaveXmlDocument(const std::string& name, CKivXMLDOMDocObj& doc, CKivObList& list) {
    if (!doc.CreateNew(kProjectRoot)) Fail(name, "cannot create an XML document");
    list.SerializeXML(&doc, doc.GetRootNode());
}

// The temporary file is the target's name with this tail and a random number: beside it, so
// that the rename stays on one file system and replaces the target in one step.
constexpr const char* kTempTail = ".kfx-save-";
// Names tried before giving up; a clash needs another writer with the same random number.
constexpr int kTempAttempts = 16;

[[noreturn]] void FailSystem(const std::string& path, const char* what) { Fail(path, std::string(what) + ": " + std::strerror(errno)); }

// A new file beside the target, removed again unless it was renamed into place (name cleared).
struct TempFile {
    TempFile(const std::string& path, const std::string& target) : m_path(path) {
        std::random_device random;
        for (int i = 0; i < kTempAttempts && fd < 0; ++i) {
            name = target + kTempTail + std::to_string(random());
            // 0666 lets the umask decide a new file's permissions, as for any file a program makes.
            fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd < 0 && errno != EEXIST) break;
        }
        if (fd < 0) {
            name.clear();
            FailSystem(path, "cannot make a temporary file beside it");
        }
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile() {
        if (fd >= 0) ::close(fd);
        if (!name.empty()) ::unlink(name.c_str());
    }
    [[noreturn]] void Fail(const char* what) { FailSystem(m_path, what); }
    void Close() {
        const int closing = fd;
        fd = -1;
        if (::close(closing) != 0) Fail("cannot close the temporary file");
    }

    int fd = -1;
    std::string name;

private:
    std::string m_path;
};

// Writes every byte to fd; false (errno set) on a write that cannot go on.
bool WriteAll(int fd, std::span<const BYTE> bytes) {
    const BYTE* p = bytes.data();
    size_t n = bytes.size();
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

// The rename is a change of the folder: it lasts through a power cut only once the folder is
// flushed too. Some file systems cannot flush a folder (EINVAL); nothing more can be done there.
void FlushFolderOf(const std::string& path, const std::string& target) {
    std::string folder = std::filesystem::path(target).parent_path().string();
    if (folder.empty()) folder = ".";
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) FailSystem(path, "saved, but cannot open its folder to flush it");
    const bool flushed = ::fsync(fd) == 0 || errno == EINVAL;
    const int fault = errno;
    ::close(fd);
    errno = fault;
    if (!flushed) FailSystem(path, "saved, but cannot flush its folder to the disk");
}

}  // namespace

KfxFormat KfxFormatOf(const std::string& path) {
    const std::string p = Lower(path);
    if (EndsWith(p, ".kfa")) return KfxFormat::archive;
    if (EndsWith(p, ".xml")) return KfxFormat::xml;
    return KfxFormat::unknown;
}

void KfxLoad(const std::string& path, CKivObList& list) {
    const CString wpath = CString::FromUtf8(path);
    LoadGuarded(path, list, [&] {
        switch (KfxFormatOf(path)) {
        case KfxFormat::archive: {
            CFile file(wpath, CFile::modeRead | CFile::typeBinary);
            LoadArchive(path, file, list);
            break;
        }
        case KfxFormat::xml: {
            CKivXMLDOMDocObj doc;
            LoadXmlDocument(path, doc, doc.LoadFile(wpath), list);
            break;
        }
        case KfxFormat::unknown: FailUnknownType(path);
        }
    });
}

void KfxLoadBytes(const std::string& name, KfxFormat format, std::span<const BYTE> data, CKivObList& list) {
    LoadGuarded(name, list, [&] {
        switch (format) {
        case KfxFormat::archive: {
            // CMemFile reads from a buffer it may not own; a copy keeps the caller's const.
            std::vector<BYTE> copy = KivTranslateBadAlloc([&] { return std::vector<BYTE>(data.begin(), data.end()); });
            CMemFile file(copy.data(), static_cast<UINT>(copy.size()));
            LoadArchive(name, file, list);
            break;
        }
        case KfxFormat::xml: {
            CKivXMLDOMDocObj doc;
            LoadXmlDocument(name, doc, doc.LoadXMLBytes(data.data(), data.size()), list);
            break;
        }
        case KfxFormat::unknown: FailUnknownType(name);
        }
    });
}

void KfxSave(const std::string& path, CKivObList& list) { KfxWriteFile(path, KfxSaveBytes(path, KfxFormatOf(path), list)); }

void KfxWriteFile(const std::string& path, std::span<const BYTE> bytes) {
    std::string target = path;
    // Saving through a link replaces the file it points at, not the link.
    struct stat link{};
    if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        std::error_code ec;
        target = std::filesystem::weakly_canonical(path, ec).string();
        if (ec) Fail(path, "cannot follow the link: " + ec.message());
    }
    TempFile temp(path, target);
    struct stat original{};
    if (::stat(target.c_str(), &original) == 0 && ::fchmod(temp.fd, original.st_mode & 07777) != 0)
        temp.Fail("cannot give the temporary file the file's permissions");
    if (!WriteAll(temp.fd, bytes)) temp.Fail("cannot write the temporary file");
    if (::fsync(temp.fd) != 0) temp.Fail("cannot flush the temporary file to the disk");
    temp.Close();
    if (::rename(temp.name.c_str(), target.c_str()) != 0) temp.Fail("cannot put the saved file in place");
    temp.name.clear();
    FlushFolderOf(path, target);
}

std::vector<BYTE> KfxSaveBytes(const std::string& name, KfxFormat format, CKivObList& list) {
    std::vector<BYTE> out;
    SaveGuarded(name, [&] {
        switch (format) {
        case KfxFormat::archive: {
            CMemFile file;
            SaveArchive(file, list);
            const BYTE* p = file.GetBufferPtr();
            out = KivTranslateBadAlloc([&] { return std::vector<BYTE>(p, p + file.GetLength()); });
            break;
        }
        case KfxFormat::xml: {
            CKivXMLDOMDocObj doc;
            SaveXmlDocument(name, doc, list);
            const std::string text = KivTranslateBadAlloc([&] { return doc.GetXMLUtf8(); });
            out = KivTranslateBadAlloc([&] { return std::vector<BYTE>(text.begin(), text.end()); });
            break;
        }
        case KfxFormat::unknown: FailUnknownType(name);
        }
    });
    return out;
}

std::vector<CKivObList*> KfxTracks(CKivObList& list) {
    std::vector<CKivObList*> tracks;
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        CObject* o = list.GetNext(pos);
        if (o && (o->IsKindOf(RUNTIME_CLASS(CKivFXInsKeyFrmList)) || o->IsKindOf(RUNTIME_CLASS(CKivFXPosiKeyFrmList)) ||
                  o->IsKindOf(RUNTIME_CLASS(CKivFXColor32KeyFrmList))))
            tracks.push_back(static_cast<CKivObList*>(o));
    }
    return tracks;
}

std::string KfxTrackKind(const CKivObList& track) {
    if (track.IsKindOf(RUNTIME_CLASS(CKivFXInsKeyFrmList))) return "scalar";
    if (track.IsKindOf(RUNTIME_CLASS(CKivFXPosiKeyFrmList))) return "position";
    return "colour";
}
