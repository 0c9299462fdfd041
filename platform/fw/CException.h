// The framework's exceptions, thrown and caught by value or reference (never as heap
// pointers). Each carries a readable message with its context.
#pragma once

#include <exception>
#include <new>
#include <string>
#include <utility>

#include "platform/fw/CString.h"

class CException : public std::exception {
public:
    CException() = default;
    explicit CException(std::string message) : m_message(std::move(message)) {}
    const char* what() const noexcept override { return m_message.c_str(); }
    /// The message as wide text, as the framework's GetErrorMessage gives it.
    BOOL GetErrorMessage(CString& text) const { text = CString::FromUtf8(m_message); return TRUE; }
    void SetMessage(std::string message) { m_message = std::move(message); }

private:
    std::string m_message;
};

class CArchiveException : public CException {
public:
    enum {
        none = 0,
        genericException = 1,
        readOnly = 2,
        endOfFile = 3,
        writeOnly = 4,
        badIndex = 5,
        badClass = 6,
        badSchema = 7
    };
    /// detail says what was being read or written and where (class, field, offset).
    CArchiveException(int cause, const CString& fileName, const std::string& detail = {});
    static const char* CauseName(int cause);

    int m_cause;
    CString m_strFileName;
};

class CFileException : public CException {
public:
    enum {
        none = 0,
        genericException = 1,
        fileNotFound = 2,
        badPath = 3,
        tooManyOpenFiles = 4,
        accessDenied = 5,
        invalidFile = 6,
        removeCurrentDir = 7,
        directoryFull = 8,
        badSeek = 9,
        hardIO = 10,
        sharingViolation = 11,
        lockViolation = 12,
        diskFull = 13,
        endOfFile = 14
    };
    CFileException(int cause = none, LONG osError = -1, const CString& fileName = CString());
    /// The cause that best describes an errno value.
    static int OsErrorToCause(int err);

    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;
};

class CMemoryException : public CException {
public:
    CMemoryException() : CException("out of memory") {}
    explicit CMemoryException(std::string detail) : CException(std::move(detail)) {}
};

class CInvalidArgException : public CException {
public:
    CInvalidArgException() : CException("invalid argument") {}
    explicit CInvalidArgException(std::string detail) : CException(std::move(detail)) {}
};

class CNotSupportedException : public CException {
public:
    CNotSupportedException() : CException("not supported") {}
    explicit CNotSupportedException(std::string detail) : CException(std::move(detail)) {}
};

[[noreturn]] void AfxThrowArchiveException(int cause, const CString& fileName = CString(), const std::string& detail = {});
[[noreturn]] void AfxThrowFileException(int cause, LONG osError = -1, const CString& fileName = CString());
[[noreturn]] void AfxThrowMemoryException();
[[noreturn]] void AfxThrowInvalidArgException(const std::string& detail = {});

/// Raises CMemoryException with the detail make() returns; when memory is too short even
/// for that text, with the plain message, so that the memory exception itself never turns
/// into std::bad_alloc.
template <class F>
[[noreturn]] void KivThrowMemoryException(F&& make) {
    std::string detail;
    try {
        detail = std::forward<F>(make)();
    } catch (const std::bad_alloc&) {
        AfxThrowMemoryException();
    }
    throw CMemoryException(std::move(detail));
}

/// Runs f and turns std::bad_alloc into CMemoryException, so that only the framework's
/// exceptions leave the framework's containers and archives.
template <class F>
decltype(auto) KivTranslateBadAlloc(F&& f) {
    try {
        return std::forward<F>(f)();
    } catch (const std::bad_alloc&) {
        AfxThrowMemoryException();
    }
}
