// Animation strings of the open-source multimedia framework MLT ("0=0;25~=10;50|=3"), as
// its release 7.12 reads and evaluates them: the keyframes with their kinds, read from and
// written to text, and the value MLT gives at any frame.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

/// How MLT goes on from a keyframe to the next one: hold its value, a straight line, or
/// the Catmull-Rom spline through the neighbouring keyframes.
enum class KivFXMltKind { discrete, linear, smooth };

/// What the values of a string are: numbers, colours ("#aarrggbb" or "#rrggbb"), or
/// rectangles ("x y w h", "x/y:wxh", 2 to 5 numbers, the fifth the opacity).
enum class KivFXMltForm { scalar, colour, rect };

/// One keyframe of an animation string.
struct KivFXMltKey {
    int frame = 0;
    double value = 0.0;  // a number's value; a colour's alpha, a rectangle's x
    KivFXMltKind kind = KivFXMltKind::linear;
    std::size_t position = 0;  // offset of its item in the string it was read from
    // Every channel of a colour (alpha, red, green, blue, 0..255) or rectangle (x, y, and w,
    // h, opacity where given); a number has one.
    std::array<double, 5> channels{};
};

/// The keyframes read from a string, in ascending frame order, or why it was refused.
struct KivFXMltParsed {
    std::vector<KivFXMltKey> keys;
    std::string error;         // empty when the string was read
    std::size_t position = 0;  // 0-based offset of the fault in the string
    bool Ok() const { return error.empty(); }
};

/// Frames an animation may reach on either side: beyond them the tracks' bracketing bounds.
constexpr int kKivFXMltFrameLimit = 1073741822;

/// Reads an animation string for a story of `frames` frames (negative frames count from
/// its end, as MLT counts them). Refuses, naming the offset of the fault, every string MLT
/// would reject or read other than it is written: frames or values that are not plain
/// decimal numbers (time codes, hex, "1.5", "abc"), items without "=" beside others, empty
/// values, non-finite values, a frame given twice, and the kind letters of later MLT
/// releases (by name). Empty items are skipped, keyframes are sorted by frame, a value may
/// be quoted and may end in "%" (a hundredth), and a string without any "=" is one constant
/// keyframe at frame 0, all as MLT does. Never throws except std::bad_alloc.
/// A colour value is "#" and 8 or 6 hex digits, nothing else (MLT misreads one with spaces
/// around it); names and hex integers are refused, as are "#rgb" and other lengths. A
/// rectangle value is 2 to 5 decimal numbers, each maybe a percentage, separated by one of
/// " /:x," (spaces around them allowed); fewer would leave x or y unset in MLT.
KivFXMltParsed KivFXMltParse(std::string_view text, int frames, KivFXMltForm form = KivFXMltForm::scalar);

/// The form of a string's values guessed from its first value: a colour when it starts with
/// "#", a rectangle when it holds a second number, else numbers.
KivFXMltForm KivFXMltDetectForm(std::string_view text);

/// The keys with each value replaced by channel c of the key.
std::vector<KivFXMltKey> KivFXMltChannel(std::span<const KivFXMltKey> keys, std::size_t c);

/// The string of keys (in the order given): "F=V", "F|=V" or "F~=V" joined by ";", each
/// value in the shortest text that reads back to it (as a float when it is one). A negative
/// frame is written as it is, which MLT (and KivFXMltParse) reads from the story's end.
std::string KivFXMltFormat(std::span<const KivFXMltKey> keys);

/// The number MLT reads back from the text KivFXMltFormat writes for v.
double KivFXMltAsWritten(double v);

/// The value MLT 7.12 gives at frame for keys sorted by frame: 0 without keys; the first
/// key's value up to it and the last key's from it on; between keys the earlier key's kind
/// decides: its value held, the line, or the uniform Catmull-Rom spline through the key
/// before, both ends and the key after (an end key standing in for a missing neighbour).
double KivFXMltValueAt(std::span<const KivFXMltKey> keys, int frame);

/// The Catmull-Rom segment MLT evaluates between y1 (u = 0) and y2 (u = 1).
double KivFXMltCatmullRom(double y0, double y1, double y2, double y3, double u);
