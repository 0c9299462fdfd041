// Interpolation helpers of the base library: straight-line values between two keyframes
// and the one-dimensional cubic Bezier used by the tracks.
#pragma once

#include "platform/fw/KivTypes.h"

/// Value at loc on the line through (loc0, val0) and (loc1, val1); val0 when loc0 == loc1.
float KivPublicInsValue(double loc0, double loc1, float val0, float val1, double loc);
/// The same with frame numbers as the two abscissae.
float KivPublicInsValue(int frame0, int frame1, float val0, float val1, double frame);
/// Fills out[k] with the value at frame0 + k for k = 0 .. frame1 - frame0 (the caller
/// provides frame1 - frame0 + 1 floats). Returns 1, or 0 (nothing written) when
/// frame1 < frame0 or out is null.
int KivPublicInsValue(int frame0, int frame1, float val0, float val1, float* out);
/// Value at t of the cubic Bezier with control values points[0..3]; a null points gives 0.
float KivPublicInsBezier3(const float* points, float t);
