// kfx export FILE [--track K] --to mlt [--tolerance T] [--frames N]: a track as MLT
// animation strings on standard output.
#include <cstdio>
#include <memory>

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

// Faults the options cannot see one by one.
std::string CheckExportArgs(const ExportArgs& a) {
    if (a.to != "mlt") return "--to knows only 'mlt', not '" + a.to + "'";
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

KfxRun Declare(CLI::App& command) {
    auto o = std::make_shared<ExportArgs>();
    command.footer(
        "Prints the K-th track of FILE (.kfa or .xml, from 0; default 0) as MLT animation\n"
        "strings (\"0=0;25~=10;50=3\"): a scalar track as one line, a position track as three\n"
        "(x, y, z), a colour track as one of #aarrggbb values. Keyframes keep their frames and\n"
        "values; keyframes are added where MLT would otherwise differ from the track by more\n"
        "than T at some frame (default 0.1 % of the track's value range; one step for colours).\n"
        "--frames sets the story's length (default: to the last keyframe of a frame-based track,\n" +
        KfxSpelled(kKivFXMltDefaultLocationFrames) + " frames for a location-based one). The figures go to standard error.");
    command.add_option("FILE", o->file, "the project file to read")->required();
    KfxAddOption(command, "--to", "mlt", "the form to write: mlt", "--to knows only 'mlt'",
                 [o](const std::string& v) { o->to = v; return v == "mlt"; })->required();
    KfxAddOption(command, "--track", "K", "the K-th track of the file, from 0 (default 0)", "--track takes a track number from 0",
                 [o](const std::string& v) { return KfxParseNumber(v, o->track) && o->track >= 0; });
    KfxAddOption(command, "--tolerance", "T", "the largest difference allowed at a frame", "--tolerance takes a difference of 0 or more",
                 [o](const std::string& v) {
                     return KfxParseNumber(v, o->options.tolerance) && o->options.tolerance >= 0.0 && o->options.tolerance <= 1e300;
                 });
    KfxAddOption(command, "--frames", "N", "the story's length in frames",
                 "--frames takes a number of frames from 1 to " + KfxSpelled(kKivFXMltMaxFrames), [o](const std::string& v) {
                     return KfxParseNumber(v, o->options.frames) && o->options.frames >= 1 && o->options.frames <= kKivFXMltMaxFrames;
                 });
    return [o] {
        if (const std::string fault = CheckExportArgs(*o); !fault.empty()) return KfxFail(fault);
        return RunExport(*o);
    };
}

const KfxRegistration kExport({"export", "print a track as MLT animation strings, within a tolerance at every frame", Declare});

}  // namespace
