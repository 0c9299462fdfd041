#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/fw/CFile.h"

namespace {

/// Largest block malloc can be asked for without the size turning negative somewhere.
constexpr ULONGLONG kMaxMemFileSize = static_cast<ULONGLONG>(PTRDIFF_MAX);

ULONGLONG SaturatingAdd(ULONGLONG a, ULONGLONG b) { return a > UINT64_MAX - b ? UINT64_MAX : a + b; }

}  // namespace

CMemFile::CMemFile(UINT growBytes) : m_nGrowBytes(growBytes) {}

CMemFile::CMemFile(BYTE* buffer, UINT bufferSize, UINT growBytes) : m_nGrowBytes(growBytes) {
    Attach(buffer, bufferSize, growBytes);
}

CMemFile::~CMemFile() {
    if (m_bAutoDelete) std::free(m_lpBuffer);
}

void CMemFile::Attach(BYTE* buffer, UINT bufferSize, UINT growBytes) {
    if (!buffer && bufferSize) AfxThrowInvalidArgException("CMemFile::Attach of a null buffer with a size");
    if (m_bAutoDelete) std::free(m_lpBuffer);
    m_lpBuffer = buffer;
    m_nBufferSize = bufferSize;
    // As the framework: a fixed buffer is the file's content; a growable one is room to
    // write into, so the file starts empty.
    m_nFileSize = growBytes == 0 ? bufferSize : 0;
    m_nPosition = 0;
    m_nGrowBytes = growBytes;
    m_bAutoDelete = false;
}

BYTE* CMemFile::Detach() {
    BYTE* buffer = m_lpBuffer;
    m_lpBuffer = nullptr;
    m_nBufferSize = 0;
    m_nFileSize = 0;
    m_nPosition = 0;
    m_bAutoDelete = true;
    return buffer;
}

void CMemFile::GrowFile(ULONGLONG newLength) {
    if (newLength <= m_nBufferSize) return;
    if (m_nGrowBytes == 0) {
        CFileException full(CFileException::diskFull);
        full.SetMessage(std::string(full.what()) + ": a fixed memory file of " + std::to_string(m_nBufferSize) +
                        " bytes cannot hold " + std::to_string(newLength));
        throw full;
    }
    if (newLength > kMaxMemFileSize) KivThrowMemoryException([&] { return "memory file cannot grow to " + std::to_string(newLength) + " bytes"; });
    // At least doubling keeps a run of small appends amortised O(1).
    const ULONGLONG newSize = std::min(
        kMaxMemFileSize, std::max({newLength, SaturatingAdd(m_nBufferSize, m_nGrowBytes), SaturatingAdd(m_nBufferSize, m_nBufferSize)}));
    BYTE* grown;
    if (m_bAutoDelete) {
        grown = static_cast<BYTE*>(std::realloc(m_lpBuffer, static_cast<size_t>(newSize)));
    } else {
        // The caller's buffer may not come from malloc: move to our own block and leave it alone.
        grown = static_cast<BYTE*>(std::malloc(static_cast<size_t>(newSize)));
        if (grown && m_nFileSize) std::memcpy(grown, m_lpBuffer, static_cast<size_t>(m_nFileSize));
    }
    if (!grown) KivThrowMemoryException([&] { return "memory file cannot grow to " + std::to_string(newSize) + " bytes"; });
    m_lpBuffer = grown;
    m_nBufferSize = newSize;
    m_bAutoDelete = true;
}

UINT CMemFile::Read(void* buffer, UINT count) {
    if (count == 0 || m_nPosition >= m_nFileSize) return 0;
    if (!buffer) AfxThrowInvalidArgException("CMemFile::Read into a null buffer");
    const auto n = static_cast<UINT>(std::min<ULONGLONG>(count, m_nFileSize - m_nPosition));
    std::memcpy(buffer, m_lpBuffer + m_nPosition, n);
    m_nPosition += n;
    return n;
}

const BYTE* CMemFile::LendRemaining(ULONGLONG& count) {
    count = m_nPosition < m_nFileSize ? m_nFileSize - m_nPosition : 0;
    if (count == 0) return nullptr;
    const BYTE* bytes = m_lpBuffer + m_nPosition;
    m_nPosition = m_nFileSize;
    return bytes;
}

BYTE* CMemFile::LendRoom(size_t want, size_t& count) {
    count = 0;
    try {
        GrowFile(SaturatingAdd(m_nPosition, want));
    } catch (...) {
        // A fixed or exhausted file lends what room it has; writing beyond it raises as
        // Write does.
    }
    if (m_nPosition >= m_nBufferSize) return nullptr;
    count = static_cast<size_t>(m_nBufferSize - m_nPosition);
    return m_lpBuffer + m_nPosition;
}

void CMemFile::CommitLent(size_t n) noexcept {
    if (n == 0) return;
    // A write after a seek past the end leaves zeros in the gap, never stale memory.
    if (m_nPosition > m_nFileSize) std::memset(m_lpBuffer + m_nFileSize, 0, static_cast<size_t>(m_nPosition - m_nFileSize));
    m_nPosition += n;
    m_nFileSize = std::max(m_nFileSize, m_nPosition);
}

void CMemFile::Write(const void* buffer, UINT count) {
    if (count == 0) return;
    if (!buffer) AfxThrowInvalidArgException("CMemFile::Write from a null buffer");
    const ULONGLONG end = SaturatingAdd(m_nPosition, count);
    GrowFile(end);
    // A write after a seek past the end leaves zeros in the gap, never stale memory.
    if (m_nPosition > m_nFileSize) std::memset(m_lpBuffer + m_nFileSize, 0, static_cast<size_t>(m_nPosition - m_nFileSize));
    std::memcpy(m_lpBuffer + m_nPosition, buffer, count);
    m_nPosition = end;
    m_nFileSize = std::max(m_nFileSize, end);
}

ULONGLONG CMemFile::Seek(LONGLONG offset, UINT from) {
    LONGLONG base;
    switch (from) {
        case begin: base = 0; break;
        case current: base = static_cast<LONGLONG>(m_nPosition); break;
        case end: base = static_cast<LONGLONG>(m_nFileSize); break;
        default: throw CFileException(CFileException::badSeek);
    }
    LONGLONG target;
    if (__builtin_add_overflow(base, offset, &target) || target < 0) throw CFileException(CFileException::badSeek);
    m_nPosition = static_cast<ULONGLONG>(target);
    return m_nPosition;
}

void CMemFile::SetLength(ULONGLONG newLength) {
    GrowFile(newLength);
    if (newLength > m_nFileSize) std::memset(m_lpBuffer + m_nFileSize, 0, static_cast<size_t>(newLength - m_nFileSize));
    m_nFileSize = newLength;
    m_nPosition = std::min(m_nPosition, newLength);
}

void CMemFile::Close() {
    if (m_bAutoDelete) std::free(m_lpBuffer);
    m_lpBuffer = nullptr;
    m_nBufferSize = 0;
    m_nFileSize = 0;
    m_nPosition = 0;
    m_bAutoDelete = true;
}
