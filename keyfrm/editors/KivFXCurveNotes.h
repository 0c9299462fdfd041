// How the curve editors show a scalar track's keyframes and couple their Bezier handles:
// which handles a keyframe shows and can be grabbed by, its square with its handles, and
// the opposite handle following a dragged one.
#pragma once

#include <functional>

#include "keyfrm/tracks/SKivFXBezierHandle.h"
#include "platform/ui/DC.h"
#include "platform/ui/Region.h"

/// Parts of a keyframe: its point and its two handles.
constexpr int kKivFXPartKeyFrm = 0;
constexpr int kKivFXPartForePt = 1;
constexpr int kKivFXPartAfterPt = 2;

/// The colours of a note: its handle lines, its square (plain or selected) and its two
/// handles' squares.
constexpr COLORREF kKivFXNotePenColor = RGB(255, 0, 0);
constexpr COLORREF kKivFXKeyFrmColor = RGB(255, 255, 255);
constexpr COLORREF kKivFXSelectedKeyFrmColor = RGB(255, 0, 0);
constexpr COLORREF kKivFXForePtColor = RGB(0, 255, 0);
constexpr COLORREF kKivFXAfterPtColor = RGB(0, 0, 255);

/// Kinds of a keyframe's note: the first keyframe shows no fore handle, the last no after
/// handle, an inner one both; kKivFXNoteNoHandles shows none.
constexpr int kKivFXNoteInner = 0;
constexpr int kKivFXNoteHead = 1;
constexpr int kKivFXNoteTail = 2;
constexpr int kKivFXNoteNoHandles = -1;

/// The note kind of the index-th of count keyframes: no handles unless the track is Bezier
/// and holds two keyframes or more.
int KivFXNoteKind(int index, int count, int insMode);
/// Whether that part of the index-th of count keyframes can be grabbed: the keyframe
/// always, a handle only when its note shows it.
bool KivFXPartShown(int index, int count, int part, int insMode);
/// The 4 x 4 square a part occupies around its point (right and bottom edges exclusive);
/// inline, since a paint of a dense track asks it for every part.
inline CRect KivFXNoteRect(CPoint p) {
    constexpr int kHalf = 2;  // two pixels on each side, the point at the centre
    return CRect(p.x - kHalf, p.y - kHalf, p.x + kHalf, p.y + kHalf);
}
/// Draws a keyframe from its three points (fore handle, keyframe, after handle): the handle
/// lines its kind shows, the keyframe's square (red when selected, else white), the fore
/// handle's green square and the after handle's blue one.
void KivFXDrawKeyFrmNote(CDC& dc, const CPoint points[3], bool selected, int kind);

/// Adds to area every pixel inside clip that KivFXDrawKeyFrmNote may draw for these points
/// and kind.
void KivFXAddNoteFootprint(KivRegion& area, const CPoint points[3], int kind, const CRect& clip);
/// The smallest rectangle holding every pixel of a 1-pixel line from a to b.
CRect KivFXLineBounds(CPoint a, CPoint b);

/// What linkage measures with: the handle length to keep (pixels), the moved handle's pixel
/// extent, and how many position units and values a pixel count covers (not negative).
struct KivFXHandleScale {
    int length = 0;
    CSize movedExtent;
    std::function<double(int)> posOfPixels;
    std::function<float(int)> valueOfPixels;
};

/// The opposite handle follows the moved one: symmetry makes it the exact negation; linkage
/// turns it to point away through the keyframe keeping its pixel length (nothing when the
/// moved handle has both offsets 0 or the length is 0); any other mode leaves it.
void KivFXCoupleHandles(const SKivFXBezierHandle& moved, SKivFXBezierHandle& opposite, bool foreMoved, int ctrlMode,
                        const KivFXHandleScale& scale);
