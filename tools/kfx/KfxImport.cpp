// kfx import --from mlt STRING --frames N -o OUT.kfa|.xml [--kind K] [--min A --max B]
// [--tolerance T]: an MLT animation string as a project of one track.
#include <cmath>
#include <cstdio>
#include <memory>

#include "KfxCommands.h"
#include "KfxProject.h"
#include "keyfrm/interop/KivFXInterop.h"
#include "keyfrm/tracks/KivFXTracks.h"

namespace {

struct ImportArgs {
    std::string from;
    std::string text;
    int frames = 0;
    std::string out;
    std::string kind = "auto";
    bool haveMin = false, haveMax = false;
    KivFXMltImportOptions options;
};

// Faults the options cannot see one by one.
std::string CheckImportArgs(ImportArgs& out) {
    if (out.from != "mlt") return "--from knows only 'mlt', not '" + out.from + "'";
    if (out.haveMin != out.haveMax) return "--min and --max go together";
    if (out.haveMin && out.options.minValue > out.options.maxValue) return "--min is above --max";
    if (KfxFormatOf(out.out) == KfxFormat::unknown) return out.out + ": give a .kfa or .xml file";
    out.options.hasRange = out.haveMin;
    return {};
}

// Writes the track made (or says why none was) and its figures.
template <class Imported>
int Save(const ImportArgs& a, Imported& in) {
    if (!in.Ok()) return KfxFail("the MLT string at " + in.error);
    CKivObList project;
    CKivObList& track = *in.track;
    project.AddTail(static_cast<CObject*>(in.track.release()));
    KfxSave(a.out, project);
    std::printf("%s: a %s track of %d keyframes (%d added), largest difference from MLT %s (tolerance %s)\n", a.out.c_str(),
                KfxTrackKind(track).c_str(), static_cast<int>(track.GetCount()), in.extraKeyframes, KfxSpelled(in.largestDifference).c_str(),
                KfxSpelled(in.tolerance).c_str());
    return kKfxOk;
}

int RunImport(const ImportArgs& a) {
    KivFXMltForm form = KivFXMltDetectForm(a.text);
    if (a.kind != "auto") form = a.kind == "colour" ? KivFXMltForm::colour : a.kind == "rect" ? KivFXMltForm::rect : KivFXMltForm::scalar;
    if (form == KivFXMltForm::colour) {
        if (a.options.hasRange) return KfxFail("--min and --max are for numbers and rectangles, not colours");
        KivFXMltImportedTrack in = KivFXMltImportColour(a.text, a.frames);
        return Save(a, in);
    }
    if (form == KivFXMltForm::rect) {
        KivFXMltImportedTrack in = KivFXMltImportRect(a.text, a.frames, a.options);
        return Save(a, in);
    }
    KivFXMltImported in = KivFXMltImport(a.text, a.frames, a.options);
    return Save(a, in);
}

KfxRun Declare(CLI::App& command) {
    auto o = std::make_shared<ImportArgs>();
    command.footer(
        "Reads an MLT animation string (\"0=0;25~=10;50|=3\", as MLT 7.12 reads it) over a\n"
        "story of N frames and writes a project holding one frame-based scalar track. Linear\n"
        "and discrete keyframes come over exactly (a discrete value held by a second keyframe\n"
        "on the frame before the next); smooth ones as Bezier handles, with keyframes added\n"
        "where the track would differ from MLT by more than T (default 0.1 % of the range).\n"
        "--kind colour reads \"#aarrggbb\" or \"#rrggbb\" values into a colour track (within one\n"
        "channel step; smooth segments become added keyframes), --kind rect rectangles\n"
        "(\"x y w h\", \"x/y:wxh:o\") into a position track of their x and y (Bezier if smooth). The\n"
        "default, auto, takes the kind from the first value: '#' a colour, two numbers a rect.\n"
        "--min and --max set the track's range (default: the values the string reaches).\n"
        "Strings MLT would misread, and the kinds of later MLT releases, are refused.\n"
        "A string that starts with '-' (a frame counted from the end) goes after '--'.");
    command.add_option("STRING", o->text, "the MLT animation string")->required();
    KfxAddOption(command, "--from", "mlt", "the form to read: mlt", "--from knows only 'mlt'",
                 [o](const std::string& v) { o->from = v; return v == "mlt"; })->required();
    KfxAddOption(command, "--frames", "N", "the story's length in frames",
                 "--frames takes a number of frames from 1 to " + KfxSpelled(kKivFXMltMaxFrames),
                 [o](const std::string& v) { return KfxParseNumber(v, o->frames) && o->frames >= 1 && o->frames <= kKivFXMltMaxFrames; })
        ->required();
    command.add_option("-o", o->out, "the project file to write (.kfa or .xml)")->required();
    KfxAddOption(command, "--kind", "K", "what the values are: auto (default), scalar, colour or rect",
                 "--kind takes auto, scalar, colour or rect", [o](const std::string& v) {
                     o->kind = v;
                     return v == "auto" || v == "scalar" || v == "colour" || v == "rect";
                 });
    KfxAddOption(command, "--tolerance", "T", "the largest difference allowed at a frame", "--tolerance takes a difference of 0 or more",
                 [o](const std::string& v) {
                     return KfxParseNumber(v, o->options.tolerance) && o->options.tolerance >= 0.0 && o->options.tolerance <= 1e300;
                 });
    KfxAddOption(command, "--min", "A", "the track's lowest value", "--min takes a number", [o](const std::string& v) {
        o->haveMin = true;
        return KfxParseNumber(v, o->options.minValue) && std::isfinite(o->options.minValue);
    });
    KfxAddOption(command, "--max", "B", "the track's highest value", "--max takes a number", [o](const std::string& v) {
        o->haveMax = true;
        return KfxParseNumber(v, o->options.maxValue) && std::isfinite(o->options.maxValue);
    });
    return [o] {
        if (const std::string fault = CheckImportArgs(*o); !fault.empty()) return KfxFail(fault);
        return RunImport(*o);
    };
}

const KfxRegistration kImport({"import", "read an MLT animation string into a project of one track", Declare});

}  // namespace
