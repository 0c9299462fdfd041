// Pictures of the editors on the headless screen, for `kfx render` and the demo.
#pragma once

#include <optional>
#include <string>
#include <utility>

#include "kivbase/CKivObList.h"
#include "platform/fw/CGeometry.h"

class CKivFXColor32KeyFrmList;
class CWnd;
class CKivFXInsKeyFrmList;
class CKivFXPosiKeyFrmList;

/// How the curve window is laid over the track's frames. Unset scroll and scale fit the
/// keyframes (and the current frame) into the width.
struct KfxCurveView {
    CSize size{640, 240};
    int frame = 0;                  // the current-frame line
    std::optional<long> scroll;     // the frame at the left edge
    std::optional<double> scale;    // pixels per frame
};

/// Sizes the headless screen to size and creates host over all of it, a window that clips
/// its children (so a repaint of the host leaves the editor in it alone); throws KfxError
/// when the window cannot be made.
void KfxCreateDrawingHost(CWnd& host, CSize size);
/// Paints the whole screen and writes it to png as KfxWriteFile does; throws KfxError when
/// it cannot.
void KfxSaveScreen(const std::string& png);

/// Draws track in the curve window on the screen and writes the picture to png; throws
/// KfxError when the file cannot be written.
void KfxRenderCurveWindow(CKivFXInsKeyFrmList& track, const KfxCurveView& view, const std::string& png);

/// How the curve dialog is laid out: its size, the current frame and the story range
/// (unset: the frames of the track's keyframes, or 0 to 100 when they span none).
struct KfxDialogView {
    CSize size{640, 240};
    int frame = 0;
    std::optional<std::pair<int, int>> range;
};

/// The story range a dialog shows for track (scalar or position): view's range, or the
/// frames of the track's keyframes (0 to 100 when they span none).
std::pair<int, int> KfxStoryRangeOf(const CKivObList& track, const KfxDialogView& view);

/// Draws track in the curve dialog on the screen (the current frame clamped into the story
/// range) and writes the picture to png; throws KfxError when it cannot. A frame-based
/// track is drawn from a copy placed by location: each keyframe at its Frame's location in
/// the story range, its handles' frame offsets turned into location offsets.
void KfxRenderCurveDialog(CKivFXInsKeyFrmList& track, const KfxDialogView& view, const std::string& png);

/// The n-th (from 0) object of class cls (or derived) among list's objects, depth first
/// through nested lists; null when there are fewer.
CObject* KfxFindObjectOf(CObList& list, const CRuntimeClass* cls, int n);
/// The n-th scalar track, as KfxFindObjectOf.
CKivFXInsKeyFrmList* KfxFindScalarTrack(CObList& list, int n);

/// How the colour dialog shows a track: at its template's size, or laid out for a client
/// of the given size, with the current location at location.
struct KfxColourView {
    std::optional<CSize> size;
    double location = 0.5;
};
/// Draws track in the colour dialog on the screen and writes the picture to png; throws
/// KfxError when the dialog cannot be made or the file cannot be written.
void KfxRenderColourDialog(CKivFXColor32KeyFrmList& track, const KfxColourView& view, const std::string& png);
/// `kfx render --editor colour-dialog` on a loaded file: finds the n-th colour track of
/// list (file names it in messages), draws it and reports; the program's exit code.
int KfxRenderColourCommand(CObList& list, const std::string& file, int n, const KfxColourView& view, const std::string& png);

/// Reads "WxH" with each side 1 to kMaxBitmapSide; false otherwise.
bool KfxParseSize(const std::string& text, CSize& out);

/// The n-th (from 0) position track among list's objects, as KfxFindScalarTrack.
CKivFXPosiKeyFrmList* KfxFindPositionTrack(CObList& list, int n);

/// Draws track in the position dialog on the screen (story range and current frame as for
/// the curve dialog) and writes the picture to png; throws KfxError when it cannot. A
/// frame-based track is drawn from a copy whose keyframes sit at their Frame's location in
/// the story range.
void KfxRenderPositionDialog(CKivFXPosiKeyFrmList& track, const KfxDialogView& view, const std::string& png);
/// `kfx render --editor position-dialog`: the trackIndex-th position track of list (loaded
/// from file) drawn into png, with a line saying so; the exit code.
int KfxRenderPosition(CObList& list, const std::string& file, int trackIndex, const KfxDialogView& view, const std::string& png);
