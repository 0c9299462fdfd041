// A whole picture of the kit's controls (two edits in their two states and a tool tip, with
// Latin and Chinese text) compared pixel for pixel with golden/kit-controls.png.
#include <filesystem>

#include "kivbase/gui/CKivAquaEdit.h"
#include "kivbase/gui/CKivToolTipDlg.h"
#include "platform/ui/UiTestSupport.h"
#include "support/GoldenPng.h"

using KitGolden = UiTest;

TEST_F(KitGolden, EditsAndToolTip) {
    KivScreen::Get().Resize(240, 90);
    RecordingWnd host(GetSysColor(COLOR_BTNFACE));
    ASSERT_TRUE(host.CreateTop(CRect(0, 0, 240, 90)));
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(90, L"Arial"));
    host.SetFont(&font, FALSE);

    CKivAquaEdit plain, keyed;
    ASSERT_TRUE(plain.AutoCreate(&host, CRect(8, 8, 120, 28), KivAquaEditDescrib(L"X ", 100)));
    plain.SetValue(125.0, 0);
    AquaEdit_Describ d = KivAquaEditDescrib(L"\u89d2\u5ea6 ", 200);  // "angle" in Chinese
    d.ePrecision = AquaEdit_Precision_1;
    d.lpszUnit = L"\u00b0";
    ASSERT_TRUE(keyed.AutoCreate(&host, CRect(8, 36, 140, 56), d));
    keyed.SetValue(-42.25, 0);
    keyed.SetValueState(CKivAquaEdit::CE_VALUE_KEYFRAME);

    CKivToolTipDlg tip;
    ASSERT_TRUE(tip.Create(&host));
    tip.SetToolTipText(L"40");
    tip.UpdateTip(CPoint(160, 62));
    tip.ShowWindow(SW_SHOWNA);
    KivScreen::Get().PaintAll();
    ExpectScreenMatchesGolden(std::filesystem::path(KIVFX_SOURCE_DIR) / "tests/kivbase/gui/golden/kit-controls.png");
    tip.DestroyWindow();
    host.SetFont(nullptr, FALSE);
}
