// Colour and rectangle strings into linear tracks: the string's keyframes, plus the fewest
// linear pieces (checked with the track's own evaluation) that follow MLT's smooth segments.
#include <algorithm>
#include <cfloat>
#include <cmath>

#include "keyfrm/interop/KivFXMltFit.h"
#include "keyfrm/interop/KivFXMltImport.h"
#include "keyfrm/tracks/KivFXTracks.h"

namespace {

constexpr int kColourChannels = 4;
constexpr double kColourStep = 1.0;
constexpr int kAxes = 2;

// Reads text, checking the story's length; the keys or a refusal in out.
bool Parse(std::string_view text, int frames, KivFXMltForm form, KivFXMltImportedTrack& out, std::vector<KivFXMltKey>& keys) {
    out.error = KivFXMltCheckFrames(frames);
    if (!out.error.empty()) return false;
    KivFXMltParsed parsed = KivFXMltParse(text, frames, form);
    if (!parsed.Ok()) {
        out.error = parsed.error;
        out.position = parsed.position;
        return false;
    }
    keys = std::move(parsed.keys);
    return true;
}

// The frames that must be keyframes: the story's ends, the string's keyframes inside it, and
// the frame before the next keyframe after a discrete one (its value held up to there).
std::vector<int> Forced(const std::vector<KivFXMltKey>& keys, int frames) {
    std::vector<int> out{0, frames - 1};
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (keys[i].frame >= 0 && keys[i].frame < frames) out.push_back(keys[i].frame);
        if (keys[i].kind == KivFXMltKind::discrete && i + 1 < keys.size()) {
            const int before = keys[i + 1].frame - 1;
            if (before > keys[i].frame && before >= 0 && before < frames) out.push_back(before);
        }
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

// Keyframe frames covering forced: between two forced frames, from each keyframe on the
// longest linear piece that fits, found by doubling the length tried and then halving the
// gap, so that each piece costs a few passes over its own frames, not over the span's.
template <class Fits>
std::vector<int> Pieces(const std::vector<int>& forced, Fits fits) {
    std::vector<int> out{forced.front()};
    for (std::size_t i = 0; i + 1 < forced.size(); ++i)
        for (int s = forced[i], b = forced[i + 1]; s < b;) {
            int good = s + 1, bad = b + 1;  // a piece of one frame always fits
            for (long long length = 2; good < b; length *= 2) {
                const int e = static_cast<int>(std::min<long long>(s + length, b));
                if (!fits(s, e)) {
                    bad = e;
                    break;
                }
                good = e;
            }
            while (bad - good > 1) {
                const int mid = good + (bad - good) / 2;
                (fits(s, mid) ? good : bad) = mid;
            }
            out.push_back(good);
            s = good;
        }
    return out;
}

// MLT's value of every channel at every frame.
std::vector<std::vector<double>> Targets(const std::vector<KivFXMltKey>& keys, int frames, int channels) {
    std::vector<std::vector<double>> out(static_cast<std::size_t>(channels));
    for (std::size_t c = 0; c < out.size(); ++c) {
        const std::vector<KivFXMltKey> one = KivFXMltChannel(keys, c);
        out[c].reserve(static_cast<std::size_t>(frames));
        for (int f = 0; f < frames; ++f) out[c].push_back(KivFXMltValueAt(one, f));
    }
    return out;
}

std::size_t Index(int f) { return static_cast<std::size_t>(f); }

}  // namespace

KivFXMltImportedTrack KivFXMltImportColour(std::string_view text, int frames) {
    KivFXMltImportedTrack out;
    std::vector<KivFXMltKey> keys;
    if (!Parse(text, frames, KivFXMltForm::colour, out, keys)) return out;
    // MLT clamps each channel (its spline may overshoot) and drops the fraction.
    std::vector<std::vector<double>> mlt = Targets(keys, frames, kColourChannels);
    for (std::vector<double>& channel : mlt)
        for (double& v : channel) v = std::trunc(std::clamp(v, 0.0, 255.0));
    auto location = [&](int f) { return frames > 1 ? static_cast<double>(f) / (frames - 1) : 0.0; };
    auto colourAt = [&](int f) {
        ULONG argb = 0;
        for (const std::vector<double>& channel : mlt) argb = argb << 8 | static_cast<ULONG>(channel[Index(f)]);
        return argb;
    };
    auto miss = [&](const CKivFXColor32KeyFrmList& track, int f) {
        BYTE r = 0, g = 0, b = 0, a = 0;
        track.InsValue(location(f), r, g, b, a);
        double worst = 0.0;
        for (int c = 0; const BYTE v : {a, r, g, b}) worst = std::max(worst, std::fabs(v - mlt[static_cast<std::size_t>(c++)][Index(f)]));
        return worst;
    };
    auto fits = [&](int s, int e) {
        CKivFXColor32KeyFrmList piece;
        piece.SendKeyFrmValue(location(s), colourAt(s));
        piece.SendKeyFrmValue(location(e), colourAt(e));
        for (int f = s + 1; f < e; ++f)
            if (miss(piece, f) > kColourStep) return false;
        return true;
    };
    const std::vector<int> forced = Forced(keys, frames);
    const std::vector<int> made = Pieces(forced, fits);
    auto track = std::make_unique<CKivFXColor32KeyFrmList>();
    for (int f : made) track->SendKeyFrmValue(location(f), colourAt(f));
    for (int f = 0; f < frames; ++f) out.largestDifference = std::max(out.largestDifference, miss(*track, f));
    out.tolerance = kColourStep;
    out.extraKeyframes = static_cast<int>(made.size() - forced.size());
    out.track = std::move(track);
    return out;
}

KivFXMltImportedTrack KivFXMltImportRect(std::string_view text, int frames, const KivFXMltImportOptions& options) {
    KivFXMltImportedTrack out;
    std::vector<KivFXMltKey> keys;
    if (!Parse(text, frames, KivFXMltForm::rect, out, keys)) return out;
    const std::vector<std::vector<double>> mlt = Targets(keys, frames, kAxes);
    double tol[kAxes];
    float lo[kAxes], hi[kAxes];
    for (std::size_t a = 0; a < kAxes; ++a) {
        const auto [least, most] = std::minmax_element(mlt[a].begin(), mlt[a].end());
        if (std::fabs(*least) > FLT_MAX || std::fabs(*most) > FLT_MAX) {
            out.error = "position 0: MLT's rectangles go beyond the range of a track's values";
            return out;
        }
        lo[a] = options.hasRange ? options.minValue : static_cast<float>(*least);
        hi[a] = options.hasRange ? options.maxValue : static_cast<float>(*most);
        tol[a] = KivFXMltTolerance(options.tolerance, static_cast<double>(hi[a]) - lo[a], std::max(std::fabs(*least), std::fabs(*most)));
        out.tolerance = std::max(out.tolerance, tol[a]);
    }
    auto put = [&](CKivFXPosiKeyFrmList& track, int f) {
        CKivFXPosiKeyFrm* k = track.SendKeyFrmValue(f, static_cast<float>(mlt[0][Index(f)]), static_cast<float>(mlt[1][Index(f)]), 0.0f);
        k->Location = frames > 1 ? static_cast<double>(f) / (frames - 1) : 0.0;
    };
    // The largest miss at f in tolerances (worst axis), and in units.
    auto miss = [&](const CKivFXPosiKeyFrmList& track, int f, double& units) {
        float xyz[3];
        track.InsValue(f, xyz[0], xyz[1], xyz[2]);
        double worst = 0.0;
        units = 0.0;
        for (std::size_t a = 0; a < kAxes; ++a) {
            const double d = std::fabs(xyz[a] - mlt[a][Index(f)]);
            units = std::max(units, d);
            worst = std::max(worst, d / tol[a]);
        }
        return worst;
    };
    auto linearTrack = [] {
        auto t = std::make_unique<CKivFXPosiKeyFrmList>();
        t->SetBaseOnFrame(1);
        t->InsMode = 0;
        return t;
    };
    auto fits = [&](int s, int e) {
        auto piece = linearTrack();
        put(*piece, s);
        put(*piece, e);
        double units = 0.0;
        for (int f = s + 1; f < e; ++f)
            if (miss(*piece, f, units) > 1.0) return false;
        return true;
    };
    auto track = linearTrack();
    track->MinX = lo[0], track->MaxX = hi[0], track->MinY = lo[1], track->MaxY = hi[1];
    track->DefX = static_cast<float>(mlt[0][0]), track->DefY = static_cast<float>(mlt[1][0]);
    bool smooth = false;
    for (std::size_t i = 0; i + 1 < keys.size(); ++i) smooth = smooth || keys[i].kind == KivFXMltKind::smooth;
    if (smooth) {
        // MLT's spline per axis is a cubic in the segment's parameter, as the track's Bezier
        // is: handles follow it, as for a scalar string.
        track->InsMode = 1;
        const std::vector<KivFXMltBezierKey> made =
            KivFXMltBezierKeys({KivFXMltChannel(keys, 0), KivFXMltChannel(keys, 1)}, frames, true, {tol[0], tol[1]});
        for (const KivFXMltBezierKey& m : made) {
            CKivFXPosiKeyFrm* k = track->SendKeyFrmValue(m.frame, m.value[0], m.value[1], 0.0f);
            k->Location = frames > 1 ? static_cast<double>(m.frame) / (frames - 1) : 0.0;
            k->Fore = {m.fore[0], m.fore[1], 0.0f};
            k->After = {m.after[0], m.after[1], 0.0f};
        }
        out.extraKeyframes = static_cast<int>(made.size() - keys.size());
    } else {
        const std::vector<int> forced = Forced(keys, frames);
        const std::vector<int> made = Pieces(forced, fits);
        for (int f : made) put(*track, f);
        out.extraKeyframes = static_cast<int>(made.size() - forced.size());
    }
    for (int f = 0; f < frames; ++f) {
        double units = 0.0;
        miss(*track, f, units);
        out.largestDifference = std::max(out.largestDifference, units);
    }
    out.track = std::move(track);
    return out;
}
