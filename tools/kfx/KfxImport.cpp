// kfx import --from mlt STRING --frames N -o OUT.kfa|.xml [--min A --max B] [--tolerance T]:
// an MLT animation string as a project of one scalar track.
#include <cmath>
#include <cstdio>

#include "KfxCommands.h"
#include "KfxProject.h"
#include "keyfrm/interop/KivFXInterop.h"
#include "keyfrm/tracks/KivFXTracks.h"

namespace {

struct ImportArgs {
    std::string from;
    std::string text;
    bool haveText = false;
    int frames = 0;
    std::string out;
    bool haveMin = false, haveMax = false;
    KivFXMltImportOptions options;
};

// Reads the arguments into out; the message of the first fault, or empty.
std::string ParseImportArgs(const KfxArgs& args, ImportArgs& out) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--from" || a == "--frames" || a == "-o" || a == "--min" || a == "--max" || a == "--tolerance") {
            if (i + 1 >= args.size()) return a + " needs a value (see kfx import --help)";
            const std::string& v = args[++i];
            if (a == "--from") {
                out.from = v;
            } else if (a == "-o") {
                out.out = v;
            } else if (a == "--frames") {
                if (!KfxParseNumber(v, out.frames) || out.frames < 1 || out.frames > kKivFXMltMaxFrames)
                    return "--frames takes a number of frames from 1 to " + KfxSpelled(kKivFXMltMaxFrames) + ", not '" + v + "'";
            } else if (a == "--tolerance") {
                if (!KfxParseNumber(v, out.options.tolerance) || !(out.options.tolerance >= 0.0) || out.options.tolerance > 1e300)
                    return "--tolerance takes a difference of 0 or more, not '" + v + "'";
            } else {
                float& bound = a == "--min" ? out.options.minValue : out.options.maxValue;
                if (!KfxParseNumber(v, bound) || !std::isfinite(bound)) return a + " takes a number, not '" + v + "'";
                (a == "--min" ? out.haveMin : out.haveMax) = true;
            }
        } else if (!out.haveText && (a.empty() || a[0] != '-' || (a.size() > 1 && (a[1] == '=' || (a[1] >= '0' && a[1] <= '9'))))) {
            // A string may start with a negative frame ("-1=5"); an empty one is refused below.
            out.text = a;
            out.haveText = true;
        } else if (!a.empty() && a[0] == '-') {
            return "unknown option '" + a + "' (see kfx import --help)";
        } else {
            return "import takes one STRING (see kfx import --help)";
        }
    }
    if (out.from.empty() || !out.haveText || out.frames == 0 || out.out.empty())
        return "import needs --from mlt, STRING, --frames N and -o OUT (see kfx import --help)";
    if (out.from != "mlt") return "--from knows only 'mlt', not '" + out.from + "'";
    if (out.haveMin != out.haveMax) return "--min and --max go together";
    if (out.haveMin && out.options.minValue > out.options.maxValue) return "--min is above --max";
    if (KfxFormatOf(out.out) == KfxFormat::unknown) return out.out + ": give a .kfa or .xml file";
    out.options.hasRange = out.haveMin;
    return {};
}

int RunImport(const ImportArgs& a) {
    KivFXMltImported in = KivFXMltImport(a.text, a.frames, a.options);
    if (!in.Ok()) return KfxFail("the MLT string at " + in.error);
    CKivObList project;
    project.AddTail(static_cast<CObject*>(in.track.release()));
    KfxSave(a.out, project);
    std::printf("%s: a scalar track of %d keyframes (%d added), largest difference from MLT %s (tolerance %s)\n", a.out.c_str(),
                static_cast<int>(static_cast<CKivFXInsKeyFrmList*>(project.GetHead())->GetKeyFrmCount()), in.extraKeyframes,
                KfxSpelled(in.largestDifference).c_str(), KfxSpelled(in.tolerance).c_str());
    return kKfxOk;
}

}  // namespace

int KfxImport(const KfxArgs& args) {
    if (KfxWantsHelp(args)) {
        std::printf(
            "usage: kfx import --from mlt STRING --frames N -o OUT.kfa|.xml [--min A --max B]\n"
            "                  [--tolerance T]\n\n"
            "Reads an MLT animation string (\"0=0;25~=10;50|=3\", as MLT 7.12 reads it) over a\n"
            "story of N frames and writes a project holding one frame-based scalar track. Linear\n"
            "and discrete keyframes come over exactly (a discrete value held by a second keyframe\n"
            "on the frame before the next); smooth ones as Bezier handles, with keyframes added\n"
            "where the track would differ from MLT by more than T (default 0.1 %% of the range).\n"
            "--min and --max set the track's range (default: the values the string reaches).\n"
            "Strings MLT would misread, and the kinds of later MLT releases, are refused.\n");
        return kKfxOk;
    }
    ImportArgs a;
    if (const std::string fault = ParseImportArgs(args, a); !fault.empty()) return KfxFail(fault);
    return RunImport(a);
}
