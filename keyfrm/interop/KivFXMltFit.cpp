#include "keyfrm/interop/KivFXMltFit.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace {

// Differences below a few float steps of the values are rounding.
constexpr double kFloatSlack = 4.0 * FLT_EPSILON;

using Keys = std::vector<KivFXMltKey>;

class Fitter {
public:
    Fitter(const KivFXMltCurve& c, bool farGuess) : m_c(c), m_n(c.channels.empty() ? 0 : static_cast<int>(c.channels[0].size())), m_farGuess(farGuess) {
        for (const std::vector<double>& channel : c.channels) {
            m_written.emplace_back();
            for (double v : channel) m_written.back().push_back(KivFXMltAsWritten(v));
        }
    }

    Keys Run() {
        if (m_n == 0) return {};
        m_forced = m_c.forced;
        if (m_forced.empty() || !Held(0, m_forced.front())) m_forced.insert(m_forced.begin(), 0);
        if (!Held(m_forced.back(), m_n - 1)) m_forced.push_back(m_n - 1);
        m_spans.resize(m_forced.size() - 1);
        for (std::size_t i = 0; i < m_spans.size(); ++i) m_spans[i] = Span(i, Prev(i), kGuess);
        // Each span was fitted with a guess of the keyframe after it; fit again those the
        // real neighbours break, a few rounds, then mend what is left piece by piece.
        constexpr int kRounds = 8;
        for (int round = 0, changed = 1; round < kRounds && changed; ++round) {
            changed = 0;
            for (std::size_t i = 0; i < m_spans.size(); ++i)
                if (!SpanFits(i)) {
                    m_spans[i] = Span(i, Prev(i), After(i));
                    changed = 1;
                }
        }
        for (const Keys& span : m_spans) m_keys.insert(m_keys.end(), span.begin(), span.end());
        m_keys.push_back({m_forced.back(), 0.0, KivFXMltKind::linear});
        Repair();
        return m_keys;
    }

private:
    static constexpr int kGuess = -1;

    double Sample(std::size_t c, int f) const { return m_c.channels[c][static_cast<std::size_t>(f)]; }
    // A keyframe's value as MLT reads it from the string: the sample, rounded by its spelling.
    double Written(std::size_t c, int f) const { return m_written[c][static_cast<std::size_t>(f)]; }

    // How far the model misses frame f, in tolerances.
    double Miss(std::size_t c, int f, double model) const {
        if (m_c.whole) model = std::trunc(model);
        return std::fabs(model - Sample(c, f)) / m_c.tolerance[c];
    }

    // True when every frame of [a, b] is within the tolerance of frame a's sample.
    bool Held(int a, int b) const {
        for (std::size_t c = 0; c < m_c.channels.size(); ++c)
            for (int f = std::min(a, b); f <= std::max(a, b); ++f)
                if (Miss(c, f, Written(c, a)) > 1.0) return false;
        return true;
    }

    // The miss at frame f of a piece s..e of that kind with those neighbours (worst channel).
    double FrameMiss(int prev, int s, int e, int next, KivFXMltKind kind, int f) const {
        double worst = 0.0;
        const double u = static_cast<double>(f - s) / static_cast<double>(e - s);
        for (std::size_t c = 0; c < m_c.channels.size(); ++c) {
            const double y0 = Written(c, prev), y1 = Written(c, s), y2 = Written(c, e), y3 = Written(c, next);
            const double model = kind == KivFXMltKind::linear ? y1 + (y2 - y1) * u : KivFXMltCatmullRom(y0, y1, y2, y3, u);
            worst = std::max(worst, Miss(c, f, model));
        }
        return worst;
    }

    // The worst miss strictly inside (s, e); it stops looking once past stopAbove.
    double PieceMiss(int prev, int s, int e, int next, KivFXMltKind kind, double stopAbove) const {
        double worst = 0.0;
        for (int f = s + 1; f < e && worst <= stopAbove; ++f) worst = std::max(worst, FrameMiss(prev, s, e, next, kind, f));
        return worst;
    }

    // The keyframe before forced[i] and the one after forced[i + 1], as things stand.
    int Prev(std::size_t i) const { return i == 0 ? m_forced[0] : m_spans[i - 1].back().frame; }
    int After(std::size_t i) const {
        if (i + 1 >= m_spans.size()) return m_forced[i + 1];
        return m_spans[i + 1].size() > 1 ? m_spans[i + 1][1].frame : m_forced[i + 2];
    }

    bool SpanFits(std::size_t i) const {
        const Keys& span = m_spans[i];
        for (std::size_t j = 0; j < span.size(); ++j) {
            const int prev = j == 0 ? Prev(i) : span[j - 1].frame;
            const int e = j + 1 < span.size() ? span[j + 1].frame : m_forced[i + 1];
            const int next = j + 2 < span.size() ? span[j + 2].frame : j + 1 < span.size() ? m_forced[i + 1] : After(i);
            if (PieceMiss(prev, span[j].frame, e, next, span[j].kind, 1.0) > 1.0) return false;
        }
        return true;
    }

    // Covers forced[i]..forced[i + 1] with the fewer keyframes of two ways: pieces of equal
    // length (MLT's spline is uniform: its tangents follow the neighbours' values only when
    // they are evenly spaced), or the longest piece that fits from each keyframe on (better
    // at kinks, such as where the track clamps). Without the keyframe after the span (kGuess)
    // it is guessed (see Guess).
    Keys Span(std::size_t i, int prev, int after) const {
        const int a = m_forced[i], b = m_forced[i + 1];
        const int beyond = i + 2 < m_forced.size() ? m_forced[i + 2] : b;
        const int next = after == kGuess ? -beyond - 1 : after;
        Keys even;
        for (int k = 1; k <= b - a; k = NextCount(k, b - a))
            if (Pieces(a, b, k, prev, next, even)) break;
        Keys longest = Longest(a, b, prev, next);
        return longest.size() < even.size() ? longest : even;
    }

    Keys Longest(int a, int b, int prev, int after) const {
        Keys out;
        for (int s = a; s < b;) {
            const int before = out.empty() ? prev : out.back().frame;
            std::vector<int> lengths;
            for (int d = 1; d <= b - s; d = NextCount(d, b - s)) lengths.push_back(d);
            int e = s + 1;
            KivFXMltKind kind = KivFXMltKind::linear;
            for (auto d = lengths.rbegin(); d != lengths.rend() && *d > 1; ++d) {
                const int end = s + *d;
                const int next = end < b ? std::min(b, end + *d) : after >= 0 ? after : Guess(-after - 1, end, *d);
                if (Fits(before, s, end, next, kind)) {
                    e = end;
                    break;
                }
            }
            if (e == s + 1) kind = KivFXMltKind::linear;
            out.push_back({s, 0.0, kind});
            s = e;
        }
        return out;
    }

    // The keyframe after a span's last piece e - length..e, before the next span is fitted:
    // that span whole (spans MLT's spline fits whole then stay whole, as in a track read from
    // a smooth string), or one piece further on (better where the next span needs pieces).
    int Guess(int nextForced, int e, int length) const { return m_farGuess ? std::min(nextForced, e + length) : nextForced; }

    // The piece counts (and lengths) tried: every one up to a few dozen, then a quarter more
    // each time, so that long spans cost a few passes over their frames, not one per frame.
    static int NextCount(int k, int length) {
        constexpr int kEveryCountUpTo = 32;
        if (k >= length) return length + 1;
        return std::min(length, k < kEveryCountUpTo ? k + 1 : k + k / 4);
    }

    // Splits [a, b] into k pieces of (nearly) equal length, a piece that fits neither as a
    // line nor as MLT's spline halved once (the ends next to a turn of the curve need
    // shorter pieces than the middle); true with their first frames and kinds in out when
    // all fit. after < 0 stands for the guess -after - 1.
    bool Pieces(int a, int b, int k, int prev, int after, Keys& out) const {
        out.clear();
        const long long length = b - a;
        auto at = [&](int j) { return a + static_cast<int>(length * j / k); };
        for (int j = 0; j < k; ++j) {
            const int s = at(j), e = at(j + 1);
            const int before = j == 0 ? prev : out.back().frame;
            const int next = j + 1 < k ? at(j + 2) : after >= 0 ? after : Guess(-after - 1, e, e - s);
            KivFXMltKind kind;
            if (Fits(before, s, e, next, kind)) {
                out.push_back({s, 0.0, kind});
                continue;
            }
            const int m = s + (e - s) / 2;
            KivFXMltKind second;
            if (m == s || !Fits(before, s, m, e, kind) || !Fits(s, m, e, next, second)) return false;
            out.push_back({s, 0.0, kind});
            out.push_back({m, 0.0, second});
        }
        return true;
    }

    // Whether s..e fits as a line (preferred) or as MLT's spline; kind says which.
    bool Fits(int before, int s, int e, int next, KivFXMltKind& kind) const {
        kind = KivFXMltKind::linear;
        if (PieceMiss(s, s, e, e, kind, 1.0) <= 1.0) return true;
        kind = KivFXMltKind::smooth;
        return m_c.smooth && PieceMiss(before, s, e, next, kind, 1.0) <= 1.0;
    }

    // What the rounds left: a piece that misses becomes linear where a line fits, or gains a
    // keyframe half way, until every frame is within the tolerance (pieces of one frame
    // cannot miss, so this ends).
    void Repair() {
        for (bool changed = true; changed;) {
            changed = false;
            for (std::size_t i = 0; i + 1 < m_keys.size(); ++i) {
                const int prev = m_keys[i > 0 ? i - 1 : i].frame, s = m_keys[i].frame, e = m_keys[i + 1].frame;
                const int next = m_keys[i + 2 < m_keys.size() ? i + 2 : i + 1].frame;
                if (PieceMiss(prev, s, e, next, m_keys[i].kind, 1.0) <= 1.0) continue;
                changed = true;
                if (PieceMiss(s, s, e, e, KivFXMltKind::linear, 1.0) <= 1.0)
                    m_keys[i].kind = KivFXMltKind::linear;
                else
                    m_keys.insert(m_keys.begin() + static_cast<std::ptrdiff_t>(i) + 1, {s + (e - s) / 2, 0.0, m_keys[i].kind});
            }
        }
    }

    const KivFXMltCurve& m_c;
    int m_n;
    bool m_farGuess;
    std::vector<std::vector<double>> m_written;
    std::vector<int> m_forced;
    std::vector<Keys> m_spans;  // the pieces from each forced frame to the next
    Keys m_keys;
};

}  // namespace

std::vector<KivFXMltKey> KivFXMltFit(const KivFXMltCurve& curve) {
    Keys near = Fitter(curve, false).Run();
    Keys far = Fitter(curve, true).Run();
    return far.size() < near.size() ? far : near;
}

std::vector<KivFXMltKey> KivFXMltChannelKeys(const KivFXMltCurve& curve, const std::vector<KivFXMltKey>& fitted, std::size_t channel) {
    Keys keys = fitted;
    for (KivFXMltKey& k : keys) k.value = KivFXMltAsWritten(curve.channels[channel][static_cast<std::size_t>(k.frame)]);
    return keys;
}

double KivFXMltTolerance(double requested, double range, double largest) {
    const double tol = requested >= 0.0 ? requested : kKivFXMltDefaultShare * std::fabs(range);
    const double slack = kFloatSlack * std::max(1.0, std::fabs(largest));
    return std::isfinite(tol) ? std::max(tol, slack) : slack;
}

std::string KivFXMltCheckFrames(long long frames) {
    if (frames >= 1 && frames <= kKivFXMltMaxFrames) return {};
    return "a story of " + std::to_string(frames) + " frames: it must have 1 to " + std::to_string(kKivFXMltMaxFrames);
}
