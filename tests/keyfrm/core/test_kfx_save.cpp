// kfx's one way of saving (convert, demo and edit): a save that fails half way leaves the
// previous file whole and no temporary file; permissions are kept, or come from the umask.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "KfxProject.h"
#include "keyfrm/tracks/KivFXTracks.h"

namespace {

namespace fs = std::filesystem;

// Storing it fails in either format, after the objects before it were written.
class Unstorable : public CKivObject {
public:
    void Serialize(CArchive&) override { Refuse(); }
    void SerializeXML(CKivXMLDOMDocObj*, IXMLDOMNode*) override { Refuse(); }

private:
    static void Refuse() { AfxThrowArchiveException(CArchiveException::genericException, CString(), "refused"); }
};

void AddTrack(CKivObList& list, float value) {
    auto track = std::make_unique<CKivFXInsKeyFrmList>();
    track->SendKeyFrmValue(0, value);
    list.AddTail(static_cast<CObject*>(track.release()));
}

class KfxSaving : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("kfx-save-" + std::to_string(getpid()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }
    std::string Path(const char* name) const { return (m_dir / name).string(); }
    static std::string Bytes(const std::string& path) {
        std::ostringstream s;
        s << std::ifstream(path, std::ios::binary).rdbuf();
        return s.str();
    }
    int Entries() const { return static_cast<int>(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator())); }
    static mode_t Mode(const std::string& path) {
        struct stat st{};
        EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
        return st.st_mode & 07777;
    }
    // What the save said, or "" when it did not throw.
    static std::string Fault(const std::function<void()>& save) {
        try {
            save();
        } catch (const KfxError& e) {
            return e.what();
        }
        return {};
    }
    fs::path m_dir;
};

TEST_F(KfxSaving, AFailureHalfWayLeavesThePreviousFileWhole) {
    for (const char* name : {"out.kfa", "out.xml"}) {
        const std::string path = Path(name);
        CKivObList good;
        AddTrack(good, 1.0f);
        KfxSave(path, good);
        const std::string before = Bytes(path);
        CKivObList bad;
        AddTrack(bad, 2.0f);
        bad.AddTail(new Unstorable);
        EXPECT_NE(Fault([&] { KfxSave(path, bad); }).find("refused"), std::string::npos) << name;
        EXPECT_EQ(Bytes(path), before) << name << ": the previous file survives";
        fs::remove(path);
        EXPECT_EQ(Entries(), 0) << name << ": no temporary file stays";
    }
}

TEST_F(KfxSaving, AFileThatCannotBePutInPlaceSaysWhy) {
    const std::vector<BYTE> bytes{1, 2, 3};
    // The file's place is taken by a folder: the new file cannot be put in place.
    const fs::path blocked = m_dir / "blocked.kfa";
    fs::create_directories(blocked / "inside");
    EXPECT_NE(Fault([&] { KfxWriteFile(blocked.string(), bytes); }).find("cannot put the saved file in place"), std::string::npos);
    EXPECT_TRUE(fs::is_directory(blocked / "inside"));
    EXPECT_NE(Fault([&] { KfxWriteFile(Path("no-such-folder/x.kfa"), bytes); }).find("temporary file"), std::string::npos);
    EXPECT_EQ(Entries(), 1) << "only the folder: the temporary file went";
}

TEST_F(KfxSaving, AnExistingFileKeepsItsModeAndANewOneTakesTheUmasks) {
    const std::vector<BYTE> bytes{1};
    const mode_t umask = ::umask(027);
    KfxWriteFile(Path("new.kfa"), bytes);
    EXPECT_EQ(Mode(Path("new.kfa")), 0640u) << "0666 less the umask, as for any file a program makes";
    ::chmod(Path("new.kfa").c_str(), 0604);
    KfxWriteFile(Path("new.kfa"), bytes);
    EXPECT_EQ(Mode(Path("new.kfa")), 0604u);
    ::umask(umask);
}

TEST_F(KfxSaving, SavingThroughALinkReplacesTheFileItPointsAt) {
    KfxWriteFile(Path("real.kfa"), std::vector<BYTE>{1});
    fs::create_symlink("real.kfa", m_dir / "link.kfa");
    KfxWriteFile(Path("link.kfa"), std::vector<BYTE>{'x', 'y'});
    EXPECT_TRUE(fs::is_symlink(m_dir / "link.kfa"));
    EXPECT_EQ(Bytes(Path("real.kfa")), "xy");
}

}  // namespace
