// The colour dialog as a host embeds it: its template, creation and controls, the layout
// for a client size, the bars, the edits' keyframe state and the edits' notifications.
#include "ColourDialogTestSupport.h"
#include "keyfrm/core/KivFXKeyFrmModule.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

}  // namespace

TEST(ColourDialogTemplate, TenControlsInDialogUnits) {
    const auto t = KivFindDialog(KivFXKeyFrmGetModuleHandle(), IDD_CLR_KEYFRM_DLG);
    ASSERT_TRUE(t.has_value());
    EXPECT_EQ(t->style, WS_CHILD | DS_SETFONT) << "a hidden child: the host shows it";
    EXPECT_EQ(CSize(t->cx, t->cy), CSize(215, 148));
    EXPECT_EQ(t->pointSize, 10);
    EXPECT_EQ(t->faceName, CString(L"Times New Roman"));
    struct Item {
        UINT id;
        const wchar_t* text;
        DWORD style;
        CRect dlu;  // x, y, x + width, y + height
    };
    const Item expected[] = {
        {1000, L"Static", 0, CRect(10, 5, 110, 105)},
        {1001, L"Lumination", 0, CRect(113, 5, 128, 105)},
        {1002, L"Alpha", 0, CRect(130, 5, 145, 105)},
        {1065, L"", WS_VISIBLE | SS_BLACKFRAME, CRect(155, 6, 200, 20)},
        {1005, L"Red", 0, CRect(155, 35, 200, 49)},
        {1006, L"Green", 0, CRect(155, 54, 200, 68)},
        {1007, L"Blue ", 0, CRect(155, 73, 200, 87)},
        {1008, L"Alpha", 0, CRect(155, 92, 200, 106)},
        {1003, L"", SS_BLACKFRAME, CRect(10, 109, 200, 124)},
        {1004, L"", SS_BLACKFRAME, CRect(10, 130, 200, 145)},
    };
    ASSERT_EQ(t->items.size(), std::size(expected));
    for (size_t i = 0; i < t->items.size(); ++i) {
        const KivDialogItemTemplate& item = t->items[i];
        EXPECT_EQ(item.id, expected[i].id);
        EXPECT_EQ(item.className, CString(L"Static")) << item.id;
        EXPECT_EQ(item.text, CString(expected[i].text)) << item.id;
        EXPECT_EQ(item.style, expected[i].style) << item.id;
        EXPECT_EQ(CRect(item.x, item.y, item.x + item.cx, item.y + item.cy), expected[i].dlu) << item.id;
    }
}

using ColourDialogHost = UiTest;

TEST_F(ColourDialogHost, CreatedAsAHiddenChildWithEditsOverThePlaceholders) {
    auto track = MakeColourTrack({{0.5, 10, 20, 30, 40}});
    ColourHost host;
    ASSERT_TRUE(host.CreateTop(CRect(0, 0, 320, 240)));
    CKivFXClr32KeyFrmDlg plain;
    EXPECT_EQ(plain.GetCurLocation(), 0.0);
    EXPECT_EQ(plain.Create(nullptr), 0) << "a child needs a parent";
    CKivFXClr32KeyFrmDlg dlg(track.get(), &host);
    EXPECT_EQ(dlg.GetCurLocation(), 0.5);
    ASSERT_NE(dlg.Create(&host), 0);
    EXPECT_EQ(dlg.Create(&host), 0) << "once";
    EXPECT_EQ(dlg.GetParent(), &host);
    EXPECT_TRUE(dlg.IsInitialized());
    EXPECT_FALSE(dlg.IsWindowVisible());
    dlg.ShowWindow(SW_SHOW);
    EXPECT_TRUE(dlg.IsWindowVisible());
    for (int id = 1005; id <= 1008; ++id) {
        CWnd* edit = dlg.GetDlgItem(id);
        ASSERT_NE(edit, nullptr) << id;
        EXPECT_TRUE(edit->IsKindOf(RUNTIME_CLASS(CKivAquaEdit))) << id;
        EXPECT_TRUE(edit->IsWindowVisible()) << id;
        EXPECT_EQ(static_cast<CKivAquaEdit*>(edit)->GetMin(), 0.0);
        EXPECT_EQ(static_cast<CKivAquaEdit*>(edit)->GetMax(), 255.0);
    }
    for (int id : {1000, 1001, 1002, 1003, 1004, 1065}) {
        CWnd* c = dlg.GetDlgItem(id);
        ASSERT_NE(c, nullptr) << id;
        EXPECT_FALSE(c->IsKindOf(RUNTIME_CLASS(CKivAquaEdit))) << id;
    }
    EXPECT_EQ(dlg.GetDlgItem(1065)->IsWindowVisible(), TRUE);
    // The edits start on the track's colour at the current location, on a keyframe.
    for (int id = 1005; id <= 1008; ++id)
        EXPECT_EQ(dlg.GetAquaEdit(id)->GetValue(), (id - 1004) * 10.0) << id;
    EXPECT_EQ(dlg.GetAquaEdit(1005)->GetValueState(), CKivAquaEdit::CE_VALUE_KEYFRAME);

    CObject* made = RUNTIME_CLASS(CKivFXClr32KeyFrmDlg)->CreateObject();
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(CKivAquaBaseDlg)));
    delete made;
}

TEST_F(ColourDialogHost, OkAndCancelLeaveTheDialogAndTheEditsNotifyAsAPersonsChange) {
    auto track = MakeColourTrack({});
    ColourHost host;
    ASSERT_TRUE(host.CreateTop(CRect(0, 0, 320, 240)));
    CKivFXClr32KeyFrmDlg dlg(track.get());
    ASSERT_TRUE(dlg.Create(&host));
    dlg.ShowWindow(SW_SHOW);
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
    EXPECT_TRUE(dlg.IsWindowVisible());
    EXPECT_TRUE(host.modifies.empty());

    // The host changes the green edit and tells the dialog the change is finished.
    CKivAquaEdit* green = dlg.GetAquaEdit(1006);
    green->SetValue(99, 0);
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(1006, CEN_VALUE_CHANGING), reinterpret_cast<LPARAM>(green->m_hWnd));
    EXPECT_EQ(track->GetKeyFrmCount(), 0) << "nothing is written while the value changes";
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(1006, CEN_VALUE_CHANGED), reinterpret_cast<LPARAM>(green->m_hWnd));
    ASSERT_EQ(track->GetKeyFrmCount(), 1);
    EXPECT_EQ(track->GetFXKeyFrm(0)->Location, 0.5);
    EXPECT_EQ(track->GetFXKeyFrm(0)->Color, 0xFFFF63FFu);
    EXPECT_EQ(host.modifies, (std::vector<ClrModify>{{1, 0}}));
    EXPECT_EQ(green->GetValueState(), CKivAquaEdit::CE_VALUE_KEYFRAME);
    EXPECT_EQ(dlg.GetCurHLS().hue, KivPublicRGBA2HLSA({255, 99, 255, 255}).hue) << "the strips follow the typed colour";

    // A person's change through the edit itself reaches the track the same way.
    green->SetFocus();
    KivScreen::Get().KeyDown(VK_UP);
    EXPECT_EQ(track->GetFXKeyFrm(0)->Color, 0xFFFF64FFu);
    EXPECT_EQ(host.modifies.size(), 2u);
}

TEST_F(ColourDialogTest, LayoutFollowsTheClientSize) {
    Open(MakeColourTrack({}));
    struct Place {
        int id;
        CRect rect;
    };
    // S = 300 - 75 = 225; A = 225 + 60 = 285; E = min(390, 380) = 380.
    const Place places[] = {
        {1000, CRect(10, 10, 235, 235)},   {1001, CRect(240, 10, 260, 235)},  {1002, CRect(265, 10, 285, 235)},
        {1003, CRect(10, 240, 380, 260)},  {1004, CRect(10, 270, 380, 290)},  {1065, CRect(305, 10, 375, 30)},
        {1005, CRect(300, 147, 380, 170)}, {1006, CRect(300, 170, 380, 193)}, {1007, CRect(300, 193, 380, 216)},
        {1008, CRect(300, 216, 380, 239)},
    };
    for (const Place& p : places) {
        CRect r;
        dlg->GetDlgItem(p.id)->GetWindowRect(&r);
        dlg->ScreenToClient(&r);
        EXPECT_EQ(r, p.rect) << p.id;
        if (p.id <= 1004 || p.id == 1065) {
            EXPECT_EQ(dlg->GetAreaRect(p.id), p.rect) << p.id;
        }
    }
    EXPECT_EQ(dlg->GetKeyFrmStripRect(), CRect(10, 261, 380, 269));

    // A narrow client: the right limit follows R - 10 and the preview stops there too.
    dlg->MoveWindow(0, 0, 300, 200);
    CRect bar, preview;
    dlg->GetDlgItem(1003)->GetWindowRect(&bar);
    dlg->GetDlgItem(1065)->GetWindowRect(&preview);
    EXPECT_EQ(bar, CRect(10, 140, 280, 160)) << "S = 125, A = 185, E = min(290, 280)";
    EXPECT_EQ(preview, CRect(205, 10, 275, 30));
}

TEST_F(ColourDialogTest, TinyClientsGiveEmptyAreasAndNothingBreaks) {
    Open(MakeColourTrack({{0.0, 1, 2, 3, 4}, {1.0, 5, 6, 7, 8}}));
    // 70 x 40 leaves a strip 50 wide; 12 x 12 and 0 x 0 leave none.
    for (const CSize size : {CSize(70, 40), CSize(12, 12), CSize(0, 0)}) {
        dlg->MoveWindow(0, 0, size.cx, size.cy);
        KivScreen::Get().PaintAll();
        EXPECT_EQ(dlg->GetAreaRect(1000).Width(), 0) << size.cx;
        const CRect strip = dlg->GetKeyFrmStripRect();
        EXPECT_GE(strip.Width(), 0);
        EXPECT_GE(strip.Height(), 0);
        dlg->UpCurLocation(0.7);
        const int x = strip.left + static_cast<int>(strip.Width() * 0.7);
        Drag(CPoint(x, strip.top), CPoint(x + 100, strip.top));
        EXPECT_EQ(dlg->GetCurLocation(), strip.Width() > 0 ? 1.0 : 0.7) << size.cx;
        dlg->RefurbishWindow();
    }
    EXPECT_EQ(track->GetKeyFrmCount(), 2);
}

TEST_F(ColourDialogTest, BarsShowTheTracksColoursColumnByColumn) {
    const int barY = 250, alphaY = 280;
    auto barColumn = [&](int column) { return At(kStripLeft + column, barY); };
    auto alphaColumn = [&](int column) { return At(kStripLeft + column, alphaY); };

    Open(MakeColourTrack({}), 0.0);
    for (int column : {1, 100, 369}) {
        EXPECT_EQ(barColumn(column), kWhite) << "no keyframes: white";
        EXPECT_EQ(alphaColumn(column), kWhite);
    }

    track->SendKeyFrmValue(0.3, BYTE{200}, BYTE{100}, BYTE{50}, BYTE{70});
    dlg->RefurbishWindow();
    for (int column : {1, 100, 369}) {
        EXPECT_EQ(barColumn(column), RGB(200, 100, 50)) << "one keyframe: its colour";
        EXPECT_EQ(alphaColumn(column), RGB(70, 70, 70));
    }

    // Red at 0.25 and blue at 0.75 (alpha 255 to 55). Column x shows the track at location
    // x / 370, as a render does: the keyframes fall inside columns 92 (0.2486..0.2514) and 277.
    Key(0)->Location = 0.25;
    Key(0)->Color = 0xFFFF0000u;
    track->SendKeyFrmValue(0.75, BYTE{0}, BYTE{0}, BYTE{255}, BYTE{55});
    dlg->RefurbishWindow();
    struct Column {
        int x;
        COLORREF colour, alpha;
    };
    const Column columns[] = {
        {2, RGB(255, 0, 0), RGB(255, 255, 255)},    // before the first keyframe, its colour
        {92, RGB(255, 0, 0), RGB(255, 255, 255)},
        {93, RGB(254, 0, 0), RGB(254, 254, 254)},   // t = 0.0027: 254.3, 0.7, 254.5, truncated
        {192, RGB(117, 0, 137), RGB(147, 147, 147)},  // t = 0.5378: 117.9, 137.1, 147.4
        {277, RGB(0, 0, 254), RGB(55, 55, 55)},     // t = 0.9973, still on the line
        {278, RGB(0, 0, 255), RGB(55, 55, 55)},     // past the last keyframe, its colour
        {369, RGB(0, 0, 255), RGB(55, 55, 55)},
    };
    for (const Column& c : columns) {
        EXPECT_EQ(barColumn(c.x), c.colour) << "column " << c.x;
        EXPECT_EQ(alphaColumn(c.x), c.alpha) << "column " << c.x;
    }
}

TEST_F(ColourDialogTest, EditsShowTheKeyframeStateExactlyOnAKeyframe) {
    struct Case {
        double location;
        CKivAquaEdit::CE_VALUE_STATE state;
    };
    const Case cases[] = {
        {0.5, CKivAquaEdit::CE_VALUE_KEYFRAME},
        {0.25, CKivAquaEdit::CE_VALUE_KEYFRAME},
        {0.2501, CKivAquaEdit::CE_VALUE_NORMAL},
        {0.0, CKivAquaEdit::CE_VALUE_NORMAL},
        {1.0, CKivAquaEdit::CE_VALUE_NORMAL},
    };
    Open(MakeColourTrack({{0.25, 10, 20, 30, 255}, {0.5, 200, 100, 0, 128}}));
    for (const Case& c : cases) {
        dlg->UpCurLocation(c.location);
        for (int id = 1005; id <= 1008; ++id) EXPECT_EQ(dlg->GetAquaEdit(id)->GetValueState(), c.state) << c.location;
    }
    dlg->UpCurLocation(0.375);
    EXPECT_EQ(Edits(), (std::vector<int>{105, 60, 15, 191})) << "the track's colour between its keyframes";
    EXPECT_TRUE(host.modifies.empty()) << "a host's move is not reported back";
}
