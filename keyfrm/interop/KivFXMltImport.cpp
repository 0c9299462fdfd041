#include "keyfrm/interop/KivFXMltImport.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "keyfrm/interop/KivFXMltFit.h"
#include "keyfrm/tracks/KivFXTrackMath.h"
#include "keyfrm/tracks/KivFXTracks.h"
#include "kivbase/KivInterpolate.h"

namespace {

// Pulls the least-squares handles towards a straight line's thirds, just enough to settle
// the segments with fewer frames inside than handles to choose.
constexpr double kHandlePull = 1e-9;
// Two handles meet any two frames inside a segment: segments with no more are not split.
constexpr int kExactInside = 2;

// A number the track keeps as a float: MLT's spline may overshoot beyond a float's range,
// where the track cannot follow anyway.
float ToFloat(double v) { return static_cast<float>(std::clamp(v, -static_cast<double>(FLT_MAX), static_cast<double>(FLT_MAX))); }

using BezierKey = KivFXMltBezierKey;

class Builder {
public:
    Builder(const std::vector<std::vector<KivFXMltKey>>& channels, int frames, bool bezier, const std::vector<double>& tol)
        : m_mlt(channels), m_last(frames - 1), m_bezier(bezier), m_tol(tol) {}

    std::vector<BezierKey> Build() {
        const std::vector<KivFXMltKey>& keys = m_mlt[0];
        m_keys.push_back(KeyAt(0));
        for (std::size_t i = 0; i + 1 < keys.size(); ++i) {
            const KivFXMltKey& a = keys[i];
            const KivFXMltKey& b = keys[i + 1];
            if (a.kind == KivFXMltKind::discrete && b.frame - a.frame > 1) {
                BezierKey held = KeyAt(i);
                held.frame = b.frame - 1;
                m_keys.push_back(held);
            }
            if (m_bezier && a.kind != KivFXMltKind::discrete)
                Fit(a.frame, KeyAt(i + 1));
            else
                m_keys.push_back(KeyAt(i + 1));
        }
        return m_keys;
    }

private:
    // The i-th keyframe of the string, every channel.
    BezierKey KeyAt(std::size_t i) const {
        BezierKey k{m_mlt[0][i].frame};
        for (std::size_t c = 0; c < m_mlt.size(); ++c) k.value[c] = ToFloat(m_mlt[c][i].value);
        return k;
    }
    double Target(std::size_t c, int f) const { return KivFXMltValueAt(m_mlt[c], f); }

    // Appends the key b after handles for the segment from the last key made: per channel,
    // least squares over its frames inside the story, split in two where a channel misses by
    // more than its tolerance (frames outside the story are never evaluated, so they do not
    // count).
    void Fit(int s, BezierKey b) {
        const std::size_t ia = m_keys.size() - 1;
        const int e = b.frame, lo = std::max(s + 1, 0), hi = std::min(e - 1, m_last);
        BezierKey& a = m_keys[ia];
        std::array<float, kKivFXMltMostAxes> after{};
        bool misses = false;
        for (std::size_t c = 0; c < m_mlt.size(); ++c) {
            const double va = a.value[c], vb = b.value[c];
            double m11 = kHandlePull, m12 = 0.0, m22 = kHandlePull;
            double r1 = kHandlePull * (va + (vb - va) / 3.0), r2 = kHandlePull * (vb - (vb - va) / 3.0);
            for (int f = lo; f <= hi; ++f) {
                const double t = KivFXBezierParam(s, e, f), u = 1.0 - t;
                const double g1 = 3.0 * t * u * u, g2 = 3.0 * t * t * u;
                const double r = Target(c, f) - va * u * u * u - vb * t * t * t;
                m11 += g1 * g1;
                m12 += g1 * g2;
                m22 += g2 * g2;
                r1 += g1 * r;
                r2 += g2 * r;
            }
            const double det = m11 * m22 - m12 * m12;
            after[c] = ToFloat((r1 * m22 - r2 * m12) / det - va);
            b.fore[c] = ToFloat((m11 * r2 - m12 * r1) / det - vb);
            misses = misses || Miss(c, s, e, a.value[c], after[c], b.value[c], b.fore[c]) > m_tol[c];
        }
        if (hi - lo >= kExactInside && misses) {
            const int mid = lo + (hi - lo) / 2;
            BezierKey middle{mid};
            for (std::size_t c = 0; c < m_mlt.size(); ++c) middle.value[c] = ToFloat(Target(c, mid));
            Fit(s, middle);
            Fit(mid, b);
            return;
        }
        a.after = after;
        m_keys.push_back(b);
    }

    // The worst difference of channel c inside the segment, evaluated as the track evaluates it.
    double Miss(std::size_t c, int s, int e, float a, float after, float b, float fore) const {
        const float p[4] = {a, a + after, b + fore, b};
        double worst = 0.0;
        for (int f = std::max(s + 1, 0); f <= std::min(e - 1, m_last); ++f)
            worst = std::max(worst, std::fabs(KivPublicInsBezier3(p, KivFXBezierParam(s, e, f)) - Target(c, f)));
        return worst;
    }

    const std::vector<std::vector<KivFXMltKey>>& m_mlt;
    int m_last;
    bool m_bezier;
    std::vector<double> m_tol;
    std::vector<BezierKey> m_keys;
};

}  // namespace

std::vector<KivFXMltBezierKey> KivFXMltBezierKeys(const std::vector<std::vector<KivFXMltKey>>& channels, int frames, bool bezier,
                                                  const std::vector<double>& tolerance) {
    return Builder(channels, frames, bezier, tolerance).Build();
}

KivFXMltImported KivFXMltImport(std::string_view text, int frames, const KivFXMltImportOptions& options) {
    KivFXMltImported out;
    out.error = KivFXMltCheckFrames(frames);
    if (!out.error.empty()) return out;
    KivFXMltParsed parsed = KivFXMltParse(text, frames);
    if (!parsed.Ok()) {
        out.error = parsed.error;
        out.position = parsed.position;
        return out;
    }
    const std::vector<KivFXMltKey>& keys = parsed.keys;
    for (const KivFXMltKey& k : keys)
        if (std::fabs(k.value) > FLT_MAX) {
            out.position = k.position;
            out.error = "position " + std::to_string(k.position) + ": value beyond the range of a track's values";
            return out;
        }
    std::vector<double> targets(static_cast<std::size_t>(frames));
    for (int f = 0; f < frames; ++f) {
        const double v = targets[static_cast<std::size_t>(f)] = KivFXMltValueAt(keys, f);
        if (std::fabs(v) > FLT_MAX) {
            // Only a smooth segment overshoots: name the keyframe that starts it.
            std::size_t k = 0;
            while (k + 1 < keys.size() && keys[k + 1].frame <= f) ++k;
            out.position = keys[k].position;
            out.error = "position " + std::to_string(out.position) + ": MLT's curve from this keyframe goes beyond the range of a track's values (frame " +
                        std::to_string(f) + ")";
            return out;
        }
    }
    double lo = targets[0], hi = targets[0], largest = 0.0;
    for (double v : targets) lo = std::min(lo, v), hi = std::max(hi, v);
    for (const KivFXMltKey& k : keys) lo = std::min(lo, k.value), hi = std::max(hi, k.value), largest = std::max(largest, std::fabs(k.value));
    const float minValue = options.hasRange ? options.minValue : ToFloat(lo);
    const float maxValue = options.hasRange ? options.maxValue : ToFloat(hi);
    out.tolerance = KivFXMltTolerance(options.tolerance, static_cast<double>(maxValue) - minValue, largest);

    bool bezier = false;
    for (std::size_t i = 0; i + 1 < keys.size(); ++i) bezier = bezier || keys[i].kind == KivFXMltKind::smooth;
    const std::vector<BezierKey> made = KivFXMltBezierKeys({keys}, frames, bezier, {out.tolerance});

    auto track = std::make_unique<CKivFXInsKeyFrmList>();
    track->SetBaseOnFrame(1);
    track->InsMode = bezier ? 1 : 0;
    track->MinValue = minValue;
    track->MaxValue = maxValue;
    track->DefValue = made.front().value[0];
    for (std::size_t i = 0; i < made.size(); ++i) {
        auto key = std::make_unique<CKivFXValueKeyFrm>();
        const BezierKey& k = made[i];
        key->Frame = k.frame;
        key->Location = frames > 1 ? static_cast<double>(k.frame) / (frames - 1) : 0.0;
        key->Value = k.value[0];
        // Handles reach a third of the way to each neighbour; a linear track's rise a third of
        // the way too, so that switching it to Bezier keeps its lines.
        const BezierKey* prev = i > 0 ? &made[i - 1] : nullptr;
        const BezierKey* next = i + 1 < made.size() ? &made[i + 1] : nullptr;
        key->PtFore = {bezier || !prev ? k.fore[0] : (prev->value[0] - k.value[0]) / 3.0f, prev ? (prev->frame - k.frame) / 3.0 : 0.0};
        key->PtAfter = {bezier || !next ? k.after[0] : (next->value[0] - k.value[0]) / 3.0f, next ? (next->frame - k.frame) / 3.0 : 0.0};
        track->AddTail(key.release());
    }
    for (int f = 0; f < frames; ++f)
        out.largestDifference = std::max(out.largestDifference, std::fabs(track->InsValue(f) - targets[static_cast<std::size_t>(f)]));
    out.extraKeyframes = static_cast<int>(made.size() - keys.size());
    out.track = std::move(track);
    return out;
}
