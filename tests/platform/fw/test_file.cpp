// CFile on a real temporary file and CMemFile in memory: open modes, errors with their
// causes, reading at the end, seeking, growth, attach and detach.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

#include "ArchiveTestUtil.h"

namespace {

int FileCause(const std::function<void()>& f) {
    try {
        f();
    } catch (const CFileException& e) {
        return e.m_cause;
    }
    return -1;
}

Bytes ReadAll(CFile& f) {
    f.SeekToBegin();
    Bytes out(static_cast<size_t>(f.GetLength()));
    EXPECT_EQ(f.Read(out.data(), static_cast<UINT>(out.size())), out.size());
    return out;
}

}  // namespace

TEST(CFileDisk, WriteReadSeekAndLength) {
    TempPath temp;
    CFile f(temp.Wide(), CFile::modeCreate | CFile::modeReadWrite);
    EXPECT_TRUE(f.IsOpen());
    EXPECT_EQ(f.GetFilePath(), temp.Wide());
    EXPECT_EQ(f.GetFileName(), CString::FromUtf8(temp.Path().filename().string()));
    const BYTE data[] = {1, 2, 3, 4, 5};
    f.Write(data, sizeof data);
    EXPECT_EQ(f.GetLength(), 5u);
    EXPECT_EQ(f.Seek(-2, CFile::end), 3u);
    BYTE back[8] = {};
    EXPECT_EQ(f.Read(back, 8), 2u) << "fewer bytes at the end";
    EXPECT_EQ(back[0], 4);
    EXPECT_EQ(f.Read(back, 8), 0u);
    f.SetLength(2);
    EXPECT_EQ(ReadAll(f), (Bytes{1, 2}));
    EXPECT_EQ(FileCause([&] { f.Seek(-1, CFile::begin); }), CFileException::badSeek);
    f.Close();
    EXPECT_FALSE(f.IsOpen());
    EXPECT_EQ(FileCause([&] { f.Write(data, 1); }), CFileException::invalidFile);
}

TEST(CFileDisk, CreateTruncatesUnlessAskedNotTo) {
    TempPath temp;
    const BYTE data[] = {7, 8, 9};
    {
        CFile f(temp.Wide(), CFile::modeCreate | CFile::modeWrite);
        f.Write(data, sizeof data);
    }
    {
        CFile f(temp.Wide(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite);
        EXPECT_EQ(ReadAll(f), (Bytes{7, 8, 9}));
    }
    CFile f(temp.Wide(), CFile::modeCreate | CFile::modeReadWrite);
    EXPECT_EQ(f.GetLength(), 0u);
}

TEST(CFileDisk, OpenFailuresCarryTheirCause) {
    TempPath temp;
    CFile f;
    CFileException error;
    EXPECT_FALSE(f.Open(temp.Wide(), CFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
    EXPECT_EQ(error.m_strFileName, temp.Wide());
    EXPECT_NE(std::string(error.what()).find("fileNotFound"), std::string::npos);
    EXPECT_THROW(CFile(temp.Wide(), CFile::modeRead), CFileException);

    ASSERT_TRUE(f.Open(temp.Wide(), CFile::modeCreateNew | CFile::modeWrite));
    f.Close();
    CFile again;
    EXPECT_FALSE(again.Open(temp.Wide(), CFile::modeCreateNew | CFile::modeWrite, &error)) << "the file exists";
    EXPECT_EQ(error.m_cause, CFileException::accessDenied);

    const CString dir = CString::FromUtf8(std::filesystem::temp_directory_path().string());
    EXPECT_FALSE(again.Open(dir, CFile::modeRead, &error)) << "a directory is not a file";
    EXPECT_EQ(error.m_cause, CFileException::accessDenied);
    EXPECT_FALSE(again.Open((temp.Wide() + L"/below").GetString(), CFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::badPath) << "a path through a file";

    CFile::Remove(temp.Wide());
    EXPECT_EQ(FileCause([&] { CFile::Remove(temp.Wide()); }), CFileException::fileNotFound);
}

TEST(CFileDisk, NonAsciiPathsAreUtf8) {
    TempPath temp;
    const CString name = temp.Wide() + L"-\u00E9\u4E2D";
    {
        CFile f(name, CFile::modeCreate | CFile::modeWrite);
    }
    const std::filesystem::path utf8 = temp.Path().string() + "-\xC3\xA9\xE4\xB8\xAD";
    EXPECT_TRUE(std::filesystem::exists(utf8));
    const CString renamed = temp.Wide();
    CFile::Rename(name, renamed);
    EXPECT_FALSE(std::filesystem::exists(utf8));
    EXPECT_TRUE(std::filesystem::exists(temp.Path()));
}

TEST(CMemFileGrowth, WritesGrowAndSeekPastTheEndLeavesZeros) {
    CMemFile f(16);
    const BYTE data[] = {1, 2, 3};
    for (int i = 0; i < 1000; ++i) f.Write(data, sizeof data);
    EXPECT_EQ(f.GetLength(), 3000u);
    EXPECT_EQ(f.GetBufferPtr()[2999], 3);
    f.Seek(10, CFile::end);
    f.Write(data, 1);
    EXPECT_EQ(f.GetLength(), 3011u);
    for (ULONGLONG i = 3000; i < 3010; ++i) ASSERT_EQ(f.GetBufferPtr()[i], 0) << "gap byte " << i;
    f.SetLength(3020);
    EXPECT_EQ(f.GetBufferPtr()[3015], 0);
    f.SetLength(5);
    EXPECT_EQ(f.GetPosition(), 5u) << "the position follows a shorter length";
    BYTE back[10];
    f.SeekToBegin();
    EXPECT_EQ(f.Read(back, 10), 5u);
    EXPECT_EQ(f.Read(back, 10), 0u);
    EXPECT_THROW(f.Seek(-6, CFile::current), CFileException);
}

TEST(CMemFileGrowth, FixedBufferRefusesToGrowAndKeepsItsBytes) {
    BYTE buffer[4] = {1, 2, 3, 4};
    CMemFile f(buffer, sizeof buffer);
    EXPECT_EQ(f.GetLength(), 4u) << "a fixed buffer is the file's content";
    const BYTE more[] = {9, 9};
    f.Seek(3, CFile::begin);
    EXPECT_EQ(FileCause([&] { f.Write(more, 2); }), CFileException::diskFull);
    EXPECT_EQ(buffer[3], 4) << "nothing of a refused write lands";
    f.Write(more, 1);
    EXPECT_EQ(buffer[3], 9);
}

TEST(CMemFileAttach, GrowableAttachStartsEmptyAndMovesOutOfTheCallersBuffer) {
    BYTE buffer[4] = {};
    CMemFile f;
    f.Attach(buffer, sizeof buffer, 8);
    EXPECT_EQ(f.GetLength(), 0u);
    const BYTE data[] = {1, 2, 3, 4, 5, 6};
    f.Write(data, 3);
    EXPECT_EQ(f.GetBufferPtr(), buffer) << "fits in the caller's buffer";
    f.Write(data + 3, 3);
    EXPECT_NE(f.GetBufferPtr(), buffer) << "grown into the file's own memory";
    BYTE* own = f.Detach();
    EXPECT_EQ(f.GetLength(), 0u);
    EXPECT_EQ(Bytes(own, own + 6), Bytes(data, data + 6));
    std::free(own);  // the file allocated it, so the caller frees it
    f.Write(data, 2);
    EXPECT_EQ(f.GetLength(), 2u) << "a detached file starts again";
}

TEST(CMemFileAttach, DetachHandsOverTheBufferAndArchivesRoundTrip) {
    CMemFile f;
    {
        CArchive ar(&f, CArchive::store);
        ar << CString(L"keyframes") << 3.5;
    }
    const auto length = static_cast<UINT>(f.GetLength());
    BYTE* bytes = f.Detach();
    CMemFile reader(bytes, length);
    CArchive ar(&reader, CArchive::load);
    CString s;
    double d;
    ar >> s >> d;
    EXPECT_EQ(s, CString(L"keyframes"));
    EXPECT_EQ(d, 3.5);
    ar.Close();
    reader.Close();
    std::free(bytes);
}
