// The framework's files: CFile on disk (POSIX descriptors, UTF-8 paths) and CMemFile,
// a growable block of memory. Failures raise CFileException.
#pragma once

#include "platform/fw/CException.h"
#include "platform/fw/CObject.h"

class CFile : public CObject {
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000,
        /// Not the framework's: create only if no such file exists (O_EXCL).
        modeCreateNew = 0x10000
    };
    enum SeekPosition { begin = 0, current = 1, end = 2 };

    CFile();
    /// Opens or raises CFileException.
    CFile(LPCWSTR fileName, UINT openFlags);
    ~CFile() override;
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    /// FALSE on failure, with the cause in *error when given (also when a file is already
    /// open, or the name is a directory). Share modes are ignored.
    virtual BOOL Open(LPCWSTR fileName, UINT openFlags, CFileException* error = nullptr);
    /// Reads up to count bytes; returns how many were read (0 at the end). Errors, and a
    /// closed file (invalidFile), raise CFileException; so do the calls below.
    virtual UINT Read(void* buffer, UINT count);
    /// Writes all bytes or raises CFileException.
    virtual void Write(const void* buffer, UINT count);
    /// The new position; past the end is allowed, before the start raises badSeek.
    virtual ULONGLONG Seek(LONGLONG offset, UINT from);
    /// Files held in memory lend their bytes to a loading archive instead of having them
    /// copied out: the bytes from the position to the end (count set, the position moved to
    /// the end), valid until the file is next written or closed; null for other files.
    virtual const BYTE* LendRemaining(ULONGLONG& count) {
        count = 0;
        return nullptr;
    }
    /// And room to a storing archive: at least want writable bytes at the position when the
    /// file can make them (count = all it lends), null otherwise. Nothing is written until
    /// CommitLent; the room stays valid until the file is next written, resized or closed.
    virtual BYTE* LendRoom(size_t want, size_t& count) {
        static_cast<void>(want);
        count = 0;
        return nullptr;
    }
    /// The first n bytes of the room last lent become the file's data at the position, which
    /// moves past them.
    virtual void CommitLent(size_t n) noexcept { static_cast<void>(n); }
    void SeekToBegin() { Seek(0, begin); }
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    virtual ULONGLONG GetLength() const;
    virtual void SetLength(ULONGLONG newLength);
    virtual ULONGLONG GetPosition() const;
    /// Makes written bytes durable (fsync).
    virtual void Flush();
    /// Closes the file (nothing when none is open); a failing close still releases it.
    virtual void Close();
    /// Closes ignoring errors.
    virtual void Abort();
    CString GetFilePath() const { return m_strFileName; }
    CString GetFileName() const;
    BOOL IsOpen() const { return m_fd >= 0; }

    /// Both raise CFileException with the cause of the failure.
    static void Remove(LPCWSTR fileName);
    static void Rename(LPCWSTR oldName, LPCWSTR newName);

protected:
    int m_fd = -1;
    CString m_strFileName;
};

class CMemFile : public CFile {
public:
    /// An empty file that grows by growBytes at a time (at least doubling).
    explicit CMemFile(UINT growBytes = 1024);
    /// Over a caller's buffer; growBytes 0 means it cannot grow (writes past it raise
    /// CFileException diskFull and write nothing). A growable file starts empty, as the
    /// framework's, and moves to memory of its own when it outgrows the caller's buffer,
    /// which it never frees or reallocates.
    CMemFile(BYTE* buffer, UINT bufferSize, UINT growBytes = 0);
    ~CMemFile() override;

    /// Works over the caller's buffer as the constructor above does, releasing any buffer
    /// of the file's own; a null buffer with a size raises CInvalidArgException.
    void Attach(BYTE* buffer, UINT bufferSize, UINT growBytes = 0);
    /// Hands the buffer to the caller (who frees it with free() if the file allocated it);
    /// the file is empty afterwards. Take GetLength() first.
    BYTE* Detach();

    BOOL Open(LPCWSTR, UINT, CFileException* = nullptr) override { return FALSE; }
    UINT Read(void* buffer, UINT count) override;
    void Write(const void* buffer, UINT count) override;
    ULONGLONG Seek(LONGLONG offset, UINT from) override;
    const BYTE* LendRemaining(ULONGLONG& count) override;
    BYTE* LendRoom(size_t want, size_t& count) override;
    void CommitLent(size_t n) noexcept override;
    ULONGLONG GetLength() const override { return m_nFileSize; }
    /// Growing fills with zeros; raises as Write does when the file cannot grow.
    void SetLength(ULONGLONG newLength) override;
    ULONGLONG GetPosition() const override { return m_nPosition; }
    void Flush() override {}
    /// Frees the file's own memory (never the caller's) and leaves the file empty.
    void Close() override;
    void Abort() override { Close(); }

    /// Direct access to the bytes (valid until the next write that grows the file).
    const BYTE* GetBufferPtr() const { return m_lpBuffer; }

private:
    void GrowFile(ULONGLONG newLength);

    UINT m_nGrowBytes;
    ULONGLONG m_nPosition = 0;
    ULONGLONG m_nBufferSize = 0;
    ULONGLONG m_nFileSize = 0;
    BYTE* m_lpBuffer = nullptr;
    bool m_bAutoDelete = true;
};
