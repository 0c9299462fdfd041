#include "keyfrm/interop/KivFXMltExport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "keyfrm/interop/KivFXMltFit.h"
#include "keyfrm/tracks/KivFXTracks.h"

namespace {

// One step of a colour channel: MLT and the track both truncate, and may fall either side.
constexpr double kColourStep = 1.0;

struct Story {
    int frames = 0;
    bool byFrame = false;
    // The frame a keyframe sits on, or -1 when it is outside the story.
    int FrameOf(const CKivFXInsValueKeyFrm& k) const {
        const double f = byFrame ? static_cast<double>(k.Frame) : std::nearbyint(k.Location * (frames - 1));
        return f >= 0.0 && f < frames ? static_cast<int>(f) : -1;
    }
    double Location(int f) const { return frames > 1 ? static_cast<double>(f) / (frames - 1) : 0.0; }
};

template <class Track>
std::vector<int> KeyFrames(const Track& track, const Story& story) {
    std::vector<int> frames;
    for (int i = 0; i < track.GetKeyFrmCount(); ++i)
        if (const auto* k = track.GetFXKeyFrm(i); k && story.FrameOf(*k) >= 0) frames.push_back(story.FrameOf(*k));
    std::sort(frames.begin(), frames.end());
    frames.erase(std::unique(frames.begin(), frames.end()), frames.end());
    return frames;
}

// The story from the options, or an error.
template <class Track>
bool MakeStory(const Track& track, bool byFrame, const KivFXMltExportOptions& options, Story& story, KivFXMltExported& out) {
    story.byFrame = byFrame;
    long long frames = options.frames;
    if (frames == 0 && !byFrame) frames = kKivFXMltDefaultLocationFrames;
    if (frames == 0) {
        long long last = 0;
        for (int i = 0; i < track.GetKeyFrmCount(); ++i)
            if (const auto* k = track.GetFXKeyFrm(i)) last = std::max<long long>(last, k->Frame);
        frames = last + 1;
    }
    out.error = KivFXMltCheckFrames(frames);
    if (!out.Ok()) return false;
    story.frames = static_cast<int>(frames);
    out.frames = story.frames;
    return true;
}

double Tolerance(const KivFXMltExportOptions& options, double range, const std::vector<double>& samples) {
    double largest = 0.0;
    for (double v : samples) largest = std::max(largest, std::fabs(v));
    return KivFXMltTolerance(options.tolerance, range, largest);
}

// Fits the curve, fills out's figures and, unless the caller spells them itself, one string
// per channel; returns the fitted keyframes.
std::vector<KivFXMltKey> Finish(const KivFXMltCurve& curve, KivFXMltExported& out, bool strings = true) {
    for (const std::vector<double>& channel : curve.channels)
        for (std::size_t f = 0; f < channel.size(); ++f)
            if (!std::isfinite(channel[f])) {
                out.error = "the track's value at frame " + std::to_string(f) + " is not a number MLT can hold";
                return {};
            }
    const std::vector<KivFXMltKey> fitted = KivFXMltFit(curve);
    out.keyframes = static_cast<int>(fitted.size());
    out.extraKeyframes = static_cast<int>(fitted.size() - std::min(curve.forced.size(), fitted.size()));
    for (std::size_t c = 0; c < curve.channels.size(); ++c) {
        const std::vector<KivFXMltKey> keys = KivFXMltChannelKeys(curve, fitted, c);
        for (int f = 0; f < out.frames; ++f) {
            double model = KivFXMltValueAt(keys, f);
            if (curve.whole) model = std::trunc(model);
            out.largestDifference = std::max(out.largestDifference, std::fabs(model - curve.channels[c][static_cast<std::size_t>(f)]));
        }
        if (strings) out.strings.push_back(KivFXMltFormat(keys));
    }
    return fitted;
}

}  // namespace

KivFXMltExported KivFXMltExport(const CKivFXInsKeyFrmList& track, const KivFXMltExportOptions& options) {
    KivFXMltExported out;
    Story story;
    if (!MakeStory(track, track.IsBaseOnFrame() != 0, options, story, out)) return out;
    KivFXMltCurve curve;
    curve.channels.resize(1);
    for (int f = 0; f < story.frames; ++f)
        curve.channels[0].push_back(story.byFrame ? track.InsValue(f) : track.InsValue(story.Location(f)));
    curve.tolerance = {Tolerance(options, static_cast<double>(track.MaxValue) - track.MinValue, curve.channels[0])};
    out.tolerance = curve.tolerance[0];
    curve.forced = KeyFrames(track, story);
    Finish(curve, out);
    return out;
}

KivFXMltExported KivFXMltExport(const CKivFXPosiKeyFrmList& track, const KivFXMltExportOptions& options) {
    KivFXMltExported out;
    Story story;
    if (!MakeStory(track, track.IsBaseOnFrame() != 0, options, story, out)) return out;
    const std::vector<int> forced = KeyFrames(track, story);
    const double ranges[] = {static_cast<double>(track.MaxX) - track.MinX, static_cast<double>(track.MaxY) - track.MinY,
                             static_cast<double>(track.MaxZ) - track.MinZ};
    std::vector<double> axes[3];
    for (int f = 0; f < story.frames; ++f) {
        float x = 0, y = 0, z = 0;
        if (story.byFrame)
            track.InsValue(f, x, y, z);
        else
            track.InsValue(story.Location(f), x, y, z);
        axes[0].push_back(x);
        axes[1].push_back(y);
        axes[2].push_back(z);
    }
    KivFXMltExported axis[3];
    for (int a = 0; a < 3; ++a) {
        axis[a].frames = story.frames;
        KivFXMltCurve curve;
        curve.channels = {axes[a]};
        curve.tolerance = {Tolerance(options, ranges[a], axes[a])};
        curve.forced = forced;
        Finish(curve, axis[a]);
        if (!axis[a].Ok()) return axis[a];
        out.strings.push_back(axis[a].strings[0]);
        out.keyframes = std::max(out.keyframes, axis[a].keyframes);
        out.extraKeyframes = std::max(out.extraKeyframes, axis[a].extraKeyframes);
        out.largestDifference = std::max(out.largestDifference, axis[a].largestDifference);
        out.tolerance = std::max(out.tolerance, curve.tolerance[0]);
    }
    return out;
}

KivFXMltExported KivFXMltExport(const CKivFXColor32KeyFrmList& track, const KivFXMltExportOptions& options) {
    KivFXMltExported out;
    Story story;
    if (!MakeStory(track, false, options, story, out)) return out;
    KivFXMltCurve curve;
    curve.channels.resize(4);
    for (int f = 0; f < story.frames; ++f) {
        BYTE r = 0, g = 0, b = 0, a = 0;
        track.InsValue(story.Location(f), r, g, b, a);
        for (int c = 0; const BYTE v : {a, r, g, b}) curve.channels[static_cast<std::size_t>(c++)].push_back(v);
    }
    const double tol = options.tolerance >= kColourStep ? options.tolerance : kColourStep;
    curve.tolerance.assign(4, tol);
    out.tolerance = tol;
    curve.smooth = false;
    curve.whole = true;
    curve.forced = KeyFrames(track, story);
    std::string text;
    for (const KivFXMltKey& k : Finish(curve, out, false)) {
        char buf[32];
        unsigned argb[4];
        for (std::size_t c = 0; c < 4; ++c) argb[c] = static_cast<unsigned>(curve.channels[c][static_cast<std::size_t>(k.frame)]);
        std::snprintf(buf, sizeof buf, "%s%d=#%02x%02x%02x%02x", text.empty() ? "" : ";", k.frame, argb[0], argb[1], argb[2], argb[3]);
        text += buf;
    }
    out.strings.push_back(text);
    return out;
}
