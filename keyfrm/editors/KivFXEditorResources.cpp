#include "keyfrm/editors/KivFXEditorResources.h"

#include "keyfrm/editors/KivFXClrDlgResources.h"

#include <array>

#include "platform/ui/Menu.h"
#include "platform/ui/Messages.h"

namespace {

struct MenuText {
    UINT id;
    const wchar_t* english;
    const wchar_t* simplified;
    const wchar_t* traditional;
};

// "Forward One Frame" moves the current frame one frame toward the start, "Back One Frame"
// toward the end; the translations say the same.
constexpr std::array<MenuText, kLastMenuStringId - kFirstMenuStringId + 1> kMenuTexts = {{
    {ID_MENU_FORWARD_ONE_FRAME, L"Forward One Frame", L"向前一帧", L"向前一個影格"},
    {ID_MENU_BACK_ONE_FRAME, L"Back One Frame", L"向后一帧", L"向後一個影格"},
    {ID_MENU_TO_TAIL, L"To Tail", L"到结尾", L"到結尾"},
    {ID_MENU_TO_START, L"To Start", L"到开头", L"到開頭"},
    {ID_MENU_DEL_SEL_KF, L"Delete Selected Key Frame", L"删除选中的关键帧", L"刪除選取的關鍵影格"},
    {ID_MENU_ADD_KF, L"Add Key Frame", L"添加关键帧", L"新增關鍵影格"},
    {ID_MENU_DEL_ALL_KF, L"Delete All Key Frames", L"删除所有关键帧", L"刪除所有關鍵影格"},
    {ID_MENU_INS_LINE_MODE, L"Linear Interpolation", L"线性插值", L"線性內插"},
    {ID_MENU_INS_BEZIER_MODE, L"Bezier Interpolation", L"贝塞尔插值", L"貝茲曲線內插"},
    {ID_MENU_INS_NONE_CTRL, L"Bin None Control", L"手柄独立", L"控制點獨立"},
    {ID_MENU_INS_LINKAGE_CTRL, L"Bin Linkage Control", L"手柄联动", L"控制點連動"},
    {ID_MENU_INS_SYMMETRY_CTRL, L"Bin Symmetry Control", L"手柄对称", L"控制點對稱"},
    {ID_MENU_ZOOM_OUT, L"Zoom Out", L"缩小", L"縮小"},
    {ID_MENU_ZOOM_IN, L"Zoom In", L"放大", L"放大"},
    {ID_MENU_SHOW_ZOOM_OUT, L"Zoom Out", L"缩小", L"縮小"},
    {ID_MENU_SHOW_ZOOM_IN, L"Zoom In", L"放大", L"放大"},
    {ID_MENU_SHOW_RECOVER, L"Recover", L"还原", L"還原"},
}};

struct MenuTitle {
    LANGID lang;
    const wchar_t* text;
};
constexpr std::array<MenuTitle, 3> kMenuTitles = {{
    {kLangEnglish, L"Interpolation Dialog"},
    {kLangChineseSimplified, L"插值对话框"},
    {kLangChineseTraditional, L"內插對話方塊"},
}};

// The interpolation menu's items in order; 0 is a separator.
constexpr std::array<UINT, 19> kInterpolationMenu = {
    ID_MENU_TO_START,      ID_MENU_TO_TAIL,          ID_MENU_FORWARD_ONE_FRAME, ID_MENU_BACK_ONE_FRAME, 0,
    ID_MENU_ADD_KF,        ID_MENU_DEL_SEL_KF,       ID_MENU_DEL_ALL_KF,        0,
    ID_MENU_INS_LINE_MODE, ID_MENU_INS_BEZIER_MODE,  0,
    ID_MENU_INS_NONE_CTRL, ID_MENU_INS_LINKAGE_CTRL, ID_MENU_INS_SYMMETRY_CTRL, 0,
    ID_MENU_SHOW_ZOOM_IN,  ID_MENU_SHOW_ZOOM_OUT,    ID_MENU_SHOW_RECOVER,
};

const wchar_t* TextIn(const MenuText& t, LANGID lang) {
    if (lang == kLangChineseSimplified) return t.simplified;
    if (lang == kLangChineseTraditional) return t.traditional;
    return t.english;
}

const wchar_t* TextOf(UINT id, LANGID lang) {
    for (const MenuText& t : kMenuTexts)
        if (t.id == id) return TextIn(t, lang);
    return L"";
}

// The editor dialogs' templates: child dialogs in 10-point Times New Roman, no controls.
KivDialogTemplate EditorDialogTemplate(short widthDlu, short heightDlu) {
    constexpr WORD kPoints = 10;
    KivDialogTemplate t;
    t.style = WS_CHILD | DS_SETFONT;
    t.cx = widthDlu;
    t.cy = heightDlu;
    t.pointSize = kPoints;
    t.faceName = L"Times New Roman";
    return t;
}

// The curve dialog: 199 x 100 dialog units.
constexpr short kCurveWidthDlu = 199;
constexpr short kCurveHeightDlu = 100;

// The marker: a triangle pointing down, the full width on the top row and one pixel on
// the bottom row, outlined, with a highlight inside its top and left edges and a shade
// inside its right edge.
constexpr int kMarkerWidth = 15;
constexpr int kMarkerHeight = 10;
constexpr COLORREF kMarkerOutline = RGB(4, 4, 4);
constexpr COLORREF kMarkerFill = RGB(166, 202, 240);
constexpr COLORREF kMarkerHighlight = RGB(204, 236, 255);
constexpr COLORREF kMarkerShade = RGB(102, 153, 255);
constexpr COLORREF kMarkerBack = RGB(204, 204, 204);

bool InMarker(int x, int y) {
    if (y < 0 || y >= kMarkerHeight) return false;
    // Each side moves in by half the width over the height, rounded.
    const int half = kMarkerWidth / 2;
    const int inset = (2 * y * half + (kMarkerHeight - 1)) / (2 * (kMarkerHeight - 1));
    return x >= inset && x <= kMarkerWidth - 1 - inset;
}

bool OnMarkerEdge(int x, int y) {
    return InMarker(x, y) && !(InMarker(x - 1, y) && InMarker(x + 1, y) && InMarker(x, y - 1) && InMarker(x, y + 1));
}

bool InMarkerInterior(int x, int y) { return InMarker(x, y) && !OnMarkerEdge(x, y); }

std::vector<COLORREF> MarkerPixels() {
    std::vector<COLORREF> px;
    px.reserve(kMarkerWidth * kMarkerHeight);
    for (int y = 0; y < kMarkerHeight; ++y)
        for (int x = 0; x < kMarkerWidth; ++x) {
            COLORREF c = kMarkerBack;
            if (OnMarkerEdge(x, y))
                c = kMarkerOutline;
            else if (InMarkerInterior(x, y) && (!InMarkerInterior(x, y - 1) || !InMarkerInterior(x - 1, y)))
                c = kMarkerHighlight;
            else if (InMarkerInterior(x, y) && !InMarkerInterior(x + 1, y))
                c = kMarkerShade;
            else if (InMarkerInterior(x, y))
                c = kMarkerFill;
            px.push_back(c);
        }
    return px;
}

}  // namespace

void KivFXAddEditorResources(KivResourceModule& module) {
    for (const MenuTitle& title : kMenuTitles) {
        for (const MenuText& t : kMenuTexts) module.AddString(t.id, TextIn(t, title.lang), title.lang);
        KivMenuItemTemplate popup{MF_POPUP, 0, title.text, {}};
        for (UINT id : kInterpolationMenu)
            popup.popup.push_back(id ? KivMenuItemTemplate{MF_STRING, id, TextOf(id, title.lang), {}}
                                     : KivMenuItemTemplate{MF_SEPARATOR, 0, CString(), {}});
        module.AddMenu(IDR_MENU_INTERPOLATION, {popup}, title.lang);
    }
    module.AddDialog(IDD_INS_KEYFRM_DLG, EditorDialogTemplate(kCurveWidthDlu, kCurveHeightDlu));
    module.AddDialog(IDD_POSI_KEYFRM_DLG, EditorDialogTemplate(kPosiDialogWidthDlu, kPosiDialogHeightDlu));
    module.AddBitmap(IDB_TIME_RULER, kMarkerWidth, kMarkerHeight, MarkerPixels());
    // The colour dialog's template.
    KivFXAddClrDlgResources(module);
}
