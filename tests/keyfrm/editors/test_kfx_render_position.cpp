// `kfx render --editor position-dialog` and the demo's picture of it: the program's PNG
// against the position dialog drawn here through the library's public calls over the same track, and
// its refusals.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "PosiDialogTestSupport.h"
#include "platform/fw/CArchive.h"
#include "platform/fw/CFile.h"
#include "platform/ui/Png.h"

namespace {

const std::string kKfx = std::string(KIVFX_BINARY_DIR) + "/tools/kfx/kfx";

int Kfx(const std::string& args) {
    const int status = std::system((kKfx + " " + args + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class KfxRenderPosition : public UiTest {
protected:
    static void SetUpTestSuite() {
        s_dir = new std::filesystem::path(std::filesystem::temp_directory_path() / ("kfx-posi-test-" + std::to_string(getpid())));
        ASSERT_EQ(Kfx("demo " + s_dir->string()), 0);
    }
    static void TearDownTestSuite() {
        std::filesystem::remove_all(*s_dir);
        delete s_dir;
    }
    static std::string Path(const char* name) { return (*s_dir / name).string(); }
    static std::filesystem::path* s_dir;
};

std::filesystem::path* KfxRenderPosition::s_dir = nullptr;

}  // namespace

TEST_F(KfxRenderPosition, ThePictureIsThePositionDialogOverTheFilesPath) {
    ASSERT_EQ(Kfx("render " + Path("demo.kfa") + " --editor position-dialog --size 300x240 --frame 70 -o " + Path("p.png")), 0);
    int w = 0, h = 0;
    std::vector<std::uint32_t> drawn;
    ASSERT_TRUE(KivLoadPng(CString::FromUtf8(Path("p.png")), w, h, drawn));
    ASSERT_EQ(w, 300);
    ASSERT_EQ(h, 240);

    CKivObList project;
    CFile file(CString::FromUtf8(Path("demo.kfa")), CFile::modeRead | CFile::typeBinary);
    CArchive ar(&file, CArchive::load);
    project.Serialize(ar);
    CKivFXPosiKeyFrmList* track = nullptr;
    for (POSITION pos = project.GetHeadPosition(); pos && !track;)
        if (CObject* o = project.GetNext(pos); o->IsKindOf(RUNTIME_CLASS(CKivFXPosiKeyFrmList))) track = static_cast<CKivFXPosiKeyFrmList*>(o);
    ASSERT_NE(track, nullptr);
    ASSERT_EQ(track->GetKeyFrmCount(), 3);
    ASSERT_EQ(track->GetFXKeyFrm(2)->Frame, 100) << "the story range is the keyframes' frames, 0 to 100";

    KivScreen::Get().Resize(300, 240);
    PosiHost host;
    ASSERT_TRUE(host.CreateTop(CRect(0, 0, 300, 240), WS_CLIPCHILDREN));
    CKivFXPosiKeyFrmDlg dlg(&host);
    dlg.SetRange(0, 100, track);
    ASSERT_NE(dlg.Create(&host), 0);
    dlg.MoveWindow(0, 0, 300, 240, FALSE);
    dlg.UpTimeLine(70);
    dlg.ShowWindow(SW_SHOW);
    KivScreen::Get().PaintAll();
    int differing = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::uint32_t p = drawn[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)];
            differing += RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF) != KivScreen::Get().GetPixel(x, y);
        }
    EXPECT_EQ(differing, 0);
    const CRect square = dlg.GetKeyFrmRect(track->GetFXKeyFrm(1), kKivFXPartKeyFrm);
    EXPECT_EQ(KivScreen::Get().GetPixel(square.left + 1, square.top + 1), RGB(255, 255, 255)) << "a keyframe is drawn";
    dlg.DestroyWindow();
    host.DestroyWindow();

    EXPECT_TRUE(KivLoadPng(CString::FromUtf8(Path("position-dialog.png")), w, h, drawn)) << "the demo draws it too";
}

TEST_F(KfxRenderPosition, BadRequestsAreRefused) {
    const std::string render = "render " + Path("demo.kfa") + " --editor position-dialog";
    const std::string out = " -o " + Path("bad.png");
    EXPECT_EQ(Kfx(render + " --track 1" + out), 2) << "the demo has one position track";
    EXPECT_EQ(Kfx(render + " --scale 2" + out), 2) << "a curve window option";
    EXPECT_FALSE(std::filesystem::exists(Path("bad.png")));
    EXPECT_EQ(Kfx(render + " --range 90:10 --frame 50 -o " + Path("reversed.png")), 0) << "any range draws";
}
