// CArchive's buffer over the file: construction, closing, raw blocks, counts and the
// checks loaders use to refuse hostile data early.
#include "platform/fw/CArchive.h"

#include <algorithm>

namespace {

/// Room for the widest number with space to spare, so that refills are never trivially small.
constexpr int kMinBufferSize = 64;
/// Room a storing archive asks a memory file for at a time.
constexpr size_t kLendBytes = 64 * 1024;
/// Count escapes: a value equal to the escape means "a wider count follows".
constexpr WORD kCountEscape16 = 0xFFFF;
constexpr DWORD kCountEscape32 = 0xFFFFFFFFu;

}  // namespace

CArchive::CArchive(CFile* file, UINT mode, int bufferSize, void* buffer) : m_pFile(file), m_nMode(mode) {
    if (!file) AfxThrowInvalidArgException("CArchive over a null file");
    m_strFileName = file->GetFilePath();
    m_nOwnBufSize = static_cast<size_t>(std::max(bufferSize, kMinBufferSize));
    if (IsLoading()) {
        KivTranslateBadAlloc([&] { m_loadArray.push_back(LoadEntry::Object(nullptr)); });  // index 0 is null
        ULONGLONG lent = 0;
        if (const BYTE* bytes = buffer ? nullptr : file->LendRemaining(lent)) {
            // A file in memory is read in place, as if its whole rest were one buffer filled
            // at once; the buffer is never written while loading.
            m_pBufStart = m_pBufCur = const_cast<BYTE*>(bytes);
            m_nBufSize = static_cast<size_t>(lent);
            m_pBufMax = m_pBufStart + m_nBufSize;
            m_bLentByFile = true;
            return;
        }
    } else if (!buffer && LendFromFile(0)) {
        return;  // a file in memory is written in place
    }
    if (buffer && bufferSize >= kMinBufferSize) {
        m_pBufStart = static_cast<BYTE*>(buffer);
        m_nBufSize = static_cast<size_t>(bufferSize);
        m_pBufCur = m_pBufStart;
        m_pBufMax = IsLoading() ? m_pBufStart : m_pBufStart + m_nBufSize;
    } else {
        UseOwnBuffer();  // a lent buffer too small for a number is not used
    }
}

void CArchive::UseOwnBuffer() {
    m_bLentByFile = false;
    if (m_buffer.size() < m_nOwnBufSize) KivTranslateBadAlloc([&] { m_buffer.resize(m_nOwnBufSize); });
    m_nBufSize = m_nOwnBufSize;
    m_pBufStart = m_pBufCur = m_buffer.data();
    m_pBufMax = IsLoading() ? m_pBufStart : m_pBufStart + m_nBufSize;
}

bool CArchive::LendFromFile(size_t want) {
    size_t room = 0;
    BYTE* p = m_pFile->LendRoom(std::max(want, kLendBytes), room);
    if (!p || room < std::max(want, static_cast<size_t>(kMinBufferSize))) return false;
    m_pBufStart = m_pBufCur = p;
    m_pBufMax = p + room;
    m_nBufSize = room;
    m_bLentByFile = true;
    return true;
}

void CArchive::CommitLent() {
    const auto n = static_cast<size_t>(m_pBufCur - m_pBufStart);
    m_pFile->CommitLent(n);
    m_nBufStartOffset += n;
    // No room until the file lends again: the next write comes to FlushBuffer.
    m_pBufStart = m_pBufMax = m_pBufCur;
    m_nBufSize = 0;
}

CArchive::~CArchive() {
    if (m_bClosed) return;
    if (m_nMode & bNoFlushOnDelete) {
        Abort();
        return;
    }
    try {
        Close();
    } catch (...) {
        // A destructor cannot report; callers who need the error call Close themselves.
    }
}

void CArchive::Detach() {
    m_nBufStartOffset = GetOffset();
    m_pFile = nullptr;
    m_bClosed = true;
    // Both fast paths now fall through to FlushBuffer/FillBuffer, which raise.
    m_pBufCur = m_pBufMax = m_pBufStart;
}

void CArchive::Close() {
    if (m_bClosed) return;
    struct DetachOnExit {
        CArchive* ar;
        ~DetachOnExit() { ar->Detach(); }
    } detachOnExit{this};
    if (IsStoring()) {
        if (m_bLentByFile)
            CommitLent();
        else
            FlushBuffer();
    } else if (m_pBufMax != m_pBufCur) {
        // Leave the file just after what was read, as the framework does, so that data
        // following the archive can be read from the file.
        m_pFile->Seek(-static_cast<LONGLONG>(m_pBufMax - m_pBufCur), CFile::current);
    }
}

void CArchive::Flush() {
    if (!IsStoring()) return;
    if (m_bLentByFile && !m_bClosed)
        CommitLent();
    else
        FlushBuffer();
}

void CArchive::Abort() {
    if (!m_bClosed) Detach();
}

void CArchive::FlushBuffer() {
    if (!IsStoring()) return;
    if (m_bClosed) ThrowError(CArchiveException::genericException, "writing to an archive that is closed");
    if (m_bLentByFile) {
        CommitLent();
        if (!LendFromFile(0)) UseOwnBuffer();  // the file has no more room: its Write will say why
        return;
    }
    const auto n = static_cast<size_t>(m_pBufCur - m_pBufStart);
    if (n) m_pFile->Write(m_pBufStart, static_cast<UINT>(n));
    m_nBufStartOffset += n;
    m_pBufCur = m_pBufStart;
}

void CArchive::FillBuffer(size_t need) {
    if (m_bClosed) ThrowError(CArchiveException::genericException, "reading from an archive that is closed");
    auto have = static_cast<size_t>(m_pBufMax - m_pBufCur);
    if (m_bLentByFile) ThrowEndOfFile(need, have, "a number");  // the buffer already holds the whole rest
    if (m_pBufCur != m_pBufStart) {
        std::memmove(m_pBufStart, m_pBufCur, have);
        m_nBufStartOffset += static_cast<size_t>(m_pBufCur - m_pBufStart);
        m_pBufCur = m_pBufStart;
        m_pBufMax = m_pBufStart + have;
    }
    while (have < need) {
        const UINT got = m_pFile->Read(m_pBufStart + have, static_cast<UINT>(m_nBufSize - have));
        if (got == 0) break;
        have += got;
        m_pBufMax = m_pBufStart + have;
    }
    if (have < need) ThrowEndOfFile(need, have, "a number");
}

UINT CArchive::Read(void* buffer, UINT count) {
    if (IsStoring()) ThrowWrongMode();
    if (count == 0) return 0;
    if (!buffer) AfxThrowInvalidArgException("CArchive::Read into a null buffer");
    auto* out = static_cast<BYTE*>(buffer);
    const auto buffered = static_cast<size_t>(m_pBufMax - m_pBufCur);
    if (count <= buffered) {
        std::memcpy(out, m_pBufCur, count);
        m_pBufCur += count;
        return count;
    }
    if (m_bClosed) ThrowError(CArchiveException::genericException, "reading from an archive that is closed");
    // Checked before anything is consumed, so that a short block leaves the archive as it was.
    const ULONGLONG left = GetBytesLeft();
    if (left < count) ThrowEndOfFile(count, left, "a raw block");

    if (buffered) std::memcpy(out, m_pBufCur, buffered);
    m_pBufCur = m_pBufMax;
    const auto rest = static_cast<UINT>(count - buffered);
    if (rest >= m_nBufSize) {
        // Large blocks go straight into the caller's memory.
        m_nBufStartOffset += static_cast<size_t>(m_pBufMax - m_pBufStart);
        m_pBufCur = m_pBufMax = m_pBufStart;
        const UINT got = m_pFile->Read(out + buffered, rest);
        m_nBufStartOffset += got;
        if (got < rest) ThrowEndOfFile(rest, got, "a raw block");  // the file shrank meanwhile
    } else {
        FillBuffer(rest);
        std::memcpy(out + buffered, m_pBufCur, rest);
        m_pBufCur += rest;
    }
    return count;
}

void CArchive::Write(const void* buffer, UINT count) {
    if (!IsStoring()) ThrowWrongMode();
    if (count == 0) return;
    if (!buffer) AfxThrowInvalidArgException("CArchive::Write from a null buffer");
    if (count <= static_cast<size_t>(m_pBufMax - m_pBufCur)) {
        std::memcpy(m_pBufCur, buffer, count);
        m_pBufCur += count;
        return;
    }
    FlushBuffer();
    if (m_bLentByFile && static_cast<size_t>(m_pBufMax - m_pBufCur) < count && !LendFromFile(count)) UseOwnBuffer();
    if (!m_bLentByFile && count >= m_nBufSize) {
        m_pFile->Write(buffer, count);
        m_nBufStartOffset += count;
        return;
    }
    std::memcpy(m_pBufCur, buffer, count);
    m_pBufCur += count;
}

void CArchive::WriteCount(ULONGLONG count) {
    if (count < kCountEscape16) {
        *this << static_cast<WORD>(count);
        return;
    }
    *this << kCountEscape16;
    if (count < kCountEscape32) {
        *this << static_cast<DWORD>(count);
        return;
    }
    *this << kCountEscape32 << count;
}

ULONGLONG CArchive::ReadCount() {
    WORD w;
    *this >> w;
    if (w != kCountEscape16) return w;
    DWORD dw;
    *this >> dw;
    if (dw != kCountEscape32) return dw;
    ULONGLONG qw;
    *this >> qw;
    return qw;
}

ULONGLONG CArchive::GetBytesLeft() const {
    if (!IsLoading() || m_bClosed) return 0;
    const auto buffered = static_cast<ULONGLONG>(m_pBufMax - m_pBufCur);
    const ULONGLONG length = m_pFile->GetLength();
    const ULONGLONG position = m_pFile->GetPosition();
    return buffered + (length > position ? length - position : 0);
}

void CArchive::CheckCount(ULONGLONG count, ULONGLONG bytesEach, const char* what) const {
    if (IsStoring()) ThrowWrongMode();
    if (count == 0) return;
    // Items stored in no bytes still cost memory each; counting them as one byte keeps a
    // hostile count from allocating.
    const ULONGLONG each = std::max<ULONGLONG>(bytesEach, 1);
    if (count <= static_cast<ULONGLONG>(m_pBufMax - m_pBufCur) / each) return;  // no need to ask the file
    const ULONGLONG left = GetBytesLeft();
    if (count <= left / each) return;
    ThrowError(CArchiveException::endOfFile, "reading " + std::to_string(count) + " " + (what ? what : "items") +
                                                 " of at least " + std::to_string(each) + " bytes each, " +
                                                 std::to_string(left) + " bytes left");
}

void CArchive::ThrowErrorAt(ULONGLONG offset, int cause, const std::string& detail) const {
    // Out of memory for the message itself, the memory exception tells what went wrong first.
    CArchiveException error = KivTranslateBadAlloc([&] {
        return CArchiveException(cause, m_strFileName,
                                 "at offset " + std::to_string(offset) + (detail.empty() ? std::string() : ": " + detail));
    });
    throw std::move(error);
}

void CArchive::ThrowError(int cause, const std::string& detail) const { ThrowErrorAt(GetOffset(), cause, detail); }

void CArchive::ThrowEndOfFile(ULONGLONG need, ULONGLONG left, const char* what) const {
    ThrowError(CArchiveException::endOfFile, std::string("reading ") + (m_pszContext ? m_pszContext : what) + " needs " +
                                                 std::to_string(need) + " bytes, " + std::to_string(left) + " left");
}

void CArchive::ThrowWrongMode() const {
    if (IsLoading()) ThrowError(CArchiveException::readOnly, "storing into an archive that is loading");
    ThrowError(CArchiveException::writeOnly, "loading from an archive that is storing");
}
