// kfx render FILE --editor curve-window --size WxH --frame F -o OUT.png: a file's scalar
// track drawn by the curve window on the headless screen.
#include "KfxRender.h"

#include <algorithm>
#include <climits>
#include <cstdio>

#include "KfxCommands.h"
#include "KfxProject.h"
#include "keyfrm/editors/CKivFXInsKeyFrmWnd.h"
#include "keyfrm/tracks/CKivFXInsKeyFrmList.h"
#include "platform/ui/WindowSystem.h"

namespace {

constexpr const char* kCurveWindow = "curve-window";
// Frames shown when the track has fewer than two keyframes to fit.
constexpr int kDefaultSpan = 100;
// The fitted view leaves this share of the span free on each side.
constexpr int kPadDivisor = 20;

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

CKivFXInsKeyFrmList* FindIn(CObList& list, int& n) {
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        CObject* o = list.GetNext(pos);
        if (!o) continue;
        if (o->IsKindOf(RUNTIME_CLASS(CKivFXInsKeyFrmList)) && n-- == 0) return static_cast<CKivFXInsKeyFrmList*>(o);
        if (o->IsKindOf(RUNTIME_CLASS(CObList)))
            if (CKivFXInsKeyFrmList* t = FindIn(*static_cast<CObList*>(o), n)) return t;
    }
    return nullptr;
}

}  // namespace

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
    if (n < 0) return nullptr;
    return FindIn(list, n);
}

void KfxRenderCurveWindow(CKivFXInsKeyFrmList& track, const KfxCurveView& requested, const std::string& png) {
    KfxCurveView view = requested;
    FitView(track, view);
    KivScreen& screen = KivScreen::Get();
    screen.Resize(view.size.cx, view.size.cy);
    const CRect area(0, 0, view.size.cx, view.size.cy);
    CWnd host;
    if (!host.CreateEx(0, nullptr, nullptr, WS_POPUP | WS_VISIBLE, area, nullptr, 0))
        throw KfxError("cannot create the window to draw in");
    CKivFXInsKeyFrmWnd curve;
    // Attached before creation, so the first WM_SIZE scales the track's range to the height.
    curve.SetKeyFrmList(&track);
    curve.SetScrollPos(*view.scroll);
    curve.SetPixelPreFrame(*view.scale);
    curve.SetTimeLine(view.frame);
    if (!curve.Create(WS_CHILD | WS_VISIBLE, &host, area)) throw KfxError("cannot create the curve window");
    screen.PaintAll();
    if (!screen.SavePng(CString(png.c_str()))) throw KfxError(png + ": cannot write the picture");
}

int KfxRender(const KfxArgs& args) {
    if (KfxWantsHelp(args)) {
        std::printf(
            "usage: kfx render FILE --editor curve-window --size WxH --frame F -o OUT.png\n"
            "                  [--track N] [--scroll FRAME] [--scale PIXELS_PER_FRAME]\n\n"
            "Draws the first scalar track of FILE (.kfa or .xml), or the N-th from 0 with\n"
            "--track, in the curve window on a headless screen of WxH pixels (default\n"
            "640x240) with the current-frame line at frame F (default 0), and writes the\n"
            "picture to OUT.png. The view fits the keyframes unless --scroll (the frame at\n"
            "the left edge) and --scale are given. The window places keyframes by their\n"
            "Frame, so a location-based track shows every keyframe at its Frame too.\n");
        return kKfxOk;
    }
    std::string file, out, editor = kCurveWindow;
    KfxCurveView view;
    int trackIndex = 0;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        auto value = [&]() -> const std::string& { return args[++i]; };
        if ((a == "--editor" || a == "--size" || a == "--frame" || a == "-o" || a == "--output" || a == "--track" ||
             a == "--scroll" || a == "--scale") &&
            !hasValue)
            return KfxFail(a + " needs a value (see kfx render --help)");
        if (a == "--editor") {
            editor = value();
        } else if (a == "--size") {
            if (!KfxParseSize(value(), view.size)) return KfxFail("--size wants WxH, each 1 to " + std::to_string(kMaxBitmapSide));
        } else if (a == "--frame") {
            if (!KfxParseNumber(value(), view.frame)) return KfxFail("--frame wants a whole number");
        } else if (a == "-o" || a == "--output") {
            out = value();
        } else if (a == "--track") {
            if (!KfxParseNumber(value(), trackIndex) || trackIndex < 0) return KfxFail("--track wants a number from 0");
        } else if (a == "--scroll") {
            long s = 0;
            if (!KfxParseNumber(value(), s)) return KfxFail("--scroll wants a whole number");
            view.scroll = s;
        } else if (a == "--scale") {
            double s = 0;
            if (!KfxParseNumber(value(), s) || !(s > 0.0)) return KfxFail("--scale wants a positive number");
            view.scale = s;
        } else if (!a.empty() && a[0] == '-') {
            return KfxFail("unknown option " + a + " (see kfx render --help)");
        } else if (file.empty()) {
            file = a;
        } else {
            return KfxFail("render takes one FILE (see kfx render --help)");
        }
    }
    if (editor != kCurveWindow) return KfxFail("unknown editor '" + editor + "' (the one there is: curve-window)");
    if (file.empty()) return KfxFail("render needs a FILE (see kfx render --help)");
    if (out.empty()) return KfxFail("render needs -o OUT.png (see kfx render --help)");
    CKivObList list;
    KfxLoad(file, list);
    CKivFXInsKeyFrmList* track = KfxFindScalarTrack(list, trackIndex);
    if (!track) return KfxFail(file + ": no scalar track number " + std::to_string(trackIndex) + " in it");
    KfxRenderCurveWindow(*track, view, out);
    std::printf("%s: track %d (%d keyframes) drawn into %s (%ldx%ld)\n", file.c_str(), trackIndex, track->GetKeyFrmCount(),
                out.c_str(), static_cast<long>(view.size.cx), static_cast<long>(view.size.cy));
    return kKfxOk;
}
