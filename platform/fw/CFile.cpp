#include "platform/fw/CFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

/// Access bits of the open flags (read, write, read-write).
constexpr UINT kAccessMask = 0x0003;
/// New files get read-write for everyone, narrowed by the process's umask as usual.
constexpr mode_t kNewFileMode = 0666;

std::string Utf8Path(LPCWSTR fileName) { return CString(fileName).ToUtf8(); }

[[noreturn]] void ThrowOsError(int err, const CString& fileName) {
    throw CFileException(CFileException::OsErrorToCause(err), err, fileName);
}

}  // namespace

// --- CFile ---------------------------------------------------------------------------

CFile::CFile() = default;

CFile::CFile(LPCWSTR fileName, UINT openFlags) {
    CFileException error;
    if (!Open(fileName, openFlags, &error)) throw error;
}

CFile::~CFile() {
    if (m_fd >= 0) ::close(m_fd);
}

BOOL CFile::Open(LPCWSTR fileName, UINT openFlags, CFileException* error) {
    const CString name(fileName);
    const auto fail = [&](int cause, int err) {
        if (error) *error = CFileException(cause, err, name);
        return FALSE;
    };
    if (m_fd >= 0) return fail(CFileException::genericException, -1);  // the open file must be closed first
    if (!fileName || !*fileName) return fail(CFileException::badPath, ENOENT);

    // Descriptors are never handed to child processes: nothing here starts any.
    int flags = O_CLOEXEC;
    switch (openFlags & kAccessMask) {
        case modeRead: flags |= O_RDONLY; break;
        case modeWrite: flags |= O_WRONLY; break;
        case modeReadWrite: flags |= O_RDWR; break;
        default: return fail(CFileException::badPath, EINVAL);
    }
    if (openFlags & modeCreateNew) {
        flags |= O_CREAT | O_EXCL;
    } else if (openFlags & modeCreate) {
        flags |= O_CREAT;
        if (!(openFlags & modeNoTruncate)) flags |= O_TRUNC;
    }
    // Share modes have no POSIX counterpart and are ignored.

    const std::string path = name.ToUtf8();
    int fd;
    do {
        fd = ::open(path.c_str(), flags, kNewFileMode);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        const int err = errno;
        return fail(CFileException::OsErrorToCause(err), err);
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        // the framework cannot open a directory as a file either
        ::close(fd);
        return fail(CFileException::accessDenied, EISDIR);
    }
    m_fd = fd;
    m_strFileName = name;
    return TRUE;
}

UINT CFile::Read(void* buffer, UINT count) {
    if (m_fd < 0) throw CFileException(CFileException::invalidFile, -1, m_strFileName);
    if (count == 0) return 0;
    if (!buffer) AfxThrowInvalidArgException("CFile::Read into a null buffer");
    auto* p = static_cast<BYTE*>(buffer);
    UINT total = 0;
    while (total < count) {
        const ssize_t n = ::read(m_fd, p + total, count - total);
        if (n < 0) {
            if (errno == EINTR) continue;
            ThrowOsError(errno, m_strFileName);
        }
        if (n == 0) break;
        total += static_cast<UINT>(n);
    }
    return total;
}

void CFile::Write(const void* buffer, UINT count) {
    if (m_fd < 0) throw CFileException(CFileException::invalidFile, -1, m_strFileName);
    if (count == 0) return;
    if (!buffer) AfxThrowInvalidArgException("CFile::Write from a null buffer");
    const auto* p = static_cast<const BYTE*>(buffer);
    UINT total = 0;
    while (total < count) {
        const ssize_t n = ::write(m_fd, p + total, count - total);
        if (n < 0) {
            if (errno == EINTR) continue;
            ThrowOsError(errno, m_strFileName);
        }
        if (n == 0) ThrowOsError(ENOSPC, m_strFileName);
        total += static_cast<UINT>(n);
    }
}

ULONGLONG CFile::Seek(LONGLONG offset, UINT from) {
    if (m_fd < 0) throw CFileException(CFileException::invalidFile, -1, m_strFileName);
    int whence;
    switch (from) {
        case begin: whence = SEEK_SET; break;
        case current: whence = SEEK_CUR; break;
        case end: whence = SEEK_END; break;
        default: throw CFileException(CFileException::badSeek, EINVAL, m_strFileName);
    }
    const off_t pos = ::lseek(m_fd, static_cast<off_t>(offset), whence);
    if (pos < 0) throw CFileException(CFileException::badSeek, errno, m_strFileName);
    return static_cast<ULONGLONG>(pos);
}

ULONGLONG CFile::GetLength() const {
    if (m_fd < 0) throw CFileException(CFileException::invalidFile, -1, m_strFileName);
    struct stat st {};
    if (::fstat(m_fd, &st) != 0) ThrowOsError(errno, m_strFileName);
    return static_cast<ULONGLONG>(st.st_size);
}

void CFile::SetLength(ULONGLONG newLength) {
    if (m_fd < 0) throw CFileException(CFileException::invalidFile, -1, m_strFileName);
    if (newLength > static_cast<ULONGLONG>(LLONG_MAX)) throw CFileException(CFileException::badSeek, EINVAL, m_strFileName);
    int rc;
    do {
        rc = ::ftruncate(m_fd, static_cast<off_t>(newLength));
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) ThrowOsError(errno, m_strFileName);
}

ULONGLONG CFile::GetPosition() const {
    if (m_fd < 0) throw CFileException(CFileException::invalidFile, -1, m_strFileName);
    const off_t pos = ::lseek(m_fd, 0, SEEK_CUR);
    if (pos < 0) throw CFileException(CFileException::badSeek, errno, m_strFileName);
    return static_cast<ULONGLONG>(pos);
}

void CFile::Flush() {
    if (m_fd < 0) return;
    // Special files that cannot be synchronised have nothing buffered to lose.
    if (::fsync(m_fd) != 0 && errno != EINVAL && errno != EROFS) ThrowOsError(errno, m_strFileName);
}

void CFile::Close() {
    if (m_fd < 0) return;
    const int fd = m_fd;
    const CString name = m_strFileName;
    m_fd = -1;
    m_strFileName.Empty();
    // On Linux the descriptor is released even when close reports EINTR.
    if (::close(fd) != 0 && errno != EINTR) ThrowOsError(errno, name);
}

void CFile::Abort() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    m_strFileName.Empty();
}

CString CFile::GetFileName() const {
    const int slash = m_strFileName.ReverseFind(L'/');
    return slash < 0 ? m_strFileName : m_strFileName.Mid(slash + 1);
}

void CFile::Remove(LPCWSTR fileName) {
    if (!fileName) AfxThrowInvalidArgException("CFile::Remove of a null name");
    if (::unlink(Utf8Path(fileName).c_str()) != 0) ThrowOsError(errno, CString(fileName));
}

void CFile::Rename(LPCWSTR oldName, LPCWSTR newName) {
    if (!oldName || !newName) AfxThrowInvalidArgException("CFile::Rename of a null name");
    if (::rename(Utf8Path(oldName).c_str(), Utf8Path(newName).c_str()) != 0) ThrowOsError(errno, CString(oldName));
}
