// The keyframes chosen for MLT against every choice there is: on short random curves no
// choice of keyframes at whole frames, each piece linear or MLT's spline, may be fewer than
// the fit's, and the fit's must keep every frame within the tolerance.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "keyfrm/interop/KivFXInterop.h"

namespace {

// Whether MLT's curve through keys (at the samples' values, each piece linear where a line
// fits, else smooth) stays within tol of every sample.
bool Fits(const std::vector<int>& frames, const std::vector<double>& samples, double tol) {
    std::vector<KivFXMltKey> keys;
    for (std::size_t i = 0; i < frames.size(); ++i) keys.push_back({frames[i], samples[static_cast<std::size_t>(frames[i])], KivFXMltKind::linear});
    for (std::size_t i = 0; i + 1 < keys.size(); ++i) {
        for (const KivFXMltKind kind : {KivFXMltKind::linear, KivFXMltKind::smooth}) {
            keys[i].kind = kind;
            bool ok = true;
            for (int f = keys[i].frame + 1; ok && f < keys[i + 1].frame; ++f) ok = std::fabs(KivFXMltValueAt(keys, f) - samples[static_cast<std::size_t>(f)]) <= tol;
            if (ok) break;
            if (kind == KivFXMltKind::smooth) return false;
        }
    }
    return true;
}

TEST(MltFit, NoChoiceOfKeyframesIsFewerThanTheFits) {
    std::mt19937 rng(3);
    for (int run = 0; run < 60; ++run) {
        // Waves with a kink half way: smooth pieces that depend on their neighbours, and a
        // corner the spline cannot turn.
        const int n = 12 + run % 5;
        std::uniform_real_distribution<double> wave(0.2, 1.2), kink(-3.0, 3.0);
        const double w = wave(rng), bend = kink(rng);
        KivFXMltCurve curve;
        curve.channels.resize(1);
        for (int f = 0; f < n; ++f)
            curve.channels[0].push_back(static_cast<float>(10.0 * std::sin(w * f) + (f > n / 2 ? bend * (f - n / 2) : 0.0)));
        const double tol = 0.02 + 0.1 * (run % 7);
        curve.tolerance = {tol};
        curve.forced = {0, n / 2, n - 1};
        const std::vector<KivFXMltKey> fitted = KivFXMltChannelKeys(curve, KivFXMltFit(curve), 0);
        for (int f = 0; f < n; ++f) ASSERT_LE(std::fabs(KivFXMltValueAt(fitted, f) - curve.channels[0][static_cast<std::size_t>(f)]), tol) << "run " << run;
        // Every subset of the frames that are not forced.
        std::size_t fewest = SIZE_MAX;
        std::vector<int> free;
        for (int f = 1; f < n - 1; ++f)
            if (f != n / 2) free.push_back(f);
        for (unsigned mask = 0; mask < 1u << free.size(); ++mask) {
            std::vector<int> frames{0, n / 2, n - 1};
            for (std::size_t b = 0; b < free.size(); ++b)
                if (mask >> b & 1u) frames.push_back(free[b]);
            std::sort(frames.begin(), frames.end());
            if (frames.size() < fewest && Fits(frames, curve.channels[0], tol)) fewest = frames.size();
        }
        EXPECT_EQ(fitted.size(), fewest) << "run " << run << ": " << KivFXMltFormat(fitted);
    }
}

}  // namespace
