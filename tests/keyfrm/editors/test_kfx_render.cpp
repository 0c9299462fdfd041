// `kfx render` and the demo's picture: the program's PNG against the curve window drawn here
// through the library's public calls over the same track, and its refusals.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "CurveWindowTestSupport.h"
#include "platform/fw/CArchive.h"
#include "platform/fw/CFile.h"
#include "platform/ui/Png.h"

namespace {

const std::string kKfx = std::string(KIVFX_BINARY_DIR) + "/tools/kfx/kfx";

int Kfx(const std::string& args) {
    const int status = std::system((kKfx + " " + args + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct Picture {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
    COLORREF At(int x, int y) const {
        const std::uint32_t p = pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
};

Picture Load(const std::filesystem::path& png) {
    Picture p;
    EXPECT_TRUE(KivLoadPng(CString::FromUtf8(png.string()), p.width, p.height, p.pixels)) << png;
    return p;
}

}  // namespace

class KfxRender : public UiTest {
protected:
    static void SetUpTestSuite() {
        s_dir = new std::filesystem::path(std::filesystem::temp_directory_path() / ("kfx-render-test-" + std::to_string(getpid())));
        ASSERT_EQ(Kfx("demo " + s_dir->string()), 0);
    }
    static void TearDownTestSuite() {
        std::filesystem::remove_all(*s_dir);
        delete s_dir;
    }
    static std::string Path(const char* name) { return (*s_dir / name).string(); }
    static std::filesystem::path* s_dir;
};

std::filesystem::path* KfxRender::s_dir = nullptr;

TEST_F(KfxRender, ThePictureIsTheCurveWindowOverTheFilesFirstScalarTrack) {
    ASSERT_EQ(Kfx("render " + Path("demo.kfa") + " --editor curve-window --size 300x120 --frame 30 --scroll -10 --scale 2.5 -o " +
                  Path("r.png")),
              0);
    const Picture drawn = Load(*s_dir / "r.png");
    ASSERT_EQ(drawn.width, 300);
    ASSERT_EQ(drawn.height, 120);

    CKivObList project;
    CFile file(CString::FromUtf8(Path("demo.kfa")), CFile::modeRead | CFile::typeBinary);
    CArchive ar(&file, CArchive::load);
    project.Serialize(ar);
    CKivFXInsKeyFrmList* track = nullptr;
    for (POSITION pos = project.GetHeadPosition(); pos && !track;)
        if (CObject* o = project.GetNext(pos); o->IsKindOf(RUNTIME_CLASS(CKivFXInsKeyFrmList))) track = static_cast<CKivFXInsKeyFrmList*>(o);
    ASSERT_NE(track, nullptr);
    ASSERT_GE(track->GetKeyFrmCount(), 2);

    KivScreen::Get().Resize(300, 120);
    CurveHost host;
    ASSERT_TRUE(host.CreateTop(CRect(0, 0, 300, 120)));
    TestCurveWnd wnd;
    wnd.SetKeyFrmList(track);
    wnd.SetScrollPos(-10);
    wnd.SetPixelPreFrame(2.5);
    wnd.SetTimeLine(30);
    ASSERT_TRUE(wnd.Create(WS_CHILD | WS_VISIBLE, &host, CRect(0, 0, 300, 120)));
    KivScreen::Get().PaintAll();
    int differing = 0;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 300; ++x) differing += drawn.At(x, y) != KivScreen::Get().GetPixel(x, y);
    EXPECT_EQ(differing, 0);
    const CRect square = wnd.GetKeyFrmRect(track->GetFXKeyFrm(1), CKivFXInsKeyFrmWnd::kPartKeyFrm);
    EXPECT_EQ(drawn.At(square.left + 1, square.top + 1), RGB(255, 255, 255)) << "a keyframe is in the picture";
    wnd.DestroyWindow();
}

TEST_F(KfxRender, TheDemoWritesThePictureOfItsTrack) {
    const Picture demo = Load(*s_dir / "curve-window.png");
    EXPECT_EQ(demo.width, 640);
    EXPECT_EQ(demo.height, 240);
    int keyframeInk = 0;
    for (int y = 0; y < demo.height; ++y)
        for (int x = 0; x < demo.width; ++x) keyframeInk += demo.At(x, y) == RGB(255, 255, 255);
    EXPECT_GE(keyframeInk, 4 * 16) << "four keyframe squares";
}

TEST_F(KfxRender, TheCurveDialogIsDrawnOverTheKeyframesFramesOrTheRangeGiven) {
    // The demo track is frame-based over frames 0 to 100: its keyframes' frames are the story
    // range, and a keyframe at frame f is drawn where the dialog puts location f / 100.
    ASSERT_EQ(Kfx("render " + Path("demo.kfa") + " --editor curve-dialog --size 300x150 --frame 40 -o " + Path("d.png")), 0);
    ASSERT_EQ(Kfx("render " + Path("demo.xml") + " --editor curve-dialog --size 300x150 --frame 40 --range 0:100 -o " +
                  Path("d2.png")),
              0);
    const Picture drawn = Load(*s_dir / "d.png"), ranged = Load(*s_dir / "d2.png");
    ASSERT_EQ(drawn.width, 300);
    ASSERT_EQ(drawn.height, 150);
    EXPECT_EQ(drawn.pixels, ranged.pixels) << "the same range either way, from either format";
    // Frame 40 of the 101 frames 0..100 over a 270-pixel plot from x 15: the marker's line.
    EXPECT_EQ(drawn.At(15 + static_cast<int>(40 * 270 / 101.0 + 0.5), 120), RGB(0, 0, 220));
    ASSERT_EQ(Kfx("render " + Path("demo.kfa") + " --editor curve-dialog --size 300x150 --range -50:150 -o " + Path("d3.png")), 0);
    EXPECT_NE(Load(*s_dir / "d3.png").pixels, drawn.pixels);
    const Picture demo = Load(*s_dir / "curve-dialog.png");
    EXPECT_EQ(demo.width, 640) << "the demo writes the dialog's picture too";
}

TEST_F(KfxRender, BadRequestsAreRefused) {
    const std::string out = " -o " + Path("bad.png");
    EXPECT_EQ(Kfx("render " + Path("demo.kfa") + " --editor no-such-editor" + out), 2);
    EXPECT_EQ(Kfx("render " + Path("demo.kfa") + " --size 0x10" + out), 2);
    EXPECT_EQ(Kfx("render " + Path("demo.kfa") + " --size 10" + out), 2);
    EXPECT_EQ(Kfx("render " + Path("demo.kfa") + " --frame x" + out), 2);
    EXPECT_EQ(Kfx("render " + Path("demo.kfa") + " --track 3" + out), 2) << "the demo has one scalar track";
    EXPECT_EQ(Kfx("render " + Path("demo.kfa")), 2) << "no output named";
    EXPECT_EQ(Kfx("render " + Path("missing.kfa") + out), 2);
    EXPECT_EQ(Kfx("render " + Path("demo.kfa") + " --editor curve-dialog --range 5" + out), 2);
    EXPECT_EQ(Kfx("render " + Path("demo.kfa") + " --editor curve-dialog --scale 2" + out), 2);
    EXPECT_EQ(Kfx("render " + Path("demo.kfa") + " --editor curve-window --range 0:9" + out), 2);
    EXPECT_FALSE(std::filesystem::exists(Path("bad.png")));
    EXPECT_EQ(Kfx("render --help"), 0);
}
