#include "platform/fw/CException.h"

#include <cerrno>
#include <cstring>
#include <iterator>

namespace {

const char* FileCauseName(int cause) {
    static const char* const kNames[] = {"none",         "genericException", "fileNotFound",    "badPath",
                                         "tooManyOpenFiles", "accessDenied", "invalidFile",     "removeCurrentDir",
                                         "directoryFull", "badSeek",         "hardIO",          "sharingViolation",
                                         "lockViolation", "diskFull",        "endOfFile"};
    if (cause < 0 || cause >= static_cast<int>(std::size(kNames))) return "unknown";
    return kNames[cause];
}

std::string QuotedName(const CString& fileName) {
    return fileName.IsEmpty() ? std::string() : " in '" + fileName.ToUtf8() + "'";
}

// A detail that starts with a location ("at offset 58: ...") reads on from the file
// name; any other detail is set off by a colon.
std::string ArchiveMessage(int cause, const CString& fileName, const std::string& detail) {
    std::string text = std::string("archive error ") + CArchiveException::CauseName(cause) + QuotedName(fileName);
    if (detail.empty()) return text;
    return text + (detail.starts_with("at ") ? " " : ": ") + detail;
}

std::string FileMessage(int cause, LONG osError, const CString& fileName) {
    std::string text = std::string("file error ") + FileCauseName(cause) + QuotedName(fileName);
    if (osError > 0) text += std::string(" (") + std::strerror(osError) + ")";
    return text;
}

}  // namespace

CArchiveException::CArchiveException(int cause, const CString& fileName, const std::string& detail)
    : CException(ArchiveMessage(cause, fileName, detail)), m_cause(cause), m_strFileName(fileName) {}

const char* CArchiveException::CauseName(int cause) {
    static const char* const kNames[] = {"none",      "genericException", "readOnly", "endOfFile",
                                         "writeOnly", "badIndex",         "badClass", "badSchema"};
    if (cause < 0 || cause >= static_cast<int>(std::size(kNames))) return "unknown";
    return kNames[cause];
}

CFileException::CFileException(int cause, LONG osError, const CString& fileName)
    : CException(FileMessage(cause, osError, fileName)), m_cause(cause), m_lOsError(osError), m_strFileName(fileName) {}

int CFileException::OsErrorToCause(int err) {
    switch (err) {
        case 0: return none;
        case ENOENT: return fileNotFound;
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
        case EINVAL: return badPath;
        case EMFILE:
        case ENFILE: return tooManyOpenFiles;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
        case EEXIST: return accessDenied;
        case EBADF: return invalidFile;
        case ESPIPE:
        case EOVERFLOW: return badSeek;
        case EIO: return hardIO;
        case ETXTBSY:
        case EBUSY: return sharingViolation;
        case EAGAIN:
        case EDEADLK:
        case ENOLCK: return lockViolation;
        case ENOSPC:
        case EDQUOT:
        case EFBIG: return diskFull;
        default: return genericException;
    }
}

void AfxThrowArchiveException(int cause, const CString& fileName, const std::string& detail) {
    throw CArchiveException(cause, fileName, detail);
}

void AfxThrowFileException(int cause, LONG osError, const CString& fileName) {
    throw CFileException(cause, osError, fileName);
}

void AfxThrowMemoryException() { throw CMemoryException(); }

void AfxThrowInvalidArgException(const std::string& detail) {
    if (detail.empty()) throw CInvalidArgException();
    throw CInvalidArgException(detail);
}
