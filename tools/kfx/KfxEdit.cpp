// kfx edit FILE [--track K] | kfx edit --new KIND FILE: a person edits a project's tracks in
// a real window; --snapshot draws the same window without a display.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>

#include "KfxCommands.h"
#include "KfxEditHost.h"
#include "KfxEditRecovery.h"
#include "KfxRender.h"
#include "platform/ui/WindowSystem.h"
#if KIVFX_HAVE_SDL
#include "platform/sdl/KivSdl.h"
#endif

namespace {

// The window's size when none is asked for: room for the track list, the editor and the
// value row on a common laptop screen.
constexpr int kDefaultWidth = 1280;
constexpr int kDefaultHeight = 720;

struct EditOptions {
    std::string file;
    int track = 0;
    std::optional<KfxTrackKindId> newKind;
    std::string snapshot;
    CSize size{kDefaultWidth, kDefaultHeight};
    std::optional<int> frame;
    double fps = KfxEditHost::kDefaultFps;
};

// The highest rate Space plays at: beyond it frames are only skipped.
constexpr int kMaxFps = 1000;

void PrintRect(const char* name, CRect r) { std::printf("%s %d %d %d %d\n", name, r.left, r.top, r.right, r.bottom); }

// Where the window's parts are on the screen, one line each, for scripts that drive it.
void PrintLayout(KfxEditHost& host) {
    std::printf("window %d %d\n", KivScreen::Get().GetWidth(), KivScreen::Get().GetHeight());
    PrintRect("editor", host.EditorArea());
    PrintRect("values", host.ValueRow());
    PrintRect("tracks", host.TrackListArea());
    for (int i = 0; i < host.ValueEditCount(); ++i) {
        CRect r;
        host.ValueEdit(i)->GetWindowRect(&r);
        std::printf("value %d %d %d %d %d\n", i, r.left, r.top, r.right, r.bottom);
    }
    CRect marks;
    host.Slot()->MarksWindow()->GetWindowRect(&marks);
    PrintRect("marks", marks);
    const std::vector<CPoint> keys = host.Slot()->KeyFramePoints();
    for (size_t i = 0; i < keys.size(); ++i) std::printf("key %zu %d %d\n", i, keys[i].x, keys[i].y);
    std::printf("frame %d %d %d\n", host.Time().storyIn, host.Time().frame, host.Time().storyOut);
}

bool HasDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}) {
        const char* v = std::getenv(name);
        if (v && *v) return true;
    }
    return false;
}

int Run(const EditOptions& o) {
    std::unique_ptr<KfxEditDocument> doc;
    if (o.newKind) {
        if (std::FILE* existing = std::fopen(o.file.c_str(), "rb")) {
            std::fclose(existing);
            return KfxFail(o.file + ": the file exists already (open it without --new)");
        }
        doc = KfxEditDocument::New(*o.newKind, o.file);
    } else {
        doc = KfxEditDocument::Open(o.file);
    }
    const int tracks = static_cast<int>(doc->Tracks().size());
    if (tracks == 0) return KfxFail(o.file + ": no track to edit in it (kfx edit --new KIND FILE starts one)");
    if (o.track >= tracks) return KfxFail(o.file + ": no track " + std::to_string(o.track) + " (it has " + std::to_string(tracks) + ", from 0)");

    KivScreen& screen = KivScreen::Get();
    screen.Resize(o.size.cx, o.size.cy);
    KfxEditHost host(*doc, o.newKind.has_value());
    if (!host.CreateOnScreen(o.track)) return KfxFail("cannot create the editor's windows");
    if (o.frame) host.GoToFrame(*o.frame);
    host.SetFramesPerSecond(o.fps);

    if (!o.snapshot.empty()) {
        KfxSaveScreen(o.snapshot);
        PrintLayout(host);
        return kKfxOk;
    }
#if KIVFX_HAVE_SDL
    if (!HasDisplay()) return KfxFail("edit needs a display: DISPLAY is not set (try --snapshot to draw without one)");
    // From here a signal only notes itself; the loop's idle ends the session safely.
    KfxWatchEndSignals();
    // An open menu gives way at once, so the loop's idle acts on the signal.
    KivSetModalLoopEndCheck([] { return KfxEndSignal() != 0; });
    const int run = KivSdlRun("kfx edit", [&host] {
        host.Idle();
        return !host.WantsToQuit();
    });
    KivSetModalLoopEndCheck({});
    if (run != 0) return KfxFail("edit cannot open a window: " + KivSdlLastError());
    if (const int sig = host.EndSignal()) {
        std::fprintf(stderr, "kfx edit: ended by signal %d%s%s\n", sig, host.RecoveryReport().empty() ? "" : "; ",
                     host.RecoveryReport().c_str());
        // The shell's convention for a program a signal ended.
        return 128 + sig;
    }
    return kKfxOk;
#else
    (void)HasDisplay;
    return KfxFail("edit needs the SDL2 presenter, and this kfx was built without it (install libsdl2-dev)");
#endif
}

KfxRun Declare(CLI::App& command) {
    auto o = std::make_shared<EditOptions>();
    command.footer(
        "Opens FILE (.kfa or .xml) in a window: the file's tracks on the left (pick one with\n"
        "the mouse, or Up and Down), the chosen track's editor, boxes for the value at the\n"
        "current frame, and a status line. --track K starts with track K (from 0, in file\n"
        "order; `kfx info` lists them). --new starts FILE as a project of one empty track\n"
        "(FILE must not exist yet; Ctrl+S writes it). --fps N plays N frames a second\n"
        "(1 to 1000; 25 when not given).\n\n"
        "Keys: Left/Right frame (Shift: 10), Home/End story in/out, Space play/stop,\n"
        "Ctrl+S save, Ctrl+Z undo, Ctrl+Shift+Z or Ctrl+Y redo, Ctrl+C/Ctrl+V copy and\n"
        "paste keyframes, 1-4 easing, Tab to the value boxes, F1 all keys, Escape quit\n"
        "(asks once when changes are unsaved). Ended by a signal (Ctrl+C here, a logout,\n"
        "SIGTERM) with unsaved changes, kfx edit writes them to FILE's recovery file\n"
        "(NAME.recovery.EXT beside it) and offers them on the next open. See docs/EDITING.md.\n\n"
        "--snapshot draws the window as it opens (at frame F with --frame) without a\n"
        "display, writes it to OUT.png and prints where its parts are, for scripts.\n"
        "Without a display (DISPLAY unset, or no window can be opened) kfx edit says so\n"
        "and exits with code 2.");
    command.add_option("FILE", o->file, "the project file to edit (.kfa or .xml)")->required();
    KfxAddOption(command, "--track", "K", "start with track K, from 0", "--track wants a number from 0",
                 [o](const std::string& v) { return KfxParseNumber(v, o->track) && o->track >= 0; });
    KfxAddOption(command, "--new", "KIND", "start FILE as one empty track: scalar, position or colour",
                 "--new wants scalar, position or colour", [o](const std::string& v) {
                     KfxTrackKindId kind{};
                     if (!KfxParseTrackKind(v, kind)) return false;
                     o->newKind = kind;
                     return true;
                 });
    command.add_option("--snapshot", o->snapshot, "draw the window without a display into this picture")->type_name("OUT.png");
    KfxAddOption(command, "--size", "WxH", "the window's size (default 1280x720)",
                 "--size wants WxH, each 1 to " + std::to_string(kMaxBitmapSide),
                 [o](const std::string& v) { return KfxParseSize(v, o->size); });
    KfxAddOption(command, "--frame", "F", "with --snapshot: the current frame", "--frame wants a whole number",
                 [o](const std::string& v) { return KfxParseNumber(v, o->frame.emplace()); });
    KfxAddOption(command, "--fps", "N", "play N frames a second (1 to 1000; default 25)",
                 "--fps wants a whole number from 1 to " + std::to_string(kMaxFps), [o](const std::string& v) {
                     int fps = 0;
                     if (!KfxParseNumber(v, fps) || fps < 1 || fps > kMaxFps) return false;
                     o->fps = fps;
                     return true;
                 });
    return [o] { return Run(*o); };
}

const KfxRegistration kEdit({"edit", "edit a file's tracks in a window: drag keyframes, type values, undo, save", Declare});

}  // namespace
