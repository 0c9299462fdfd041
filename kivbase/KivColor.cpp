#include "kivbase/KivColor.h"

#include <algorithm>
#include <cmath>

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

tagCOLORHLSA KivPublicRGBA2HLSA(tagCOLOR32 c) {
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
