// The kit's skin fills a dialog with the system face colour unless the dialog chooses its own.
#include "kivbase/gui/CKivAquaBaseDlg.h"
#include "platform/ui/Resources.h"
#include "platform/ui/UiTestSupport.h"

namespace {

constexpr UINT kTemplateId = 130;

class FacedDialog : public CKivAquaBaseDlg {
public:
    FacedDialog(CWnd* parent, COLORREF face) : CKivAquaBaseDlg(kTemplateId, parent), m_face(face) {}
    COLORREF VyFaceColor() const override { return m_face; }

private:
    COLORREF m_face;
};

}  // namespace

using KitFace = UiTest;

TEST_F(KitFace, ADialogsFaceIsTheSystemsUnlessItChoosesOne) {
    KivResourceModule module;
    KivDialogTemplate t;
    t.style = WS_CHILD | WS_VISIBLE;
    t.cx = 40;
    t.cy = 20;
    module.AddDialog(kTemplateId, t);
    RecordingWnd host;
    ASSERT_TRUE(host.CreateTop(CRect(0, 0, 300, 100), WS_CLIPCHILDREN));
    CKivAquaBaseDlg plain(kTemplateId, &host);
    FacedDialog grey(&host, RGB(120, 120, 120));
    EXPECT_EQ(plain.VyFaceColor(), GetSysColor(COLOR_BTNFACE));
    ASSERT_EQ(plain.DlgCreate(module.GetHandle(), &host, kTemplateId), 1);
    ASSERT_EQ(grey.DlgCreate(module.GetHandle(), &host, kTemplateId), 1);
    grey.MoveWindow(150, 0, 100, 50);
    KivScreen::Get().PaintAll();
    EXPECT_EQ(KivScreen::Get().GetPixel(5, 5), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(KivScreen::Get().GetPixel(155, 5), RGB(120, 120, 120));
}
