// `kfx sample` on the demo's project: its CSV for each track against values worked out here
// from the keyframes in the file by the tracks' plain rules, and its refusals.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "TrackReference.h"
#include "platform/fw/CFile.h"
#include "support/KfxProgram.h"

namespace {

using kfxtest::Kfx;
using kfxtest::KfxRun;

std::vector<std::vector<std::string>> Csv(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> cells;
        std::istringstream l(line);
        for (std::string cell; std::getline(l, cell, ',');) cells.push_back(cell);
        rows.push_back(cells);
    }
    return rows;
}

float F(const std::string& s) { return std::stof(s); }

// The demo written once into a scratch folder, and its project read back here.
class KfxSampleOnDemo : public testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = new std::filesystem::path(std::filesystem::temp_directory_path() / ("kfx-sample-test-" + std::to_string(getpid())));
        ASSERT_EQ(Kfx("demo " + s_dir->string() + " >/dev/null").status, 0);
    }
    static void TearDownTestSuite() {
        std::filesystem::remove_all(*s_dir);
        delete s_dir;
    }
    void SetUp() override {
        CFile file(CString::FromUtf8(Path("demo.kfa")), CFile::modeRead | CFile::typeBinary);
        CArchive ar(&file, CArchive::load);
        m_project.Serialize(ar);
        for (POSITION pos = m_project.GetHeadPosition(); pos;) {
            CObject* o = m_project.GetNext(pos);
            if (o->IsKindOf(RUNTIME_CLASS(CKivObList))) m_tracks.push_back(o);
        }
        ASSERT_EQ(m_tracks.size(), 3u);
    }
    static std::string Path(const char* name) { return (*s_dir / name).string(); }
    /// The data rows of `kfx sample ARGS` on the demo's file, checking its exit code, its
    /// header and its number of rows.
    static std::vector<std::vector<std::string>> Sample(const std::string& args, const std::vector<std::string>& header, size_t rows) {
        const KfxRun r = Kfx("sample " + args);
        EXPECT_EQ(r.status, 0) << args;
        auto csv = Csv(r.out);
        if (csv.size() != rows + 1 || csv[0] != header) {
            ADD_FAILURE() << args << ": unexpected output\n" << r.out;
            return {};
        }
        csv.erase(csv.begin());
        return csv;
    }
    template <class T>
    const T& Track(size_t i) {
        EXPECT_TRUE(m_tracks[i]->IsKindOf(T::GetThisClass()));
        return *static_cast<const T*>(m_tracks[i]);
    }

    static std::filesystem::path* s_dir;
    CKivObList m_project;
    std::vector<CObject*> m_tracks;
};

std::filesystem::path* KfxSampleOnDemo::s_dir = nullptr;

}  // namespace

TEST_F(KfxSampleOnDemo, CurveByFramesAndEvenlySpaced) {
    const auto& curve = Track<CKivFXInsKeyFrmList>(0);
    const auto rows = Sample(Path("demo.kfa") + " --frames -5:105", {"frame", "value"}, 111);
    for (size_t i = 0; i < rows.size(); ++i) {
        const int f = static_cast<int>(i) - 5;
        ASSERT_EQ(rows[i][0], std::to_string(f));
        EXPECT_EQ(F(rows[i][1]), kfxref::ScalarAt(curve, f)) << "frame " << f;
    }
    const auto even = Sample(Path("demo.xml") + " --count 11 --track 0", {"index", "location", "value"}, 11);
    const auto want = kfxref::ScalarEven(curve, 11);
    for (size_t i = 0; i < even.size(); ++i) {
        EXPECT_EQ(std::stod(even[i][1]), static_cast<double>(i) / 10.0);
        EXPECT_EQ(F(even[i][2]), want[i]) << "sample " << i;
    }
}

TEST_F(KfxSampleOnDemo, PathByFrames) {
    const auto& path = Track<CKivFXPosiKeyFrmList>(1);
    const auto rows = Sample(Path("demo.kfa") + " --track 1 --frames 100:0", {"frame", "x", "y", "z"}, 101);
    for (size_t i = 0; i < rows.size(); ++i) {
        const auto& row = rows[i];
        const int f = static_cast<int>(i);
        EXPECT_EQ((std::array<float, 3>{F(row[1]), F(row[2]), F(row[3])}), kfxref::PathAt(path, f)) << "frame " << f;
    }
}

TEST_F(KfxSampleOnDemo, ColourEvenlySpaced) {
    const auto& ramp = Track<CKivFXColor32KeyFrmList>(2);
    const auto rows = Sample(Path("demo.kfa") + " --track 2 --count 9", {"index", "location", "red", "green", "blue", "alpha"}, 9);
    const auto want = kfxref::ColourEven(ramp, 9);
    for (size_t i = 0; i < rows.size(); ++i) {
        const auto& row = rows[i];
        const DWORD got = static_cast<DWORD>(std::stoi(row[5])) << 24 | static_cast<DWORD>(std::stoi(row[2])) << 16 |
                          static_cast<DWORD>(std::stoi(row[3])) << 8 | static_cast<DWORD>(std::stoi(row[4]));
        EXPECT_EQ(got, want[i]) << "sample " << i;
    }
}

TEST_F(KfxSampleOnDemo, TheDemosCsvFilesAreWhatSampleWrites) {
    std::ifstream in(Path("track-curve.csv"));
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), Kfx("sample " + Path("demo.kfa") + " --frames 0:100").out);
}

TEST_F(KfxSampleOnDemo, RefusalsAreClearAndNonZero) {
    const std::string file = Path("demo.kfa");
    EXPECT_EQ(Kfx("sample " + file + " --track 3 --count 2").status, 2) << "no such track";
    EXPECT_EQ(Kfx("sample " + file + " --track 2 --frames 0:5").status, 2) << "colour tracks have no frames";
    EXPECT_EQ(Kfx("sample " + file + " --frames 5").status, 2);
    EXPECT_EQ(Kfx("sample " + file + " --count 0").status, 2);
    EXPECT_EQ(Kfx("sample " + file + " --count 2 --frames 0:1").status, 2);
    EXPECT_EQ(Kfx("sample " + file + " --frames -2147483648:2147483647").status, 2) << "too many samples";
    EXPECT_EQ(Kfx("sample " + file).status, 2);
    EXPECT_EQ(Kfx("sample " + Path("missing.kfa") + " --count 2").status, 2);
    EXPECT_EQ(Kfx("sample --help").status, 0);
}

TEST_F(KfxSampleOnDemo, FramesGivenHighToLowGiveTheSameRowsAsLowToHigh) {
    const std::string file = Path("demo.kfa");
    for (const char* track : {"0", "1"}) {
        const KfxRun down = Kfx("sample " + file + " --track " + track + " --frames 12:-3");
        EXPECT_EQ(down.status, 0);
        EXPECT_EQ(down.out, Kfx("sample " + file + " --track " + track + " --frames -3:12").out) << "track " << track;
    }
    EXPECT_NE(Kfx("sample --help").out.find("ascending frame order"), std::string::npos) << "the help says so";
}
