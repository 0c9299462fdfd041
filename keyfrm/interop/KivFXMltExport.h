// Tracks written as MLT animation strings: a scalar track as one string, a position track
// as three (x, y, z), a colour track as one of "#aarrggbb" values, each keeping its
// keyframes and adding the fewest keyframes that keep MLT within a tolerance at every frame.
#pragma once

#include <string>
#include <vector>

#include "keyfrm/interop/KivFXMltFit.h"

class CKivFXInsKeyFrmList;
class CKivFXPosiKeyFrmList;
class CKivFXColor32KeyFrmList;

/// Frames of the story of a location-based track when the caller gives none: 0..100.
constexpr int kKivFXMltDefaultLocationFrames = 101;

struct KivFXMltExportOptions {
    /// Frames of the story, 0 for the track's own: a frame-based track's reach 0 to its last
    /// keyframe's frame, a location-based track's kKivFXMltDefaultLocationFrames (frame f
    /// standing for location f / (frames - 1)).
    int frames = 0;
    /// Largest difference allowed at any frame (per axis for positions, in channel steps for
    /// colours); negative for the default: kKivFXMltDefaultShare of the range, one step for
    /// colours.
    double tolerance = -1.0;
};

struct KivFXMltExported {
    std::vector<std::string> strings;  // one string; three (x, y, z) for a position track
    int frames = 0;                    // the story exported
    int keyframes = 0;                 // keyframes written per string
    int extraKeyframes = 0;            // of those, the ones the track does not have
    double largestDifference = 0.0;    // the largest |MLT - track| at any frame (per axis)
    double tolerance = 0.0;            // the tolerance used
    std::string error;                 // empty on success
    bool Ok() const { return error.empty(); }
};

/// Exports a scalar track: its keyframes inside the story at their frames with their values
/// (location-based: at the nearest frame, with the curve's value there), linear where the
/// curve is straight, smooth where MLT's spline fits, and intermediate keyframes elsewhere.
/// An error (no string) for a story of fewer than 1 or more than kKivFXMltMaxFrames frames.
KivFXMltExported KivFXMltExport(const CKivFXInsKeyFrmList& track, const KivFXMltExportOptions& options = {});
/// Exports a position track as three strings, x, y and z, each fitted on its own.
KivFXMltExported KivFXMltExport(const CKivFXPosiKeyFrmList& track, const KivFXMltExportOptions& options = {});
/// Exports a colour track (location-based) as linear "#aarrggbb" keyframes.
KivFXMltExported KivFXMltExport(const CKivFXColor32KeyFrmList& track, const KivFXMltExportOptions& options = {});
