// The movie keyframe and its frame cache files: the file's bytes and name, exclusive
// creation and the tick wait, drawing the picture back with clipping, damaged files, the
// destructor's removal, and the stored path. Every test works in a scratch temporary folder
// of its own, with a test clock where names matter, and removes what it made.
#include <gtest/gtest.h>

#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "keyfrm/softfx/KivFXSoft.h"
#include "kivbase/KivSystem.h"
#include "support/ArchiveBytes.h"

using kfxtest::Bytes;
namespace fs = std::filesystem;

namespace {

constexpr size_t kSoftBaseRecordBytes = 12 + 2;  // the root's record and the soft base's word
const tagCOLOR32 kBackground = tagCOLOR32::FromDWORD(0xFF102030);

std::vector<BYTE> ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<BYTE>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const fs::path& path, const std::vector<BYTE>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A picture whose pixel (x, y) is blue x, green y, red 7, opaque.
void Picture(CKivMemBlock& block, int cx, int cy) {
    ASSERT_TRUE(block.InitBlock(CSize(cx, cy), nullptr, 0));
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < cx; ++x) block.GetAddress()[y * cx + x] = {static_cast<BYTE>(x), static_cast<BYTE>(y), 7, 255};
}

tagCOLOR32 PixelAt(CKivMemBlock& block, int x, int y) { return block.GetAddress()[y * block.GetSize().cx + x]; }

// A 100 x 100 target filled with kBackground.
void Target(CKivMemBlock& target) {
    ASSERT_TRUE(target.InitBlock(CSize(100, 100), nullptr, 0));
    target.ClearBlock(nullptr, kBackground);
}

bool Untouched(CKivMemBlock& target) {
    for (int i = 0; i < 100 * 100; ++i)
        if (!(target.GetAddress()[i] == kBackground)) return false;
    return true;
}

std::vector<BYTE> Header(int cx, int cy) {
    std::vector<BYTE> out(8);
    KivPutI32(out.data(), cx);
    KivPutI32(out.data() + 4, cy);
    return out;
}

class MovieFiles : public testing::Test {
protected:
    void SetUp() override {
        const char* old = std::getenv("TMPDIR");
        m_hadTmpdir = old != nullptr;
        if (old) m_savedTmpdir = old;
        std::string pattern = (fs::temp_directory_path() / "kfx_movie_XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
        ::setenv("TMPDIR", m_dir.c_str(), 1);
    }
    void TearDown() override {
        KivSetTickCountSource({});
        if (m_hadTmpdir)
            ::setenv("TMPDIR", m_savedTmpdir.c_str(), 1);
        else
            ::unsetenv("TMPDIR");
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }

    /// The clock gives these counts in turn, then repeats the last.
    static void UseTicks(std::vector<DWORD> ticks) {
        auto next = std::make_shared<size_t>(0);
        KivSetTickCountSource([ticks, next] { return ticks[std::min(ticks.size() - 1, (*next)++)]; });
    }

    fs::path File(const std::string& name) const { return m_dir / name; }
    static fs::path PathOf(const CKivSoftFXMovieKeyFrm& key) { return fs::path(key.MovieKFMFile.ToUtf8()); }

    fs::path m_dir;

private:
    bool m_hadTmpdir = false;
    std::string m_savedTmpdir;
};

}  // namespace

TEST_F(MovieFiles, FileHoldsTheSizeThenTheRowsAndIsNamedFromTheTick) {
    EXPECT_EQ(CKivSoftFXMovieKeyFrm::MakeFrameFileName(L"C:\\Temp\\", 5000, 7, 12), CString(L"C:\\Temp\\MKF5000127.#mfk#"))
        << "second before first";
    UseTicks({5000, 5001});
    CKivMemBlock block;
    Picture(block, 3, 2);
    CKivSoftFXMovieKeyFrm key;
    ASSERT_EQ(key.MakeOneFrameFile(&block, 7, 12), 1);
    EXPECT_EQ(PathOf(key), File("MKF5000127.#mfk#"));

    const auto bytes = ReadAll(PathOf(key));
    ASSERT_EQ(bytes.size(), 32u);
    EXPECT_EQ(std::vector<BYTE>(bytes.begin(), bytes.begin() + 8), Bytes({3, 0, 0, 0, 2, 0, 0, 0}));
    EXPECT_EQ(std::vector<BYTE>(bytes.begin() + 8, bytes.begin() + 16), Bytes({0, 0, 7, 255, 1, 0, 7, 255})) << "blue, green, red, alpha";
    EXPECT_EQ(std::vector<BYTE>(bytes.end() - 4, bytes.end()), Bytes({2, 1, 7, 255})) << "the last pixel of the second row";
}

TEST_F(MovieFiles, TheTickWaitEndsWhenTheCountWraps) {
    UseTicks({0xFFFFFFFFu, 0});
    CKivMemBlock block;
    Picture(block, 1, 1);
    CKivSoftFXMovieKeyFrm key;
    ASSERT_EQ(key.MakeOneFrameFile(&block, -1, 0), 1);
    EXPECT_EQ(PathOf(key), File("MKF42949672950-1.#mfk#"));
}

TEST_F(MovieFiles, TwoCallsGiveTwoNamesAndTheFirstFileStays) {
    CKivMemBlock block;
    Picture(block, 2, 2);
    CKivSoftFXMovieKeyFrm key;
    ASSERT_EQ(key.MakeOneFrameFile(&block, 1, 1), 1);
    const fs::path first = PathOf(key);
    ASSERT_EQ(key.MakeOneFrameFile(&block, 1, 1), 1);
    EXPECT_NE(PathOf(key), first);
    EXPECT_TRUE(fs::exists(first)) << "the earlier file is neither deleted nor reused";
    fs::remove(first);
}

TEST_F(MovieFiles, NeverOverwritesAFileItDidNotMake) {
    const fs::path taken = File("MKF5000127.#mfk#");
    WriteAll(taken, Bytes({'k', 'e', 'e', 'p'}));
    CKivMemBlock block;
    Picture(block, 3, 2);
    {
        UseTicks({5000, 5000, 5001, 5002});
        CKivSoftFXMovieKeyFrm key;
        ASSERT_EQ(key.MakeOneFrameFile(&block, 7, 12), 1);
        EXPECT_EQ(PathOf(key), File("MKF5001127.#mfk#")) << "tried again at the next tick";
    }
    {
        UseTicks({5000});  // a clock that stands still: the name never frees up
        CKivSoftFXMovieKeyFrm key;
        key.MovieKFMFile = L"/nowhere/MKF1.#mfk#";
        EXPECT_EQ(key.MakeOneFrameFile(&block, 7, 12), 0);
        EXPECT_EQ(key.MovieKFMFile, CString(L"/nowhere/MKF1.#mfk#")) << "a failed call leaves the path";
    }
    EXPECT_EQ(ReadAll(taken), Bytes({'k', 'e', 'e', 'p'}));
    EXPECT_FALSE(fs::exists(File("MKF5001127.#mfk#"))) << "removed with its keyframe";

    ::setenv("TMPDIR", (m_dir / "missing").c_str(), 1);
    CKivSoftFXMovieKeyFrm key;
    EXPECT_EQ(key.MakeOneFrameFile(&block, 7, 12), 0) << "no such folder";
    EXPECT_TRUE(key.MovieKFMFile.IsEmpty());
    CKivMemBlock empty;
    EXPECT_EQ(key.MakeOneFrameFile(&empty, 7, 12), 0);
    EXPECT_EQ(key.MakeOneFrameFile(nullptr, 7, 12), 0);
}

TEST_F(MovieFiles, DrawsThePictureAtThePlaceClippedAndNeverScaled) {
    UseTicks({1, 2});
    CKivMemBlock picture, target;
    Picture(picture, 50, 50);
    CKivSoftFXMovieKeyFrm key;
    ASSERT_EQ(key.MakeOneFrameFile(&picture, 0, 0), 1);

    Target(target);
    ASSERT_EQ(key.GetOneFrameFromFile(&target, CRect(10, 10, 20, 20)), 1);
    EXPECT_EQ(PixelAt(target, 10, 10), PixelAt(picture, 0, 0));
    EXPECT_EQ(PixelAt(target, 19, 19), PixelAt(picture, 9, 9));
    EXPECT_EQ(PixelAt(target, 20, 15), kBackground) << "clipped to the place";
    EXPECT_EQ(PixelAt(target, 9, 15), kBackground);

    Target(target);
    ASSERT_EQ(key.GetOneFrameFromFile(&target, CRect(-5, 90, 300, 300)), 1);
    EXPECT_EQ(PixelAt(target, 0, 90), PixelAt(picture, 5, 0)) << "clipped to the target";
    EXPECT_EQ(PixelAt(target, 44, 99), PixelAt(picture, 49, 9));
    EXPECT_EQ(PixelAt(target, 45, 95), kBackground) << "a larger place does not stretch the picture";

    Target(target);
    EXPECT_EQ(key.GetOneFrameFromFile(&target, CRect(100, 0, 200, 50)), 1) << "nothing falls inside";
    EXPECT_EQ(key.GetOneFrameFromFile(&target, CRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX)), 1) << "the picture is far off";
    EXPECT_TRUE(Untouched(target));
    EXPECT_EQ(key.GetOneFrameFromFile(nullptr, CRect(0, 0, 10, 10)), 0);
}

TEST_F(MovieFiles, DamagedFilesDrawNothing) {
    struct Damaged {
        const char* what;
        std::vector<BYTE> bytes;
    };
    std::vector<BYTE> shortFile = Header(3, 2);
    shortFile.resize(8 + 20);  // four bytes short of the sixth pixel
    const Damaged files[] = {
        {"shorter than its header promises", shortFile},
        {"zero width", Header(0, 2)},
        {"negative height", Header(3, -2)},
        {"pixels beyond 32 bits", Header(0x10000, 0x10000)},
        {"pixels beyond the file", Header(10000, 10000)},
        {"a cut header", Bytes({3, 0, 0, 0, 2})},
        {"empty", {}},
    };
    CKivMemBlock target;
    Target(target);
    CKivSoftFXMovieKeyFrm key;
    for (const Damaged& d : files) {
        WriteAll(File("damaged"), d.bytes);
        key.MovieKFMFile = CString::FromUtf8(File("damaged").string());
        EXPECT_EQ(key.GetOneFrameFromFile(&target, CRect(0, 0, 100, 100)), 0) << d.what;
        EXPECT_TRUE(Untouched(target)) << d.what;
    }
    key.MovieKFMFile = CString::FromUtf8(File("missing").string());
    EXPECT_EQ(key.GetOneFrameFromFile(&target, CRect(0, 0, 100, 100)), 0);
    key.MovieKFMFile.Empty();
    EXPECT_EQ(key.GetOneFrameFromFile(&target, CRect(0, 0, 100, 100)), 0);
}

TEST_F(MovieFiles, DestroyingAnyHolderDeletesTheFile) {
    UseTicks({1, 2, 3, 4});
    CKivMemBlock block;
    Picture(block, 2, 2);
    auto key = std::make_unique<CKivSoftFXMovieKeyFrm>();
    ASSERT_EQ(key->MakeOneFrameFile(&block, 0, 0), 1);
    const fs::path file = PathOf(*key);

    CKivSoftFXMovieKeyFrm assigned;
    assigned = *key;
    EXPECT_EQ(assigned.MovieKFMFile, key->MovieKFMFile);
    {
        std::unique_ptr<CKivObject> copy(key->MakeCopy());
        ASSERT_TRUE(copy);
        EXPECT_EQ(static_cast<CKivSoftFXMovieKeyFrm*>(copy.get())->MovieKFMFile, key->MovieKFMFile);
    }
    EXPECT_FALSE(fs::exists(file)) << "the copy took the shared file with it";
    CKivMemBlock target;
    Target(target);
    EXPECT_EQ(key->GetOneFrameFromFile(&target, CRect(0, 0, 10, 10)), 0);
    key.reset();  // the file is already gone: nothing is raised

    ASSERT_EQ(assigned.MakeOneFrameFile(&block, 0, 0), 1);
    const fs::path kept = PathOf(assigned);
    assigned.Default();
    EXPECT_TRUE(assigned.MovieKFMFile.IsEmpty());
    EXPECT_TRUE(fs::exists(kept)) << "Default forgets the file without deleting it";
    fs::remove(kept);
}

TEST_F(MovieFiles, OnlyFrameCacheFilesAreDeleted) {
    const fs::path notes = File("notes.txt"), cache = File("MKF12-3.#mfk#");
    WriteAll(notes, Bytes({1}));
    WriteAll(cache, Bytes({1}));
    for (const fs::path& p : {notes, cache}) {
        CKivSoftFXMovieKeyFrm key;
        key.MovieKFMFile = CString::FromUtf8(p.string());
    }
    EXPECT_TRUE(fs::exists(notes)) << "a path loaded from a project cannot delete other files";
    EXPECT_FALSE(fs::exists(cache));
    EXPECT_FALSE(CKivSoftFXMovieKeyFrm::IsFrameFileName(L"/tmp/MKF.#mfk#"));
    EXPECT_FALSE(CKivSoftFXMovieKeyFrm::IsFrameFileName(L"/tmp/MKF1x2.#mfk#"));
    EXPECT_FALSE(CKivSoftFXMovieKeyFrm::IsFrameFileName(L"/tmp/MKF12.#mfk#/x"));
}

TEST(MovieKeyFrame, StoresThePathAsTheFrameworksWideString) {
    CKivSoftFXMovieKeyFrm key;
    key.MovieKFMFile = L"C:\\a";
    const auto bytes = kfxtest::StoreBytes(key);
    ASSERT_GT(bytes.size(), kSoftBaseRecordBytes);
    EXPECT_EQ(std::vector<BYTE>(bytes.begin() + kSoftBaseRecordBytes, bytes.end()),
              Bytes({0x00, 0x00, 0xFF, 0xFE, 0xFF, 0x04, 'C', 0, ':', 0, '\\', 0, 'a', 0}));

    // An older narrow string loads too.
    std::vector<BYTE> narrow(bytes.begin(), bytes.begin() + kSoftBaseRecordBytes);
    for (BYTE b : Bytes({0x00, 0x00, 0x03, 'x', ':', 'y'})) narrow.push_back(b);
    CKivSoftFXMovieKeyFrm loaded;
    kfxtest::LoadBytes(loaded, narrow);
    EXPECT_EQ(loaded.MovieKFMFile, CString(L"x:y"));
}

TEST(MovieKeyFrame, XmlDataMemberSetsThePathAndItsAbsenceKeepsIt) {
    CKivSoftFXMovieKeyFrm key;
    key.MovieKFMFile = L"/tmp/\u00e9.#mfk#";
    CKivSoftFXMovieKeyFrm back;
    kfxtest::LoadXml(back, kfxtest::StoreXml(key));
    EXPECT_EQ(back.MovieKFMFile, key.MovieKFMFile);

    const std::string base =
        "<BaseObject><CKivSoftFXBaseKeyFrm Version=\"0\"><BaseObject><CKivFXBaseKeyFrm Version=\"0\">"
        "<DataMember Location=\"0.5\" /></CKivFXBaseKeyFrm></BaseObject></CKivSoftFXBaseKeyFrm></BaseObject>";
    kfxtest::LoadXml(back, "<Root><CKivSoftFXMovieKeyFrm Version=\"0\">" + base + "</CKivSoftFXMovieKeyFrm></Root>");
    EXPECT_EQ(back.MovieKFMFile, key.MovieKFMFile) << "no DataMember: the path stays";
    EXPECT_EQ(back.Location, 0.5) << "and the base still loads";
    kfxtest::LoadXml(back, "<Root><CKivSoftFXMovieKeyFrm Version=\"0\"><DataMember />" + base + "</CKivSoftFXMovieKeyFrm></Root>");
    EXPECT_TRUE(back.MovieKFMFile.IsEmpty()) << "DataMember without the attribute: an empty path";
}
