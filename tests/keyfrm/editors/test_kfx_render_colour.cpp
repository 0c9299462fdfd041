// `kfx render --editor colour-dialog` and the demo's colour-dialog.png: the program's
// picture against the dialog drawn here through the library's public calls over the same track.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "ColourDialogTestSupport.h"
#include "KfxProject.h"
#include "platform/ui/Png.h"

namespace {

const std::string kKfx = std::string(KIVFX_BINARY_DIR) + "/tools/kfx/kfx";

int Kfx(const std::string& args) {
    const int status = std::system((kKfx + " " + args + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

class KfxRenderColour : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        dir = std::filesystem::temp_directory_path() / ("kfx-colour-test-" + std::to_string(getpid()));
        ASSERT_EQ(Kfx("demo " + dir.string()), 0);
    }
    void TearDown() override {
        std::filesystem::remove_all(dir);
        UiTest::TearDown();
    }
    std::string Path(const char* name) const { return (dir / name).string(); }
    /// Pixels of the PNG that differ from the screen; -1 when the sizes differ.
    static int Differing(const std::filesystem::path& png) {
        int w = 0, h = 0;
        std::vector<std::uint32_t> px;
        EXPECT_TRUE(KivLoadPng(CString::FromUtf8(png.string()), w, h, px)) << png;
        KivScreen& screen = KivScreen::Get();
        if (w != screen.GetWidth() || h != screen.GetHeight()) return -1;
        int differing = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const std::uint32_t p = px[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)];
                differing += screen.GetPixel(x, y) != RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
            }
        return differing;
    }
    std::filesystem::path dir;
};

TEST_F(KfxRenderColour, ThePictureIsTheDialogOverTheFilesColourTrack) {
    ASSERT_EQ(Kfx("render " + Path("demo.kfa") + " --editor colour-dialog --size 400x300 --location 0.8 -o " + Path("c.png")), 0);
    CKivObList project;
    KfxLoad(Path("demo.kfa"), project);
    CKivFXColor32KeyFrmList* track = nullptr;
    for (POSITION pos = project.GetHeadPosition(); pos && !track;)
        if (CObject* o = project.GetNext(pos); o->IsKindOf(RUNTIME_CLASS(CKivFXColor32KeyFrmList)))
            track = static_cast<CKivFXColor32KeyFrmList*>(o);
    ASSERT_NE(track, nullptr);
    ASSERT_EQ(track->GetKeyFrmCount(), 3);

    KivScreen::Get().Resize(400, 300);
    ColourHost host;
    ASSERT_TRUE(host.CreateTop(CRect(0, 0, 400, 300)));
    CKivFXClr32KeyFrmDlg dlg(track);
    dlg.SetBuildEditor(1);
    ASSERT_TRUE(dlg.Create(&host));
    dlg.MoveWindow(0, 0, 400, 300);
    dlg.UpCurLocation(0.8);
    dlg.ShowWindow(SW_SHOW);
    KivScreen::Get().PaintAll();
    EXPECT_EQ(Differing(Path("c.png")), 0);
    dlg.DestroyWindow();
}

TEST_F(KfxRenderColour, TheDemoDrawsTheDialogAtItsTemplatesSize) {
    int w = 0, h = 0;
    std::vector<std::uint32_t> px;
    ASSERT_TRUE(KivLoadPng(CString::FromUtf8(Path("colour-dialog.png")), w, h, px));
    EXPECT_EQ(w, 376) << "215 dialog units of a 7-pixel average character";
    EXPECT_EQ(h, 278) << "148 units of a 15-pixel character height";
    ASSERT_EQ(Kfx("render " + Path("demo.xml") + " --editor colour-dialog --location 0.3 -o " + Path("t.png")), 0);
    EXPECT_TRUE(std::filesystem::exists(Path("t.png")));
    EXPECT_EQ(std::filesystem::file_size(Path("t.png")), std::filesystem::file_size(Path("colour-dialog.png")))
        << "the same picture from the XML file";
}

TEST_F(KfxRenderColour, BadRequestsAreRefused) {
    const std::string base = "render " + Path("demo.kfa") + " --editor colour-dialog -o " + Path("bad.png");
    EXPECT_EQ(Kfx(base + " --location 1.5"), 2);
    EXPECT_EQ(Kfx(base + " --location x"), 2);
    EXPECT_EQ(Kfx(base + " --track 1"), 2) << "the demo has one colour track";
    EXPECT_FALSE(std::filesystem::exists(Path("bad.png")));
}
