// Operating-system stand-ins: global memory, version words, class names, temporary files,
// the tick count and the video standard.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "kivbase/KivSystem.h"
#include "kivbase/KivVersion.h"
#include "kivbase/KivVideoStd.h"
#include "platform/fw/KivGlobalMemory.h"

namespace {

TEST(GlobalMemory, ZeroInitAndFree) {
    auto* p = static_cast<BYTE*>(GlobalAlloc(GPTR, 64));
    ASSERT_NE(p, nullptr);
    for (int i = 0; i < 64; ++i) EXPECT_EQ(p[i], 0);
    EXPECT_EQ(GlobalFree(p), nullptr);
    void* none = GlobalAlloc(GMEM_FIXED, 0);
    EXPECT_NE(none, nullptr) << "a zero-byte block is still a block";
    GlobalFree(none);
    EXPECT_EQ(GlobalAlloc(0x0002, 8), nullptr) << "movable blocks are not offered";
    EXPECT_EQ(GlobalFree(nullptr), nullptr);
}

TEST(VersionWords, SignedSixteenBitReading) {
    int v = 99;
    EXPECT_EQ(KivVersionConvert(0, 1, v, L"CKivFXBaseKeyFrm"), 1);
    EXPECT_EQ(v, 0) << "what this library writes is never negative";
    KivVersionConvert(0x7FFF, 0, v, nullptr);
    EXPECT_EQ(v, 32767);
    KivVersionConvert(0x8000, 0, v, nullptr);
    EXPECT_EQ(v, -32768);
    KivVersionConvert(0xFFFF, 1, v, nullptr);
    EXPECT_EQ(v, -1) << "older layout: no optional last field";
}

TEST(VersionWords, ClassNamesAreCachedForTheProcess) {
    const wchar_t* a = KivPublicToUnicode("CKivFXValueKeyFrm");
    EXPECT_STREQ(a, L"CKivFXValueKeyFrm");
    std::string again = "CKivFXValueKeyFrm";
    EXPECT_EQ(KivPublicToUnicode(again.c_str()), a) << "the same name gives the same pointer";
    for (int i = 0; i < 200; ++i) KivPublicToUnicode(("Other" + std::to_string(i)).c_str());
    EXPECT_STREQ(a, L"CKivFXValueKeyFrm") << "earlier pointers stay valid as the table grows";
    EXPECT_STREQ(KivPublicToUnicode(nullptr), L"");
}

TEST(TempFiles, PathEndsWithSeparatorAndFollowsTmpdir) {
    const char* old = std::getenv("TMPDIR");
    const std::string saved = old ? old : "";
    ::setenv("TMPDIR", "/var/tmp", 1);
    EXPECT_EQ(KivGetTempFilePath(), CString(L"/var/tmp/"));
    ::setenv("TMPDIR", "/scratch/", 1);
    EXPECT_EQ(KivGetTempFilePath(), CString(L"/scratch/")) << "no doubled separator";
    ::setenv("TMPDIR", "", 1);
    EXPECT_EQ(KivGetTempFilePath(), CString(L"/tmp/"));
    ::unsetenv("TMPDIR");
    EXPECT_EQ(KivGetTempFilePath(), CString(L"/tmp/"));
    if (old) ::setenv("TMPDIR", saved.c_str(), 1);
}

TEST(TempFiles, FileExistence) {
    const std::string path = KivGetTempFilePath().ToUtf8() + "kivbase_exists_" + std::to_string(::getpid()) + "\xC3\xA9";
    const CString wide = CString::FromUtf8(path);
    std::remove(path.c_str());
    EXPECT_FALSE(KivPublicDoesFileExist(wide));
    std::ofstream(path) << "x";
    EXPECT_TRUE(KivPublicDoesFileExist(wide)) << "a name with a non-ASCII character";
    std::remove(path.c_str());
    EXPECT_FALSE(KivPublicDoesFileExist(wide));
    EXPECT_FALSE(KivPublicDoesFileExist(L"/tmp")) << "a folder is not a file";
    EXPECT_FALSE(KivPublicDoesFileExist(L""));
    EXPECT_FALSE(KivPublicDoesFileExist(nullptr));
}

TEST(TickCount, MonotonicAndReplaceable) {
    const DWORD a = KivGetTickCount();
    const DWORD b = KivGetTickCount();
    EXPECT_LE(static_cast<DWORD>(b - a), 1000u) << "consecutive readings are close and never go back";
    DWORD fake = 5000;
    KivSetTickCountSource([&fake] { return fake++; });
    EXPECT_EQ(KivGetTickCount(), 5000u);
    EXPECT_EQ(KivGetTickCount(), 5001u);
    KivSetTickCountSource({});
    EXPECT_LE(static_cast<DWORD>(KivGetTickCount() - a), 60000u) << "the real clock is back";
}

TEST(VideoStandard, DefaultAndHostSize) {
    EXPECT_EQ(CKivVideoStd::GetResSize(), CSize(720, 576));
    EXPECT_EQ(CKivVideoStd::GetResRect(), CRect(0, 0, 720, 576));
    EXPECT_TRUE(CKivVideoStd::SetResSize(CSize(1920, 1080)));
    EXPECT_EQ(CKivVideoStd::GetResRect(), CRect(0, 0, 1920, 1080));
    EXPECT_FALSE(CKivVideoStd::SetResSize(CSize(0, 1080)));
    EXPECT_EQ(CKivVideoStd::GetResSize(), CSize(1920, 1080)) << "a refused size changes nothing";
    EXPECT_TRUE(CKivVideoStd::SetResSize(CSize(CKivVideoStd::kDefaultWidth, CKivVideoStd::kDefaultHeight)));
}

}  // namespace
