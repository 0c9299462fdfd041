// Numbers, counts and raw blocks in the archive: exact bytes, end of data, wrong mode,
// buffer refills and closing.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "ArchiveTestUtil.h"

TEST(ArchiveNumbers, AreWrittenLittleEndianInTheirWidth) {
    const Bytes bytes = StoreBytes([](CArchive& ar) {
        ar << BYTE{0xAB} << WORD{0x1234} << short{-2} << int{-2} << DWORD{0x89ABCDEFu}
           << LONGLONG{-3} << ULONGLONG{0x0102030405060708ull} << 1.0f << 1.0 << L'\x20AC';
    });
    const Bytes expected = {0xAB,                                            // BYTE
                            0x34, 0x12,                                      // WORD
                            0xFE, 0xFF,                                      // short
                            0xFE, 0xFF, 0xFF, 0xFF,                          // int
                            0xEF, 0xCD, 0xAB, 0x89,                          // DWORD
                            0xFD, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,  // LONGLONG
                            0x08, 0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0x01,  // ULONGLONG
                            0x00, 0x00, 0x80, 0x3F,                          // float 1.0
                            0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0x3F,  // double 1.0
                            0xAC, 0x20};                                     // wchar_t as 16 bits
    EXPECT_EQ(bytes, expected);
}

TEST(ArchiveNumbers, RoundTripExtremesAndSpecialFloats) {
    const float nanBits = std::bit_cast<float>(0x7FC00123u);
    const Bytes bytes = StoreBytes([&](CArchive& ar) {
        ar << std::numeric_limits<short>::min() << std::numeric_limits<int>::min() << std::numeric_limits<LONGLONG>::max()
           << -0.0 << std::numeric_limits<double>::infinity() << nanBits;
    });
    ArchiveReader r(bytes);
    short s;
    int i;
    LONGLONG ll;
    double negZero, inf;
    float nan;
    r.ar() >> s >> i >> ll >> negZero >> inf >> nan;
    EXPECT_EQ(s, std::numeric_limits<short>::min());
    EXPECT_EQ(i, std::numeric_limits<int>::min());
    EXPECT_EQ(ll, std::numeric_limits<LONGLONG>::max());
    EXPECT_TRUE(std::signbit(negZero));
    EXPECT_EQ(inf, std::numeric_limits<double>::infinity());
    EXPECT_EQ(std::bit_cast<DWORD>(nan), 0x7FC00123u) << "a NaN keeps its payload bits";
}

TEST(ArchiveNumbers, SurviveBufferRefillsAtEveryAlignment) {
    // An odd leading byte puts numbers across every refill boundary of a small buffer.
    constexpr int kSmallBuffer = 64;
    constexpr int kCount = 500;
    const Bytes bytes = StoreBytes(
        [](CArchive& ar) {
            ar << BYTE{7};
            for (int i = 0; i < kCount; ++i) ar << static_cast<DWORD>(i * 2654435761u) << static_cast<double>(i) / 3;
        },
        kSmallBuffer);
    ASSERT_EQ(bytes.size(), 1u + kCount * 12u);
    ArchiveReader r(bytes, kSmallBuffer);
    BYTE first;
    r.ar() >> first;
    for (int i = 0; i < kCount; ++i) {
        DWORD d;
        double v;
        r.ar() >> d >> v;
        ASSERT_EQ(d, static_cast<DWORD>(i * 2654435761u)) << "at element " << i;
        ASSERT_EQ(v, static_cast<double>(i) / 3);
    }
    EXPECT_EQ(r.ar().GetOffset(), bytes.size());
    EXPECT_EQ(r.ar().GetBytesLeft(), 0u);
}

TEST(ArchiveEndOfFile, NumberPastTheEndRaisesAndConsumesNothing) {
    ArchiveReader r(Bytes{0x01, 0x02});
    DWORD d = 99;
    EXPECT_EQ(ArchiveCause([&] { r.ar() >> d; }), CArchiveException::endOfFile);
    EXPECT_EQ(d, 99u) << "the target is not touched";
    WORD w = 0;
    r.ar() >> w;
    EXPECT_EQ(w, 0x0201) << "the two bytes are still there";
    BYTE b;
    EXPECT_EQ(ArchiveCause([&] { r.ar() >> b; }), CArchiveException::endOfFile);
}

TEST(ArchiveEndOfFile, RawBlockPastTheEndRaisesAndConsumesNothing) {
    ArchiveReader r(Bytes{1, 2, 3, 4});
    BYTE block[5] = {9, 9, 9, 9, 9};
    EXPECT_EQ(ArchiveCause([&] { r.ar().Read(block, 5); }), CArchiveException::endOfFile);
    EXPECT_EQ(r.ar().GetOffset(), 0u);
    EXPECT_EQ(r.ar().Read(block, 4), 4u);
    EXPECT_EQ(block[3], 4);
    EXPECT_EQ(r.ar().Read(block, 0), 0u) << "an empty read at the end is fine";
}

TEST(ArchiveEndOfFile, MessageNamesFileOffsetAndWhatWasRead) {
    TempPath temp;
    {
        CFile f(temp.Wide(), CFile::modeCreate | CFile::modeWrite);
        const BYTE data[] = {1, 2, 3, 4, 5, 6};
        f.Write(data, sizeof data);
    }
    CFile f(temp.Wide(), CFile::modeRead);
    CArchive ar(&f, CArchive::load);
    WORD w;
    ar >> w >> w;
    const std::string plain = ArchiveMessage([&] { DWORD d; ar >> d; });
    EXPECT_EQ(plain, "archive error endOfFile in '" + temp.Path().string() + "' at offset 4: reading a number needs 4 bytes, 2 left");
    ar.SetContext("CKivFXValueKeyFrm.Value");
    const std::string named = ArchiveMessage([&] { float v; ar >> v; });
    EXPECT_NE(named.find("at offset 4: reading CKivFXValueKeyFrm.Value needs 4 bytes, 2 left"), std::string::npos) << named;
}

TEST(ArchiveRawBlocks, LargeBlocksBypassTheBufferAndKeepOffsets) {
    constexpr int kSmallBuffer = 64;
    Bytes block(10000);
    for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<BYTE>(i * 7);
    const Bytes bytes = StoreBytes(
        [&](CArchive& ar) {
            ar << WORD{0xBEEF};
            ar.Write(block.data(), static_cast<UINT>(block.size()));
            ar << WORD{0xCAFE};
        },
        kSmallBuffer);
    ASSERT_EQ(bytes.size(), block.size() + 4);
    ArchiveReader r(bytes, kSmallBuffer);
    WORD head, tail;
    Bytes back(block.size());
    r.ar() >> head;
    r.ar().Read(back.data(), static_cast<UINT>(back.size()));
    EXPECT_EQ(r.ar().GetOffset(), 2 + block.size());
    r.ar() >> tail;
    EXPECT_EQ(head, 0xBEEF);
    EXPECT_EQ(back, block);
    EXPECT_EQ(tail, 0xCAFE);
}

TEST(ArchiveCounts, UseEachWidthUpToItsEscape) {
    struct Case {
        ULONGLONG count;
        Bytes bytes;
    };
    const Case cases[] = {
        {0, {0x00, 0x00}},
        {0xFFFE, {0xFE, 0xFF}},
        {0xFFFF, {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
        {0xFFFFFFFEull, {0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF}},
        {0xFFFFFFFFull, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StoreBytes([&](CArchive& ar) { ar.WriteCount(c.count); }), c.bytes) << "count " << c.count;
        ArchiveReader r(c.bytes);
        EXPECT_EQ(r.ar().ReadCount(), c.count);
    }
}

TEST(ArchiveCounts, CheckCountRefusesWhatCannotFit) {
    ArchiveReader r(Bytes(10));
    EXPECT_NO_THROW(r.ar().CheckCount(5, 2, "pairs"));
    EXPECT_NO_THROW(r.ar().CheckCount(0, 1000, "nothing"));
    const std::string msg = ArchiveMessage([&] { r.ar().CheckCount(6, 2, "pairs"); });
    EXPECT_NE(msg.find("reading 6 pairs of at least 2 bytes each, 10 bytes left"), std::string::npos) << msg;
    EXPECT_EQ(ArchiveCause([&] { r.ar().CheckCount(~0ull, ~0ull, "huge"); }), CArchiveException::endOfFile)
        << "no overflow in count times size";
}

TEST(ArchiveModes, StoringIntoLoadingAndLoadingFromStoringNameTheFile) {
    TempPath temp;
    {
        CFile f(temp.Wide(), CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&f, CArchive::store);
        EXPECT_EQ(ar.m_strFileName, temp.Wide());
        try {
            int v;
            ar >> v;
            ADD_FAILURE() << "loading from a storing archive must raise";
        } catch (const CArchiveException& e) {
            EXPECT_EQ(e.m_cause, CArchiveException::writeOnly);
            EXPECT_EQ(e.m_strFileName, temp.Wide());
        }
        BYTE raw[1];
        EXPECT_EQ(ArchiveCause([&] { ar.Read(raw, 1); }), CArchiveException::writeOnly);
        EXPECT_EQ(ArchiveCause([&] { ar.ReadObject(nullptr); }), CArchiveException::writeOnly);
        ar << 5;
    }
    CFile f(temp.Wide(), CFile::modeRead);
    CArchive ar(&f, CArchive::load);
    try {
        ar << 1.5;
        ADD_FAILURE() << "storing into a loading archive must raise";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::readOnly);
        EXPECT_EQ(e.m_strFileName, temp.Wide());
    }
    EXPECT_EQ(ArchiveCause([&] { ar << CString(L"x"); }), CArchiveException::readOnly);
    EXPECT_EQ(ArchiveCause([&] { ar.WriteObject(nullptr); }), CArchiveException::readOnly);
    EXPECT_EQ(ArchiveCause([&] { ar.WriteCount(1); }), CArchiveException::readOnly);
    int v;
    ar >> v;
    EXPECT_EQ(v, 5) << "the destructor flushed the storing archive";
}

TEST(ArchiveClosing, AbortDropsBufferedBytesAndClosedArchivesRefuseWork) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << 1;
        ar.Abort();
    }
    EXPECT_EQ(file.GetLength(), 0u) << "Abort does not flush";
    CArchive ar(&file, CArchive::store);
    ar << 2;
    ar.Close();
    EXPECT_EQ(file.GetLength(), 4u);
    EXPECT_EQ(ArchiveCause([&] { ar << 3; }), CArchiveException::genericException);
    EXPECT_NO_THROW(ar.Close()) << "closing twice is harmless";
}

TEST(ArchiveClosing, ClosingALoadingArchiveLeavesTheFileAfterWhatWasRead) {
    CMemFile file;
    const BYTE data[] = {1, 2, 3, 4, 5, 6, 7, 8};
    file.Write(data, sizeof data);
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    WORD w;
    ar >> w;
    ar.Close();
    EXPECT_EQ(file.GetPosition(), 2u);
    BYTE next;
    file.Read(&next, 1);
    EXPECT_EQ(next, 3);
    EXPECT_EQ(ArchiveCause([&] { ar >> w; }), CArchiveException::genericException);
}
