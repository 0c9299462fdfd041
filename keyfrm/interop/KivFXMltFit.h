// Choosing MLT keyframes for a curve known at every frame of a story: the fewest keyframes,
// each linear or smooth, whose MLT evaluation stays within a tolerance of every sample.
#pragma once

#include <string>
#include <vector>

#include "keyfrm/interop/KivFXMltAnim.h"

/// Share of a track's value range (MaxValue - MinValue) an export or import may miss by.
constexpr double kKivFXMltDefaultShare = 0.001;
/// Longest story an export or import takes, in frames.
constexpr int kKivFXMltMaxFrames = 10000000;

/// The tolerance of an export or import: requested, or for a negative request
/// kKivFXMltDefaultShare of range; never below a few float steps of largest (the largest
/// value's magnitude), since tracks compute in float and MLT in double.
double KivFXMltTolerance(double requested, double range, double largest);
/// Empty when a story of that many frames can be exported or imported, else why not.
std::string KivFXMltCheckFrames(long long frames);

/// A curve sampled at frames 0..n-1 in one or more channels that share their keyframes.
struct KivFXMltCurve {
    std::vector<std::vector<double>> channels;  // channels[c][f], every channel n samples
    std::vector<double> tolerance;              // largest difference allowed, per channel
    std::vector<int> forced;                    // frames that must be keyframes (ascending, in 0..n-1)
    bool smooth = true;                         // false: linear keyframes only
    bool whole = false;                         // MLT truncates each value to a whole number (colours)
};

/// Keyframe frames and kinds, the forced ones included; every channel's key list takes its
/// values from its samples at those frames. A forced list that leaves the story's ends
/// unexplained (the samples change before the first or after the last) gains frame 0 or
/// n - 1. Raises std::bad_alloc only.
std::vector<KivFXMltKey> KivFXMltFit(const KivFXMltCurve& curve);

/// The keys of one channel: the frames and kinds of fitted, the values of that channel.
std::vector<KivFXMltKey> KivFXMltChannelKeys(const KivFXMltCurve& curve, const std::vector<KivFXMltKey>& fitted, std::size_t channel);
