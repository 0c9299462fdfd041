// An archive over a memory file reads and writes the file's own memory in place: the same
// bytes, offsets, errors and file positions as through the archive's buffer.
#include <gtest/gtest.h>

#include <cstring>

#include "ArchiveTestUtil.h"

namespace {

// Numbers, a string, counts and raw blocks of every size around the room a file lends at a
// time, with flushes in between.
void WriteScript(CArchive& ar) {
    ar << BYTE{1} << WORD{0xBEEF} << 0x12345678 << 2.5 << CString(L"in place");
    for (const UINT size : {1u, 63u, 4096u, 65535u, 65536u, 65537u, 200000u}) {
        Bytes block(size);
        for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<BYTE>(i * 13 + size);
        ar.WriteCount(size);
        ar.Write(block.data(), size);
        ar << WORD{0xCAFE};
        if (size == 4096u) ar.Flush();
    }
    for (int i = 0; i < 30000; ++i) ar << static_cast<DWORD>(i * 2654435761u);
}

void ReadScript(CArchive& ar) {
    BYTE b;
    WORD w;
    int i32;
    double d;
    CString s;
    ar >> b >> w >> i32 >> d >> s;
    ASSERT_EQ(b, 1);
    ASSERT_EQ(w, 0xBEEF);
    ASSERT_EQ(i32, 0x12345678);
    ASSERT_EQ(d, 2.5);
    ASSERT_EQ(s, CString(L"in place"));
    for (const UINT size : {1u, 63u, 4096u, 65535u, 65536u, 65537u, 200000u}) {
        ASSERT_EQ(ar.ReadCount(), size);
        Bytes block(size);
        ASSERT_EQ(ar.Read(block.data(), size), size);
        for (size_t i = 0; i < block.size(); ++i) ASSERT_EQ(block[i], static_cast<BYTE>(i * 13 + size)) << size << " at " << i;
        ar >> w;
        ASSERT_EQ(w, 0xCAFE);
    }
    for (int i = 0; i < 30000; ++i) {
        DWORD v;
        ar >> v;
        ASSERT_EQ(v, static_cast<DWORD>(i * 2654435761u));
    }
}

Bytes Contents(const CMemFile& f) { return Bytes(f.GetBufferPtr(), f.GetBufferPtr() + f.GetLength()); }

}  // namespace

TEST(ArchiveInMemory, StoresTheBytesTheBufferedArchiveStores) {
    const Bytes expected = StoreBytes(WriteScript, 64);
    for (const UINT grow : {1u, 1024u, 1u << 20}) {
        CMemFile file(grow);
        CArchive ar(&file, CArchive::store);
        WriteScript(ar);
        ar.Close();
        EXPECT_EQ(Contents(file), expected) << "grow by " << grow;
        EXPECT_EQ(file.GetPosition(), expected.size());
    }
}

TEST(ArchiveInMemory, LoadsInPlaceAndLeavesTheFileAfterWhatWasRead) {
    Bytes bytes = StoreBytes(WriteScript);
    const Bytes trailer = {9, 8, 7};
    bytes = bytes + trailer;
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    {
        CArchive ar(&file, CArchive::load);
        ReadScript(ar);
        EXPECT_EQ(ar.GetOffset(), bytes.size() - trailer.size());
        EXPECT_EQ(ar.GetBytesLeft(), trailer.size());
        WORD past;
        ar >> past;  // two of the trailer's bytes
        ar.Close();
    }
    EXPECT_EQ(file.GetPosition(), bytes.size() - 1);
    // Reading past the end raises end-of-file, consuming nothing, and never writes into the
    // file's memory.
    const Bytes before = bytes;
    CMemFile again(bytes.data(), static_cast<UINT>(bytes.size()));
    again.Seek(static_cast<LONGLONG>(bytes.size() - 3), CFile::begin);
    CArchive ar(&again, CArchive::load);
    BYTE one;
    ar >> one;
    EXPECT_EQ(ArchiveCause([&] { DWORD d; ar >> d; }), CArchiveException::endOfFile);
    Bytes block(10);
    EXPECT_EQ(ArchiveCause([&] { ar.Read(block.data(), 10); }), CArchiveException::endOfFile);
    WORD w;
    ar >> w;
    EXPECT_EQ(w, 0x0708);
    EXPECT_EQ(bytes, before);
}

TEST(ArchiveInMemory, StoringAfterASeekPastTheEndLeavesZerosInTheGap) {
    CMemFile file;
    const BYTE head[] = {1, 2};
    file.Write(head, 2);
    file.Seek(6, CFile::begin);
    CArchive ar(&file, CArchive::store);
    ar << WORD{0x0403};
    ar.Close();
    EXPECT_EQ(Contents(file), (Bytes{1, 2, 0, 0, 0, 0, 3, 4}));
}

TEST(ArchiveInMemory, AbortWritesNothingAndAFullFixedFileRaisesDiskFull) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << 1 << 2.0;
        ar.Abort();
    }
    EXPECT_EQ(file.GetLength(), 0u);

    // A fixed buffer: what fits is written; beyond it the file's own error.
    Bytes room(100, 0xEE);
    CMemFile fixed(room.data(), static_cast<UINT>(room.size()));
    fixed.SetLength(0);
    bool full = false;
    try {
        CArchive ar(&fixed, CArchive::store);
        for (int i = 0; i < 30; ++i) ar << static_cast<DWORD>(i);
        ar.Close();
    } catch (const CFileException& e) {
        full = e.m_cause == CFileException::diskFull;
    }
    EXPECT_TRUE(full);
    ASSERT_GE(fixed.GetLength(), 64u);
    for (DWORD i = 0; i < fixed.GetLength() / 4; ++i) {
        DWORD v;
        std::memcpy(&v, fixed.GetBufferPtr() + i * 4, 4);
        EXPECT_EQ(v, i);
    }
}
