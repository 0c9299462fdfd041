// CKivSoftFXSlideKeyFrm::CalcActualValue: the keyframe's fractions as pixels of the current
// video frame.
#include <cstdint>
#include <cstdlib>

#include "keyfrm/softfx/CKivSoftFXSlideKeyFrm.h"
#include "keyfrm/softfx/KivSoftFXTruncate.h"
#include "kivbase/KivVideoStd.h"

namespace {

constexpr double kBlurDegreeScale = 100.0;  // effects take blur amounts in percent
constexpr double kBlurAngleScale = 360.0;   // and angles in degrees
constexpr double kAlphaScale = 255.0;       // opacity as an 8-bit alpha
constexpr BYTE kOpaque = 255;

// Moves one axis of the position from the frame's origin to the region's centre, and keeps
// it within half a frame beyond either edge; a position pulled back is written back
// through coord so that the keyframe keeps what is shown.
void CentreAxis(short& actual, double& coord, int frameSize, int regionLow, int regionHigh) {
    const int size = KivLow16(frameSize);  // the effects work in 16-bit frame sizes
    const int half = size / 2;
    const int centre = static_cast<int>((static_cast<std::int64_t>(regionLow) + regionHigh) / 2);
    int pos = centre - half + actual;
    const int lowest = -half;
    const int highest = size + half;
    if (pos < lowest || pos > highest) {
        pos = pos < lowest ? lowest : highest;
        coord = static_cast<double>(pos - centre + half) / frameSize;
    }
    actual = KivLow16(pos);
}

// The pixel size along one axis: the region's, scaled when the host asked for it; the
// switch is cleared when the scale changes nothing.
short ScaledSize(int regionSize, double scale, int& useScale) {
    std::int64_t size = regionSize;
    if (useScale) {
        size = KivTruncToInt64(regionSize * scale);
        if (size == regionSize) useScale = 0;
    }
    return KivLow16(size);
}

// Blur amount and angle, both 0 unless the host asked for the blur; the switch is cleared
// when there is no blur to apply.
void ScaledBlur(double degree, double angle, int& useBlur, short& actualDegree, short& actualAngle) {
    actualDegree = 0;
    actualAngle = 0;
    if (!useBlur) return;
    actualAngle = KivLow16(KivTruncToInt64(angle * kBlurAngleScale));
    actualDegree = KivLow16(KivTruncToInt64(degree * kBlurDegreeScale));
    if (actualDegree == 0) useBlur = 0;
}

}  // namespace

int CKivSoftFXSlideKeyFrm::CalcActualValue(int bCentre, CRect rcRegion) {
    CRect region;
    if (!region.IntersectRect(rcRegion, CKivVideoStd::GetResRect())) return 0;
    const CSize frame = CKivVideoStd::GetResSize();

    ActualX = KivLow16(KivTruncToInt64(frame.cx * CoordX));
    ActualY = KivLow16(KivTruncToInt64(frame.cy * CoordY));
    if (bCentre) {
        CentreAxis(ActualX, CoordX, frame.cx, region.left, region.right);
        CentreAxis(ActualY, CoordY, frame.cy, region.top, region.bottom);
    }

    ActualWidth = ScaledSize(region.Width(), Width, UseWidth);
    FlipHorz = ActualWidth < 0 ? 1 : 0;
    ActualHeight = ScaledSize(region.Height(), Height, UseHeight);
    FlipVert = ActualHeight < 0 ? 1 : 0;

    const int aw = std::abs(static_cast<int>(ActualWidth));
    const int ah = std::abs(static_cast<int>(ActualHeight));
    ActualRect.left = ActualX - aw / 2;
    ActualRect.right = ActualRect.left + aw;
    ActualRect.top = ActualY - ah / 2;
    ActualRect.bottom = ActualRect.top + ah;

    ScaledBlur(BlurHorzDegree, BlurHorzAngle, UseHorzBlur, ActualHorzBlurDegree, ActualHorzBlurAngle);
    ScaledBlur(BlurVertDegree, BlurVertAngle, UseVertBlur, ActualVertBlurDegree, ActualVertBlurAngle);

    ActualAlpha = kOpaque;
    if (UseAlpha) {
        ActualAlpha = KivLow8(KivTruncToInt64(AValue * kAlphaScale));
        if (ActualAlpha == kOpaque) UseAlpha = 0;
    }
    return 1;
}
