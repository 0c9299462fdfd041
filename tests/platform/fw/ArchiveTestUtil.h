// Helpers for the archive tests: store into memory and get the bytes, load from bytes,
// catch an archive exception's cause, and a temporary file that removes itself.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

#include "platform/fw/CArchive.h"

using Bytes = std::vector<BYTE>;

/// A memory file that lends nothing, so that an archive over it goes through its own buffer
/// (refills, flushes, large blocks) as over a disk file.
class StreamingMemFile : public CMemFile {
public:
    using CMemFile::CMemFile;
    const BYTE* LendRemaining(ULONGLONG& count) override {
        count = 0;
        return nullptr;
    }
    BYTE* LendRoom(size_t, size_t& count) override {
        count = 0;
        return nullptr;
    }
};

/// The bytes an archive holds after write has stored into it (through the archive's buffer).
template <class F>
Bytes StoreBytes(F write, int bufferSize = 4096) {
    StreamingMemFile file;
    {
        CArchive ar(&file, CArchive::store, bufferSize);
        write(ar);
        ar.Close();
    }
    return Bytes(file.GetBufferPtr(), file.GetBufferPtr() + file.GetLength());
}

/// A loading archive over a copy of some bytes (through the archive's buffer).
class ArchiveReader {
public:
    explicit ArchiveReader(Bytes data, int bufferSize = 4096)
        : m_data(std::move(data)), m_file(m_data.data(), static_cast<UINT>(m_data.size())), m_ar(&m_file, CArchive::load, bufferSize) {}
    CArchive& ar() { return m_ar; }
    CMemFile& file() { return m_file; }

private:
    Bytes m_data;
    StreamingMemFile m_file;
    CArchive m_ar;
};

/// The cause of the CArchiveException f raises, or -1 when it raises none.
template <class F>
int ArchiveCause(F f) {
    try {
        f();
    } catch (const CArchiveException& e) {
        return e.m_cause;
    }
    return -1;
}

/// The message of the CArchiveException f raises, or "" when it raises none.
template <class F>
std::string ArchiveMessage(F f) {
    try {
        f();
    } catch (const CArchiveException& e) {
        return e.what();
    }
    return {};
}

/// Bytes from a list of little-endian words (for hand-made archives).
inline Bytes Words(std::initializer_list<WORD> words) {
    Bytes out;
    for (WORD w : words) {
        out.push_back(static_cast<BYTE>(w & 0xFF));
        out.push_back(static_cast<BYTE>(w >> 8));
    }
    return out;
}

inline Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

inline Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

inline Bytes Dword(DWORD v) { return Words({static_cast<WORD>(v & 0xFFFF), static_cast<WORD>(v >> 16)}); }

/// A path under the system's temporary folder, removed (if it exists) when this goes.
class TempPath {
public:
    TempPath() {
        static std::atomic<int> counter{0};
        m_path = std::filesystem::temp_directory_path() /
                 ("kivfx-fw-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".bin");
    }
    ~TempPath() {
        std::error_code ignored;
        std::filesystem::remove(m_path, ignored);
    }
    TempPath(const TempPath&) = delete;
    TempPath& operator=(const TempPath&) = delete;
    CString Wide() const { return CString::FromUtf8(m_path.string()); }
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};
