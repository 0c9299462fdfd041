// kfx render FILE --editor curve-window|curve-dialog --size WxH --frame F -o OUT.png: a
// file's scalar track drawn by the curve window or the curve dialog on the headless screen.
#include "KfxRender.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <memory>

#include "KfxCommands.h"
#include "KfxProject.h"
#include "keyfrm/editors/CKivFXInsKeyFrmWnd.h"
#include "keyfrm/tracks/CKivFXInsKeyFrmList.h"
#include "keyfrm/tracks/CKivFXPosiKeyFrmList.h"
#include "platform/ui/WindowSystem.h"

namespace {

constexpr const char* kCurveWindow = "curve-window";
constexpr const char* kCurveDialog = "curve-dialog";
constexpr const char* kColourDialog = "colour-dialog";
constexpr const char* kPositionDialog = "position-dialog";
// Frames shown when the track has fewer than two keyframes to fit.
constexpr int kDefaultSpan = 100;
// The fitted view leaves this share of the span free on each side.
constexpr int kPadDivisor = 20;

bool ParseRange(const std::string& text, std::pair<int, int>& out) {
    // The separator is the first ':' after the first character, so "-20:-5" reads.
    const size_t colon = text.find(':', 1);
    if (colon == std::string::npos) return false;
    return KfxParseNumber(text.substr(0, colon), out.first) && KfxParseNumber(text.substr(colon + 1), out.second);
}

// Scroll position and scale that put every keyframe and the current frame in view.
void FitView(const CKivFXInsKeyFrmList& track, KfxCurveView& view) {
    long long lo = view.frame, hi = view.frame;
    for (int i = 0; i < track.GetKeyFrmCount(); ++i)
        if (const CKivFXValueKeyFrm* k = track.GetFXKeyFrm(i)) {
            lo = std::min<long long>(lo, k->Frame);
            hi = std::max<long long>(hi, k->Frame);
        }
    if (hi - lo < 1) hi = lo + kDefaultSpan;
    const long long pad = std::max<long long>(1, (hi - lo) / kPadDivisor);
    if (!view.scroll) view.scroll = static_cast<long>(std::clamp<long long>(lo - pad, INT_MIN, INT_MAX));
    if (!view.scale) view.scale = static_cast<double>(std::max(1, static_cast<int>(view.size.cx) - 1)) / static_cast<double>(hi - lo + 2 * pad);
}

CObject* FindIn(CObList& list, const CRuntimeClass* cls, int& n) {
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        CObject* o = list.GetNext(pos);
        if (!o) continue;
        if (o->IsKindOf(cls) && n-- == 0) return o;
        if (o->IsKindOf(RUNTIME_CLASS(CObList)))
            if (CObject* t = FindIn(*static_cast<CObList*>(o), cls, n)) return t;
    }
    return nullptr;
}

}  // namespace

CObject* KfxFindObjectOf(CObList& list, const CRuntimeClass* cls, int n) {
    if (n < 0 || !cls) return nullptr;
    return FindIn(list, cls, n);
}

bool KfxParseSize(const std::string& text, CSize& out) {
    const size_t x = text.find('x');
    if (x == std::string::npos) return false;
    int w = 0, h = 0;
    if (!KfxParseNumber(text.substr(0, x), w) || !KfxParseNumber(text.substr(x + 1), h)) return false;
    if (w < 1 || h < 1 || w > kMaxBitmapSide || h > kMaxBitmapSide) return false;
    out = CSize(w, h);
    return true;
}

CKivFXInsKeyFrmList* KfxFindScalarTrack(CObList& list, int n) {
    return static_cast<CKivFXInsKeyFrmList*>(KfxFindObjectOf(list, RUNTIME_CLASS(CKivFXInsKeyFrmList), n));
}

CKivFXPosiKeyFrmList* KfxFindPositionTrack(CObList& list, int n) {
    return static_cast<CKivFXPosiKeyFrmList*>(KfxFindObjectOf(list, RUNTIME_CLASS(CKivFXPosiKeyFrmList), n));
}

void KfxCreateDrawingHost(CWnd& host, CSize size) {
    KivScreen::Get().Resize(size.cx, size.cy);
    if (!host.CreateEx(0, nullptr, nullptr, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, CRect(CPoint(0, 0), size), nullptr, 0))
        throw KfxError("cannot create the window to draw in");
}

void KfxSaveScreen(const std::string& png) {
    KivScreen& screen = KivScreen::Get();
    screen.PaintAll();
    const std::vector<BYTE> bytes = KivEncodePng(screen.GetWidth(), screen.GetHeight(), screen.GetBits());
    if (bytes.empty()) throw KfxError(png + ": cannot make the picture");
    KfxWriteFile(png, bytes);
}

void KfxRenderCurveWindow(CKivFXInsKeyFrmList& track, const KfxCurveView& requested, const std::string& png) {
    KfxCurveView view = requested;
    FitView(track, view);
    const CRect area(0, 0, view.size.cx, view.size.cy);
    CWnd host;
    KfxCreateDrawingHost(host, view.size);
    CKivFXInsKeyFrmWnd curve;
    // Attached before creation, so the first WM_SIZE scales the track's range to the height.
    curve.SetKeyFrmList(&track);
    curve.SetScrollPos(*view.scroll);
    curve.SetPixelPreFrame(*view.scale);
    curve.SetTimeLine(view.frame);
    if (!curve.Create(WS_CHILD | WS_VISIBLE, &host, area)) throw KfxError("cannot create the curve window");
    KfxSaveScreen(png);
}

namespace {

struct Options {
    std::string file, out, editor = kCurveWindow;
    KfxCurveView view;
    std::optional<std::pair<int, int>> range;
    KfxColourView colour;
    bool sized = false;
    int track = 0;
};

int Run(Options& o) {
    const bool position = o.editor == kPositionDialog;
    const bool dialog = o.editor == kCurveDialog || position;
    if (o.editor != kCurveWindow && !dialog && o.editor != kColourDialog)
        return KfxFail("unknown editor '" + o.editor + "' (there are: curve-window, curve-dialog, position-dialog, colour-dialog)");
    if (!dialog && o.range) return KfxFail("--range is for --editor curve-dialog and position-dialog");
    if (o.editor != kCurveWindow && (o.view.scroll || o.view.scale)) return KfxFail("--scroll and --scale are for --editor curve-window");
    CKivObList list;
    KfxLoad(o.file, list);
    if (position) return KfxRenderPosition(list, o.file, o.track, KfxDialogView{o.view.size, o.view.frame, o.range}, o.out);
    if (o.editor == kColourDialog) {
        if (o.sized) o.colour.size = o.view.size;
        return KfxRenderColourCommand(list, o.file, o.track, o.colour, o.out);
    }
    CKivFXInsKeyFrmList* track = KfxFindScalarTrack(list, o.track);
    if (!track) return KfxFail(o.file + ": no scalar track number " + std::to_string(o.track) + " in it");
    if (dialog)
        KfxRenderCurveDialog(*track, KfxDialogView{o.view.size, o.view.frame, o.range}, o.out);
    else
        KfxRenderCurveWindow(*track, o.view, o.out);
    std::printf("%s: track %d (%d keyframes) drawn into %s (%ldx%ld)\n", o.file.c_str(), o.track, track->GetKeyFrmCount(),
                o.out.c_str(), static_cast<long>(o.view.size.cx), static_cast<long>(o.view.size.cy));
    return kKfxOk;
}

KfxRun Declare(CLI::App& command) {
    auto o = std::make_shared<Options>();
    command.footer(
        "Draws the first scalar track of FILE (.kfa or .xml), or the N-th from 0 with\n"
        "--track, in an editor on a headless screen of WxH pixels (default 640x240)\n"
        "with the current frame at F (default 0), and writes the picture to OUT.png.\n\n"
        "curve-window (the default) places keyframes by their Frame; the view fits the\n"
        "keyframes unless --scroll (the frame at the left edge) and --scale are given.\n"
        "curve-dialog places keyframes by their Location over the story range IN to\n"
        "OUT (location 0 to 1): --range, or by default the frames of the track's\n"
        "keyframes (0 to 100 when they span none); F is kept inside that range. A\n"
        "frame-based track is drawn placed by location: each keyframe at its Frame's\n"
        "place in the range, its handles' frame offsets as the locations they cover.\n\n"
        "position-dialog draws the first position track (the N-th with --track) as a\n"
        "path in the X-Y plane over the story range, placed like curve-dialog.\n\n"
        "colour-dialog draws the first colour track (or the N-th) in the colour dialog\n"
        "with the current location at L (0 to 1, default 0.5); with --size the dialog\n"
        "is laid out for a client of WxH, otherwise it keeps its template's size.");
    command.add_option("FILE", o->file, "the project file to read")->required();
    command.add_option("-o,--output", o->out, "the picture to write")->type_name("OUT.png")->required();
    command.add_option("--editor", o->editor, "curve-window, curve-dialog, position-dialog or colour-dialog")->capture_default_str();
    KfxAddOption(command, "--size", "WxH", "the screen's size in pixels",
                 "--size wants WxH, each 1 to " + std::to_string(kMaxBitmapSide),
                 [o](const std::string& v) { return o->sized = KfxParseSize(v, o->view.size); });
    KfxAddOption(command, "--frame", "F", "the current frame", "--frame wants a whole number",
                 [o](const std::string& v) { return KfxParseNumber(v, o->view.frame); });
    KfxAddOption(command, "--track", "N", "the N-th track of its kind, from 0", "--track wants a number from 0",
                 [o](const std::string& v) { return KfxParseNumber(v, o->track) && o->track >= 0; });
    KfxAddOption(command, "--scroll", "FRAME", "curve-window: the frame at the left edge", "--scroll wants a whole number",
                 [o](const std::string& v) { return KfxParseNumber(v, o->view.scroll.emplace()); });
    KfxAddOption(command, "--scale", "PIXELS_PER_FRAME", "curve-window: pixels per frame", "--scale wants a positive number",
                 [o](const std::string& v) { return KfxParseNumber(v, o->view.scale.emplace()) && *o->view.scale > 0.0; });
    KfxAddOption(command, "--range", "IN:OUT", "curve-dialog, position-dialog: the story range",
                 "--range wants IN:OUT, two whole numbers", [o](const std::string& v) { return ParseRange(v, o->range.emplace()); });
    KfxAddOption(command, "--location", "L", "colour-dialog: the current location, 0 to 1", "--location wants a number from 0 to 1",
                 [o](const std::string& v) {
                     return KfxParseNumber(v, o->colour.location) && o->colour.location >= 0.0 && o->colour.location <= 1.0;
                 });
    return [o] { return Run(*o); };
}

const KfxRegistration kRender({"render", "draw a file's track in an editor and write the picture (PNG)", Declare});

}  // namespace
