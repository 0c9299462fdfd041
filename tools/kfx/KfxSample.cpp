// kfx sample FILE (--frames A:B | --count N) [--track K]: one track's values as CSV.
#include "KfxSample.h"

#include <cstdint>

#include "KfxCommands.h"
#include "KfxProject.h"
#include "keyfrm/tracks/CKivFXTrackView.h"
#include "keyfrm/tracks/KivFXTracks.h"

namespace {

// More samples than this are refused: far beyond any effect, and each one is an object.
constexpr std::int64_t kMaxSamples = 10000000;

// Destroys the samples a track's sampler puts in it.
class Samples : public CObList {
public:
    ~Samples() override {
        while (!IsEmpty()) delete RemoveHead();
    }
};

// The first column: the frame, or the index and its location.
std::string Where(const KfxSampling& how, std::int64_t i) {
    if (how.byFrames) return KfxSpelled(static_cast<std::int64_t>(how.from < how.to ? how.from : how.to) + i);
    const double location = how.count > 1 ? static_cast<double>(i) / static_cast<double>(how.count - 1) : 0.0;
    return KfxSpelled(i) + "," + KfxSpelled(location);
}

// Calls print(i, values) for each sample in order: per-frame samples straight from a view
// of the track (the keyframes sorted once, no object per sample), evenly spaced ones from
// the track's own sampler.
template <class K, class Track, class Print>
void ForEachSample(Track& track, const KfxSampling& how, Print print) {
    if (how.byFrames) {
        CKivFXTrackView<Track> view(track, KivFXViewReads::Snapshot);  // nothing writes the track meanwhile
        const std::int64_t first = how.from < how.to ? how.from : how.to;
        const std::int64_t last = how.from < how.to ? how.to : how.from;
        for (std::int64_t f = first; f <= last; ++f) print(f - first, KivFXValues<K>{view.At(static_cast<int>(f))});
        return;
    }
    Samples samples;
    track.BuildInsValueKF(&samples, how.count);
    std::int64_t i = 0;
    for (POSITION pos = samples.GetHeadPosition(); pos; ++i) print(i, KivFXChannels<K>::Of(*static_cast<const K*>(samples.GetNext(pos))));
}

}  // namespace

void KfxWriteSamples(CKivObList& track, const KfxSampling& how, std::FILE* out) {
    const std::string first = how.byFrames ? "frame" : "index,location";
    if (track.IsKindOf(RUNTIME_CLASS(CKivFXInsKeyFrmList))) {
        std::fprintf(out, "%s,value\n", first.c_str());
        ForEachSample<CKivFXValueKeyFrm>(static_cast<CKivFXInsKeyFrmList&>(track), how, [&](std::int64_t i, const auto& v) {
            std::fprintf(out, "%s,%s\n", Where(how, i).c_str(), KfxSpelled(v[0]).c_str());
        });
    } else if (track.IsKindOf(RUNTIME_CLASS(CKivFXPosiKeyFrmList))) {
        std::fprintf(out, "%s,x,y,z\n", first.c_str());
        ForEachSample<CKivFXPosiKeyFrm>(static_cast<CKivFXPosiKeyFrmList&>(track), how, [&](std::int64_t i, const auto& v) {
            std::fprintf(out, "%s,%s,%s,%s\n", Where(how, i).c_str(), KfxSpelled(v[0]).c_str(), KfxSpelled(v[1]).c_str(), KfxSpelled(v[2]).c_str());
        });
    } else {
        if (how.byFrames) throw KfxError("a colour track is placed by location only: use --count");
        Samples samples;
        static_cast<CKivFXColor32KeyFrmList&>(track).BuildInsValueKF(&samples, how.count);
        std::fprintf(out, "%s,red,green,blue,alpha\n", first.c_str());
        std::int64_t i = 0;
        for (POSITION pos = samples.GetHeadPosition(); pos; ++i) {
            const tagCOLOR32 c = static_cast<CKivFXColor32KeyFrm*>(samples.GetNext(pos))->GetColor32();
            std::fprintf(out, "%s,%d,%d,%d,%d\n", Where(how, i).c_str(), c.red, c.green, c.blue, c.alpha);
        }
    }
}

namespace {

struct Options {
    std::string file;
    KfxSampling how;
    std::int64_t track = 0;
};

// "A:B", two frame numbers whose span holds at most kMaxSamples frames.
bool ParseFrames(const std::string& v, KfxSampling& how) {
    const size_t colon = v.find(':', 1);  // from 1: A may be negative
    std::int64_t from = 0, to = 0;
    if (colon == std::string::npos || !KfxParseNumber(v.substr(0, colon), from) || !KfxParseNumber(v.substr(colon + 1), to) ||
        from < INT32_MIN || from > INT32_MAX || to < INT32_MIN || to > INT32_MAX || (to > from ? to - from : from - to) + 1 > kMaxSamples)
        return false;
    how.byFrames = true;
    how.from = static_cast<int>(from);
    how.to = static_cast<int>(to);
    return true;
}

int Run(const Options& o) {
    CKivObList list;
    KfxLoad(o.file, list);
    const std::vector<CKivObList*> tracks = KfxTracks(list);
    if (o.track >= static_cast<std::int64_t>(tracks.size()))
        return KfxFail(o.file + ": no track " + KfxSpelled(o.track) + " (the file holds " + KfxSpelled(tracks.size()) + ")");
    KfxWriteSamples(*tracks[static_cast<size_t>(o.track)], o.how, stdout);
    return kKfxOk;
}

KfxRun Declare(CLI::App& command) {
    auto o = std::make_shared<Options>();
    command.footer("Prints one track of FILE (.kfa or .xml) as CSV. --frames samples every frame\n"
                   "from A to B (scalar and position tracks), always in ascending frame order: with\n"
                   "A above B the rows are those of B:A. --count makes N evenly spaced samples,\n"
                   "sample i standing for location i / (N - 1). At most " +
                   KfxSpelled(kMaxSamples) + " samples.");
    command.add_option("FILE", o->file, "the project file to read")->required();
    CLI::Option* frames = KfxAddOption(command, "--frames", "A:B", "sample every frame from A to B",
                                       "--frames takes A:B, two frame numbers at most " + KfxSpelled(kMaxSamples) + " apart",
                                       [o](const std::string& v) { return ParseFrames(v, o->how); });
    CLI::Option* count = KfxAddOption(command, "--count", "N", "make N evenly spaced samples",
                                      "--count takes a number of samples from 1 to " + KfxSpelled(kMaxSamples), [o](const std::string& v) {
                                          std::int64_t n = 0;
                                          if (!KfxParseNumber(v, n) || n < 1 || n > kMaxSamples) return false;
                                          o->how.count = static_cast<ULONG>(n);
                                          return true;
                                      });
    frames->excludes(count);
    KfxAddOption(command, "--track", "K", "the K-th track of the file, from 0 (default 0)", "--track takes a track number from 0",
                 [o](const std::string& v) { return KfxParseNumber(v, o->track) && o->track >= 0; });
    return [o, frames, count] {
        if (!frames->count() && !count->count()) return KfxFail("sample needs --frames A:B or --count N (see kfx sample --help)");
        return Run(*o);
    };
}

const KfxRegistration kSample({"sample", "print a track's values as CSV, per frame or evenly spaced", Declare});

}  // namespace
