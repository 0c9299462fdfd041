#include "kivbase/KivColor.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr double kByteMax = 255.0;
// Hue bytes divide the colour circle into this many steps, so every byte is a distinct hue.
constexpr double kHueSteps = 256.0;

BYTE ToByte(double unit) { return static_cast<BYTE>(std::clamp(std::lround(unit * kByteMax), 0L, 255L)); }

// One channel of the double-cone model; t is the channel's position on the circle in turns.
double Channel(double p, double q, double t) {
    t -= std::floor(t);
    if (t < 1.0 / 6.0) return p + (q - p) * 6.0 * t;
    if (t < 0.5) return q;
    if (t < 2.0 / 3.0) return p + (q - p) * (2.0 / 3.0 - t) * 6.0;
    return p;
}

}  // namespace

tagCOLOR32 KivPublicHLSA2RGBA(tagCOLORHLSA c) {
    if (c.saturation == 0) return {c.luminance, c.luminance, c.luminance, c.alpha};
    const double l = c.luminance / kByteMax;
    const double s = c.saturation / kByteMax;
    const double q = l < 0.5 ? l * (1.0 + s) : l + s - l * s;
    const double p = 2.0 * l - q;
    const double h = c.hue / kHueSteps;
    return {ToByte(Channel(p, q, h - 1.0 / 3.0)), ToByte(Channel(p, q, h)), ToByte(Channel(p, q, h + 1.0 / 3.0)),
            c.alpha};
}

namespace {

// The double-cone values of a colour, each rounded to the nearest byte.
tagCOLORHLSA RoundedHLSA(tagCOLOR32 c) {
    const double r = c.red / kByteMax, g = c.green / kByteMax, b = c.blue / kByteMax;
    const double mx = std::max({r, g, b});
    const double mn = std::min({r, g, b});
    const double l = (mx + mn) / 2.0;
    if (mx == mn) return {0, ToByte(l), 0, c.alpha};
    const double d = mx - mn;
    const double s = l <= 0.5 ? d / (mx + mn) : d / (2.0 - mx - mn);
    double sextant;  // position on the circle in sixths of a turn, 0 at red
    if (mx == r)
        sextant = (g - b) / d;
    else if (mx == g)
        sextant = 2.0 + (b - r) / d;
    else
        sextant = 4.0 + (r - g) / d;
    if (sextant < 0) sextant += 6.0;
    const long hue = std::lround(sextant / 6.0 * kHueSteps) % static_cast<long>(kHueSteps);
    return {static_cast<BYTE>(hue), ToByte(l), ToByte(s), c.alpha};
}

// The largest difference over red, green and blue.
int ChannelDistance(tagCOLOR32 a, tagCOLOR32 b) {
    return std::max({std::abs(a.red - b.red), std::abs(a.green - b.green), std::abs(a.blue - b.blue)});
}

// How far round the rounded triple the nearest one is looked for: one hue step, one
// luminance step and three saturation steps each way reach it for every colour of the cube
// (a wider search finds nothing closer).
constexpr int kHueReach = 1;
constexpr int kLuminanceReach = 1;
constexpr int kSaturationReach = 3;
// A triple that comes back within this many units is kept as rounded.
constexpr int kCloseEnough = 1;

}  // namespace

tagCOLORHLSA KivPublicRGBA2HLSA(tagCOLOR32 c) {
    const tagCOLORHLSA rounded = RoundedHLSA(c);
    if (rounded.saturation == 0) return rounded;
    int best = ChannelDistance(KivPublicHLSA2RGBA(rounded), c);
    tagCOLORHLSA chosen = rounded;
    // Rounding each value on its own can land a few units away from the colour, mostly
    // through the hue's coarse steps; a neighbouring triple often converts back closer.
    for (int dh = -kHueReach; dh <= kHueReach && best > kCloseEnough; ++dh)
        for (int dl = -kLuminanceReach; dl <= kLuminanceReach && best > kCloseEnough; ++dl)
            for (int ds = -kSaturationReach; ds <= kSaturationReach && best > kCloseEnough; ++ds) {
                const int l = rounded.luminance + dl, s = rounded.saturation + ds;
                if (l < 0 || l > 255 || s < 1 || s > 255) continue;
                const tagCOLORHLSA t{static_cast<BYTE>(rounded.hue + dh), static_cast<BYTE>(l), static_cast<BYTE>(s), c.alpha};
                const int d = ChannelDistance(KivPublicHLSA2RGBA(t), c);
                if (d < best) {
                    best = d;
                    chosen = t;
                }
            }
    return chosen;
}
