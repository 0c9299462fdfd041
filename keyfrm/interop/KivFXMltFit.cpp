#include "keyfrm/interop/KivFXMltFit.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>

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
        Force();
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

    // The fewest keyframes by dynamic programming over every choice of keyframes whose
    // pieces are at most `width` frames long (empty when the story is too long for it to
    // pay: its cost grows as frames times width cubed).
    Keys RunExact() {
        if (m_n == 0) return {};
        Force();
        const int n = m_forced.back() - m_forced.front() + 1;
        const int width = ExactWidth(n);
        if (width < kExactWidthMin) return {};
        m_keys = ExactKeys(width);
        if (m_keys.empty()) return {};
        Repair();
        return m_keys;
    }

private:
    static constexpr int kExactWidthMin = 8;
    static constexpr long long kExactStates = 4000000;

    // The widest piece the exact fit tries for a story of n frames: every state (three
    // keyframes in a row) fits in kExactStates, and a piece never spans more than the story.
    static int ExactWidth(int n) {
        int w = static_cast<int>(std::sqrt(static_cast<double>(kExactStates) / n));
        return std::min({w, n - 1, 255});
    }

    // The story's ends and the forced frames, with frame 0 and the last frame added where
    // the samples are not held beyond them.
    void Force() {
        m_forced = m_c.forced;
        if (m_forced.empty() || !Held(0, m_forced.front())) m_forced.insert(m_forced.begin(), 0);
        if (!Held(m_forced.back(), m_n - 1)) m_forced.push_back(m_n - 1);
    }

    Keys ExactKeys(int width);
    // For a smooth piece a..b whose keyframe before it is p: the values of the keyframe
    // after it that keep every frame inside within the tolerance, per channel (lo > hi: none).
    void SmoothWindow(int p, int a, int b, std::vector<double>& lo, std::vector<double>& hi) const;
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

void Fitter::SmoothWindow(int p, int a, int b, std::vector<double>& lo, std::vector<double>& hi) const {
    // MLT's spline is linear in the values of its outer keyframes: y1 h1(u) + y2 h2(u) +
    // y0 w0(u) + y3 w3(u), with w3 < 0 inside the piece, so each frame bounds y3 to an
    // interval once y0 is known. A hair of the tolerance is kept back for rounding; the
    // keyframes chosen are checked frame by frame afterwards anyway.
    constexpr double kShare = 1.0 - 1e-9;
    for (std::size_t c = 0; c < m_c.channels.size(); ++c) {
        const double y0 = Written(c, p), y1 = Written(c, a), y2 = Written(c, b), tol = m_c.tolerance[c] * kShare;
        double low = -HUGE_VAL, high = HUGE_VAL;
        for (int f = a + 1; f < b && low <= high; ++f) {
            const double u = static_cast<double>(f - a) / static_cast<double>(b - a), u2 = u * u, u3 = u2 * u;
            const double known = y1 * (1.5 * u3 - 2.5 * u2 + 1.0) + y2 * (-1.5 * u3 + 2.0 * u2 + 0.5 * u) + y0 * (-0.5 * u3 + u2 - 0.5 * u);
            const double w3 = 0.5 * u3 - 0.5 * u2;
            const double rest = Sample(c, f) - known;
            low = std::max(low, (rest + tol) / w3);
            high = std::min(high, (rest - tol) / w3);
        }
        lo[c] = low;
        hi[c] = high;
    }
}

Keys Fitter::ExactKeys(int width) {
    // A state is the last three keyframes p < a < b (p = a at the start), every piece before
    // a..b within the tolerance; a..b itself is checked once the keyframe after b is chosen.
    // cost[state] counts the keyframes so far, from[state] the p of the state it came from.
    const int first = m_forced.front(), last = m_forced.back(), n = last - first + 1;
    const std::size_t ww = static_cast<std::size_t>(width);
    auto index = [&](int p, int a, int b) {
        return (static_cast<std::size_t>(a - first) * (ww + 1) + static_cast<std::size_t>(a - p)) * ww + static_cast<std::size_t>(b - a - 1);
    };
    constexpr int kNone = INT32_MAX;
    std::vector<int> cost(static_cast<std::size_t>(n) * (ww + 1) * ww, kNone);
    std::vector<std::uint8_t> from(cost.size(), 0);
    // The first forced frame at or after each frame: no piece may step over one.
    std::vector<int> wall(static_cast<std::size_t>(n));
    for (int f = last, k = static_cast<int>(m_forced.size()) - 1; f >= first; --f) {
        if (k > 0 && m_forced[static_cast<std::size_t>(k - 1)] >= f) --k;
        wall[static_cast<std::size_t>(f - first)] = m_forced[static_cast<std::size_t>(k)];
    }
    auto reach = [&](int b) { return std::min(b + width, b == last ? last : wall[static_cast<std::size_t>(b + 1 - first)]); };
    auto linear = [&](int a, int b) { return PieceMiss(a, a, b, b, KivFXMltKind::linear, 1.0) <= 1.0; };
    for (int b = first + 1; b <= reach(first); ++b) cost[index(first, first, b)] = 2;
    const std::size_t channels = m_c.channels.size();
    std::vector<double> lo(channels), hi(channels);
    int best = kNone, bestP = 0, bestA = 0;
    for (int a = first; a < last; ++a)
        for (int b = a + 1; b <= std::min(a + width, last); ++b) {
            const bool straight = linear(a, b);
            for (int p = std::max(first, a - width); p <= a; ++p) {
                if (p == a && a != first) continue;
                const int here = cost[index(p, a, b)];
                if (here == kNone) continue;
                if (b == last) {
                    if ((straight || (m_c.smooth && PieceMiss(p, a, b, b, KivFXMltKind::smooth, 1.0) <= 1.0)) && here < best) {
                        best = here;
                        bestP = p;
                        bestA = a;
                    }
                    continue;
                }
                bool window = false;
                if (!straight && m_c.smooth && !m_c.whole) {
                    SmoothWindow(p, a, b, lo, hi);
                    window = true;
                    for (std::size_t c = 0; c < channels; ++c) window = window && lo[c] <= hi[c];
                    if (!window) continue;
                } else if (!straight) {
                    continue;
                }
                for (int c = b + 1; c <= reach(b); ++c) {
                    bool fits = true;
                    for (std::size_t ch = 0; window && fits && ch < channels; ++ch) {
                        const double y3 = Written(ch, c);
                        fits = y3 >= lo[ch] && y3 <= hi[ch];
                    }
                    int& next = cost[index(a, b, c)];
                    if (fits && here + 1 < next) {
                        next = here + 1;
                        from[index(a, b, c)] = static_cast<std::uint8_t>(a - p);
                    }
                }
            }
        }
    if (best == kNone) return {};
    std::vector<int> frames{last};
    for (int p = bestP, a = bestA, b = last; b != first;) {
        frames.push_back(a);
        if (a == first) break;
        const int before = p - from[index(p, a, b)];
        b = a;
        a = p;
        p = before;
    }
    std::reverse(frames.begin(), frames.end());
    Keys keys;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        KivFXMltKind kind = KivFXMltKind::linear;
        if (i + 1 < frames.size() && !linear(frames[i], frames[i + 1])) kind = KivFXMltKind::smooth;
        keys.push_back({frames[i], 0.0, kind});
    }
    return keys;
}

}  // namespace

std::vector<KivFXMltKey> KivFXMltFit(const KivFXMltCurve& curve) {
    Keys best = Fitter(curve, false).Run();
    for (Keys other : {Fitter(curve, true).Run(), Fitter(curve, false).RunExact()})
        if (!other.empty() && other.size() < best.size()) best = std::move(other);
    return best;
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
