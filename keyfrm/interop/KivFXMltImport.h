// An MLT animation string read into a frame-based scalar track: linear and discrete
// keyframes exactly, smooth segments as Bezier handles following MLT's spline.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "keyfrm/interop/KivFXMltAnim.h"
#include "keyfrm/tracks/CKivFXInsKeyFrmList.h"

struct KivFXMltImportOptions {
    /// The track's MinValue..MaxValue; without it the range the string reaches over the
    /// story. Interpolated values are clamped to it, as the track always clamps.
    bool hasRange = false;
    float minValue = 0.0f;
    float maxValue = 0.0f;
    /// Largest difference from MLT allowed at any frame of the story; negative for 0.1 % of
    /// the track's range. Segments that cannot stay within it as one Bezier are split.
    double tolerance = -1.0;
};

struct KivFXMltImported {
    std::unique_ptr<CKivFXInsKeyFrmList> track;  // null when refused
    std::string error;                           // "position P: ..." or about the arguments
    std::size_t position = 0;                    // offset of the fault in the string
    int extraKeyframes = 0;                      // keyframes the track has beyond the string's
    double largestDifference = 0.0;              // largest |track - MLT| at a frame of the story
    double tolerance = 0.0;                      // the tolerance used
    bool Ok() const { return track != nullptr; }
};

/// Most channels a string's keyframes become track keyframes with (a rectangle's x and y).
constexpr std::size_t kKivFXMltMostAxes = 2;

/// A keyframe made from a string: its frame, and per channel its value and the value
/// offsets of its handles.
struct KivFXMltBezierKey {
    int frame = 0;
    std::array<float, kKivFXMltMostAxes> value{}, fore{}, after{};
};

/// The keyframes of a track following keys (one list per channel, all with the same frames
/// and kinds) over a story of `frames` frames: a discrete keyframe held by a second one on
/// the frame before the next; with bezier, each other segment's handles fitted per channel
/// by least squares to MLT's curve, split until every channel is within its tolerance.
std::vector<KivFXMltBezierKey> KivFXMltBezierKeys(const std::vector<std::vector<KivFXMltKey>>& channels, int frames, bool bezier,
                                                  const std::vector<double>& tolerance);

/// Reads text (see KivFXMltParse) for a story of `frames` frames (1 to kKivFXMltMaxFrames)
/// into a new frame-based track. Without smooth keyframes the track is linear and matches
/// MLT at every frame up to float rounding: a discrete keyframe becomes two, its value held
/// until the frame before the next keyframe. With smooth keyframes the track is Bezier:
/// every segment gets the handles that best follow MLT at its frames (a straight line's
/// thirds, a held value's flat handles), split where one Bezier cannot stay within the
/// tolerance. Values beyond a float's range are refused, and so is a spline that overshoots
/// beyond it at a frame of the story. Raises std::bad_alloc only.
KivFXMltImported KivFXMltImport(std::string_view text, int frames, const KivFXMltImportOptions& options = {});


/// A colour or position track read from a string, or why not.
struct KivFXMltImportedTrack {
    std::unique_ptr<CKivObList> track;  // a CKivFXColor32KeyFrmList or CKivFXPosiKeyFrmList; null when refused
    std::string error;                  // as KivFXMltImported's
    std::size_t position = 0;
    int extraKeyframes = 0;          // keyframes beyond the string's inside the story
    double largestDifference = 0.0;  // largest |track - MLT| at a frame (per channel or axis)
    double tolerance = 0.0;
    bool Ok() const { return track != nullptr; }
};

/// Reads a string of colours into a linear colour track (location frame / (frames - 1)):
/// each keyframe inside the story at its frame with its colour, a discrete one held by a
/// second keyframe on the frame before the next, and keyframes at the story's ends with
/// MLT's colour there. Smooth segments (MLT's spline per channel, clamped to 0..255) become
/// linear pieces added until the track is within one channel step of MLT at every frame.
KivFXMltImportedTrack KivFXMltImportColour(std::string_view text, int frames);
/// Reads a string of rectangles into a frame-based position track: x and y of each keyframe
/// (z 0; width, height and opacity are dropped), each axis within the tolerance (as for
/// KivFXMltImport, per axis; the range, when given, serves both axes). Without smooth
/// keyframes the track is linear, laid out as the colours are; with them it is Bezier, its
/// handles fitted per axis as KivFXMltImport fits a scalar track's.
KivFXMltImportedTrack KivFXMltImportRect(std::string_view text, int frames, const KivFXMltImportOptions& options = {});
