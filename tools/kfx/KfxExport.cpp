// kfx export FILE [--track K] --to mlt [--tolerance T] [--frames N]: a track as MLT
// animation strings on standard output.
#include <cstdio>

#include "KfxCommands.h"
#include "KfxProject.h"
#include "keyfrm/interop/KivFXInterop.h"
#include "keyfrm/tracks/KivFXTracks.h"

namespace {

struct ExportArgs {
    std::string file;
    std::string to;
    std::int64_t track = 0;
    KivFXMltExportOptions options;
};

// Reads the arguments into out; the message of the first fault, or empty.
std::string ParseExportArgs(const KfxArgs& args, ExportArgs& out) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--track" || a == "--to" || a == "--tolerance" || a == "--frames") {
            if (i + 1 >= args.size()) return a + " needs a value (see kfx export --help)";
            const std::string& v = args[++i];
            if (a == "--to") {
                out.to = v;
            } else if (a == "--track") {
                if (!KfxParseNumber(v, out.track) || out.track < 0) return "--track takes a track number from 0, not '" + v + "'";
            } else if (a == "--tolerance") {
                if (!KfxParseNumber(v, out.options.tolerance) || !(out.options.tolerance >= 0.0) || out.options.tolerance > 1e300)
                    return "--tolerance takes a difference of 0 or more, not '" + v + "'";
            } else if (!KfxParseNumber(v, out.options.frames) || out.options.frames < 1 || out.options.frames > kKivFXMltMaxFrames) {
                return "--frames takes a number of frames from 1 to " + KfxSpelled(kKivFXMltMaxFrames) + ", not '" + v + "'";
            }
        } else if (!a.empty() && a[0] == '-') {
            return "unknown option '" + a + "' (see kfx export --help)";
        } else if (out.file.empty()) {
            out.file = a;
        } else {
            return "export takes one FILE (see kfx export --help)";
        }
    }
    if (out.file.empty() || out.to.empty()) return "export needs FILE and --to mlt (see kfx export --help)";
    if (out.to != "mlt") return "--to knows only 'mlt', not '" + out.to + "'";
    return {};
}

int RunExport(const ExportArgs& a) {
    CKivObList list;
    KfxLoad(a.file, list);
    const std::vector<CKivObList*> tracks = KfxTracks(list);
    if (a.track >= static_cast<std::int64_t>(tracks.size()))
        return KfxFail(a.file + ": no track " + KfxSpelled(a.track) + " (the file holds " + KfxSpelled(tracks.size()) + ")");
    CKivObList& track = *tracks[static_cast<size_t>(a.track)];
    KivFXMltExported e;
    if (track.IsKindOf(RUNTIME_CLASS(CKivFXInsKeyFrmList)))
        e = KivFXMltExport(static_cast<CKivFXInsKeyFrmList&>(track), a.options);
    else if (track.IsKindOf(RUNTIME_CLASS(CKivFXPosiKeyFrmList)))
        e = KivFXMltExport(static_cast<CKivFXPosiKeyFrmList&>(track), a.options);
    else
        e = KivFXMltExport(static_cast<CKivFXColor32KeyFrmList&>(track), a.options);
    if (!e.Ok()) return KfxFail(a.file + ": " + e.error);
    for (const std::string& s : e.strings) std::printf("%s\n", s.c_str());
    std::fprintf(stderr, "kfx export: %s track, frames 0 to %d, %d keyframes per string (%d added), largest difference %s (tolerance %s)\n",
                 KfxTrackKind(track).c_str(), e.frames - 1, e.keyframes, e.extraKeyframes, KfxSpelled(e.largestDifference).c_str(),
                 KfxSpelled(e.tolerance).c_str());
    return kKfxOk;
}

}  // namespace

int KfxExport(const KfxArgs& args) {
    if (KfxWantsHelp(args)) {
        std::printf(
            "usage: kfx export FILE [--track K] --to mlt [--tolerance T] [--frames N]\n\n"
            "Prints the K-th track of FILE (.kfa or .xml, from 0; default 0) as MLT animation\n"
            "strings (\"0=0;25~=10;50=3\"): a scalar track as one line, a position track as three\n"
            "(x, y, z), a colour track as one of #aarrggbb values. Keyframes keep their frames and\n"
            "values; keyframes are added where MLT would otherwise differ from the track by more\n"
            "than T at some frame (default 0.1 %% of the track's value range; one step for colours).\n"
            "--frames sets the story's length (default: to the last keyframe of a frame-based track,\n"
            "%d frames for a location-based one). The figures go to standard error.\n",
            kKivFXMltDefaultLocationFrames);
        return kKfxOk;
    }
    ExportArgs a;
    if (const std::string fault = ParseExportArgs(args, a); !fault.empty()) return KfxFail(fault);
    return RunExport(a);
}
