// The library's resources under its module handle, in the three languages, and the editor
// messages registered when it loaded.
#include <set>

#include "keyfrm/KivFXKeyFrmStartup.h"
#include "keyfrm/editors/KivFXEditorMessages.h"
#include "keyfrm/editors/KivFXEditorResources.h"
#include "kivbase/gui/KivGuiMessages.h"
#include "platform/ui/GdiObjects.h"
#include "platform/ui/Menu.h"
#include "platform/ui/Resources.h"
#include "platform/ui/UiTestSupport.h"

namespace {

struct LanguageGuard {
    ~LanguageGuard() { KivSetResourceLanguage(kLangEnglish); }
};

CString Text(UINT id) {
    CString s;
    KivLoadString(KivFXKeyFrmGetModuleHandle(), id, s);
    return s;
}

bool HasCjk(const CString& s) {
    for (int i = 0; i < s.GetLength(); ++i)
        if (s.GetString()[i] >= 0x4E00 && s.GetString()[i] <= 0x9FFF) return true;
    return false;
}

}  // namespace

TEST(EditorResources, MenuTextsInEnglish) {
    const std::pair<UINT, const wchar_t*> expected[] = {
        {32772, L"Forward One Frame"},     {32773, L"Back One Frame"},
        {32774, L"To Tail"},               {32775, L"To Start"},
        {32776, L"Delete Selected Key Frame"}, {32777, L"Add Key Frame"},
        {32778, L"Delete All Key Frames"}, {32779, L"Linear Interpolation"},
        {32780, L"Bezier Interpolation"},  {32781, L"Bin None Control"},
        {32782, L"Bin Linkage Control"},   {32783, L"Bin Symmetry Control"},
        {32784, L"Zoom Out"},              {32785, L"Zoom In"},
        {32786, L"Zoom Out"},              {32787, L"Zoom In"},
        {32788, L"Recover"},
    };
    for (const auto& [id, text] : expected) EXPECT_EQ(Text(id), CString(text)) << id;
}

TEST(EditorResources, EveryMenuTextIsTranslatedIntoBothChineseLanguages) {
    LanguageGuard guard;
    for (LANGID lang : {kLangChineseSimplified, kLangChineseTraditional}) {
        std::set<std::wstring> seen;
        for (UINT id = kFirstMenuStringId; id <= kLastMenuStringId; ++id) {
            KivSetResourceLanguage(kLangEnglish);
            const CString english = Text(id);
            KivSetResourceLanguage(lang);
            const CString chinese = Text(id);
            EXPECT_TRUE(HasCjk(chinese)) << std::hex << lang << " " << std::dec << id;
            EXPECT_NE(chinese, english);
            seen.insert(chinese.GetString());
        }
        EXPECT_EQ(seen.size(), 15u) << "17 entries, of which only the two zoom pairs repeat";
    }
    KivSetResourceLanguage(kLangChineseSimplified);
    const CString simplified = Text(ID_MENU_DEL_ALL_KF);
    KivSetResourceLanguage(kLangChineseTraditional);
    EXPECT_NE(Text(ID_MENU_DEL_ALL_KF), simplified) << "the two scripts differ";
}

TEST(EditorResources, TheInterpolationMenuHoldsTheEditorCommandsInOrder) {
    LanguageGuard guard;
    for (LANGID lang : {kLangEnglish, kLangChineseSimplified, kLangChineseTraditional}) {
        KivSetResourceLanguage(lang);
        CMenu menu;
        ASSERT_TRUE(menu.LoadMenu(KivFXKeyFrmGetModuleHandle(), IDR_MENU_INTERPOLATION));
        ASSERT_EQ(menu.GetMenuItemCount(), 1);
        CString title;
        menu.GetMenuString(0, title, MF_BYPOSITION);
        if (lang == kLangEnglish) {
            EXPECT_EQ(title, CString(L"Interpolation Dialog"));
        }
        CMenu* popup = menu.GetSubMenu(0);
        ASSERT_NE(popup, nullptr);
        const std::vector<UINT> expected = {32775, 32774, 32772, 32773, 0,     32777, 32776, 32778, 0,    32779,
                                            32780, 0,     32781, 32782, 32783, 0,     32787, 32786, 32788};
        ASSERT_EQ(popup->GetMenuItemCount(), static_cast<int>(expected.size()));
        for (int i = 0; i < popup->GetMenuItemCount(); ++i) {
            EXPECT_EQ(popup->GetMenuItemID(i), expected[static_cast<size_t>(i)]) << i;
            if (!expected[static_cast<size_t>(i)]) continue;
            CString text;
            popup->GetMenuString(static_cast<UINT>(i), text, MF_BYPOSITION);
            EXPECT_EQ(text, Text(expected[static_cast<size_t>(i)])) << "the string table's text";
        }
    }
}

TEST(EditorResources, TheCurveDialogTemplateAndTheMarkerBitmap) {
    const auto tmpl = KivFindDialog(KivFXKeyFrmGetModuleHandle(), IDD_INS_KEYFRM_DLG);
    ASSERT_TRUE(tmpl.has_value());
    EXPECT_EQ(tmpl->style, WS_CHILD | DS_SETFONT);
    EXPECT_EQ(tmpl->cx, 199);
    EXPECT_EQ(tmpl->cy, 100);
    EXPECT_EQ(tmpl->pointSize, 10);
    EXPECT_EQ(tmpl->faceName, CString(L"Times New Roman"));
    EXPECT_TRUE(tmpl->items.empty());

    CBitmap bmp;
    ASSERT_TRUE(bmp.LoadBitmap(KivFXKeyFrmGetModuleHandle(), IDB_TIME_RULER));
    BITMAP info{};
    bmp.GetBitmap(&info);
    ASSERT_EQ(info.bmWidth, 15);
    ASSERT_EQ(info.bmHeight, 10);
    auto px = [&](int x, int y) { return KivColorFromPixel(bmp.Surface()->At(x, y)); };
    const COLORREF outline = RGB(4, 4, 4), back = RGB(204, 204, 204);
    for (int x = 0; x < 15; ++x) EXPECT_EQ(px(x, 0), outline) << "the full width on the top row";
    for (int x = 0; x < 15; ++x) EXPECT_EQ(px(x, 9), x == 7 ? outline : back) << "one pixel on the bottom row";
    EXPECT_EQ(px(2, 1), RGB(204, 236, 255)) << "highlight inside the top and left edges";
    EXPECT_EQ(px(7, 3), RGB(166, 202, 240)) << "fill";
    EXPECT_EQ(px(11, 2), RGB(102, 153, 255)) << "shade inside the right edge";
    EXPECT_EQ(px(0, 5), back);
}

TEST(EditorResources, TheEditorMessagesAreRegisteredByName) {
    const KivFXEditorMessageIds& ids = KivFXEditorMessages();
    const std::pair<UINT, LPCWSTR> named[] = {
        {ids.modifyFromInsKFWnd, L"WM_MODIFY_FROM_INSKFWND"},     {ids.insModeFromInsKFWnd, L"WM_INS_MODE_FROM_INSKFWND"},
        {ids.ctrlModeFromInsKFWnd, L"WM_CTRL_MODE_FROM_INSKFWND"}, {ids.modifyFromInsKFDlg, L"WM_MODIFY_FROM_INSKFDLG"},
        {ids.modifyFromPosiKFDlg, L"WM_MODIFY_FROM_POSIKFDLG"},   {ids.modifyFromClrKFDlg, L"WM_MODIFY_FROM_CLRKFDLG"},
    };
    std::set<UINT> distinct;
    for (const auto& [id, name] : named) {
        EXPECT_GE(id, kFirstRegisteredMessage);
        EXPECT_EQ(id, RegisterWindowMessageW(name)) << "a host registering the name gets the same id";
        distinct.insert(id);
    }
    for (LPCWSTR name : kKivGuiMessageNames) distinct.insert(RegisterWindowMessageW(name));
    EXPECT_EQ(distinct.size(), 11u);
}

TEST(EditorResources, TheResourcesEndWithTheModuleAndComeBackWithIt) {
    const HINSTANCE before = KivFXKeyFrmGetModuleHandle();
    ASSERT_NE(before, nullptr);
    KivFXKeyFrmModuleEnd();
    CString s;
    EXPECT_FALSE(KivLoadString(before, ID_MENU_ADD_KF, s));
    ASSERT_TRUE(KivFXKeyFrmModuleStart());
    EXPECT_TRUE(KivLoadString(KivFXKeyFrmGetModuleHandle(), ID_MENU_ADD_KF, s));
    EXPECT_EQ(s, CString(L"Add Key Frame"));
}
