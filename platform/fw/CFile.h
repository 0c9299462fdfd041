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

    /// FALSE on failure, with the cause in *error when given.
    virtual BOOL Open(LPCWSTR fileName, UINT openFlags, CFileException* error = nullptr);
    /// Reads up to count bytes; returns how many were read (0 at the end).
    virtual UINT Read(void* buffer, UINT count);
    /// Writes all bytes or raises CFileException.
    virtual void Write(const void* buffer, UINT count);
    virtual ULONGLONG Seek(LONGLONG offset, UINT from);
    void SeekToBegin() { Seek(0, begin); }
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    virtual ULONGLONG GetLength() const;
    virtual void SetLength(ULONGLONG newLength);
    virtual ULONGLONG GetPosition() const;
    virtual void Flush();
    virtual void Close();
    virtual void Abort();
    CString GetFilePath() const { return m_strFileName; }
    CString GetFileName() const;
    BOOL IsOpen() const { return m_fd >= 0; }

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
    /// Over a caller's buffer; growBytes 0 means it cannot grow (writes past it raise).
    CMemFile(BYTE* buffer, UINT bufferSize, UINT growBytes = 0);
    ~CMemFile() override;

    void Attach(BYTE* buffer, UINT bufferSize, UINT growBytes = 0);
    /// Hands the buffer to the caller (who frees it with free() if the file allocated it).
    BYTE* Detach();

    BOOL Open(LPCWSTR, UINT, CFileException* = nullptr) override { return FALSE; }
    UINT Read(void* buffer, UINT count) override;
    void Write(const void* buffer, UINT count) override;
    ULONGLONG Seek(LONGLONG offset, UINT from) override;
    ULONGLONG GetLength() const override { return m_nFileSize; }
    void SetLength(ULONGLONG newLength) override;
    ULONGLONG GetPosition() const override { return m_nPosition; }
    void Flush() override {}
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
