// `kfx edit` as a program: what it refuses (with code 2 and a line saying why), that it
// says so without a display, and --snapshot drawing the window it opens.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;
const std::string kKfx = std::string(KIVFX_BINARY_DIR) + "/tools/kfx/kfx";

struct Result {
    int code;
    std::string err;
};

// Runs kfx with args in env; the exit code and what it wrote to stderr.
Result Kfx(const std::string& env, const std::string& args) {
    const fs::path err = fs::temp_directory_path() / ("kfx-edit-err-" + std::to_string(getpid()));
    const int status = std::system((env + " " + kKfx + " " + args + " >/dev/null 2>" + err.string()).c_str());
    std::ifstream in(err);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    fs::remove(err);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, text};
}

class KfxEdit : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("kfx-edit-test-" + std::to_string(getpid()));
        ASSERT_EQ(Kfx("", "demo " + m_dir.string()).code, 0);
        std::ofstream(m_dir / "broken.kfa") << "not an archive";
    }
    void TearDown() override { fs::remove_all(m_dir); }
    std::string Path(const char* name) const { return (m_dir / name).string(); }
    fs::path m_dir;
};

}  // namespace

TEST_F(KfxEdit, RefusesWithCodeTwoAndOneLine) {
    const std::string demo = Path("demo.kfa");
    struct Case {
        std::string env, args, says;
        bool needsWindow = false;  // a kfx built without the SDL2 presenter says so instead
    };
    const Case cases[] = {
        {"", "edit", "needs a FILE"},
        {"", "edit " + Path("broken.kfa"), Path("broken.kfa") + ":"},
        {"", "edit " + Path("missing.xml"), Path("missing.xml") + ":"},
        {"", "edit " + demo + " --track 3", "no track 3 (it has 3, from 0)"},
        {"", "edit " + demo + " --track x", "--track wants a number"},
        {"", "edit --new circle " + Path("n.kfa"), "--new wants scalar, position or colour"},
        {"", "edit --new scalar " + demo, "exists already"},
        {"", "edit --new scalar " + Path("n.txt"), "unknown file type"},
        {"", "edit " + demo + " --bogus", "unknown option --bogus"},
        {"", "edit " + demo + " --fps 0", "--fps wants a whole number from 1 to 1000"},
        {"env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER", "edit " + demo, "needs a display", true},
        {"env -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER DISPLAY=:32767", "edit " + demo, "cannot open a window", true},
    };
    for (const Case& c : cases) {
        const Result r = Kfx(c.env, c.args);
        EXPECT_EQ(r.code, 2) << c.args;
        const bool withoutSdl = c.needsWindow && r.err.find("built without it") != std::string::npos;
        EXPECT_TRUE(withoutSdl || r.err.find(c.says) != std::string::npos) << c.args << " said: " << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << c.args << ": one line";
    }
    EXPECT_FALSE(fs::exists(Path("n.kfa"))) << "nothing is written by a refusal";
}

TEST_F(KfxEdit, SnapshotDrawsEachKindOfTrackWithoutADisplay) {
    for (const char* track : {"0", "1", "2"}) {
        const std::string png = Path("shot.png");
        fs::remove(png);
        EXPECT_EQ(Kfx("env -u DISPLAY", "edit " + Path("demo.xml") + " --track " + track + " --size 900x500 --snapshot " + png).code, 0);
        EXPECT_TRUE(fs::exists(png)) << track;
    }
    EXPECT_EQ(Kfx("", "edit --new colour " + Path("fresh.xml") + " --snapshot " + Path("fresh.png")).code, 0);
    EXPECT_FALSE(fs::exists(Path("fresh.xml"))) << "--new writes nothing until saved";
}
