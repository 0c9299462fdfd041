// Pictures of the editors on the headless screen, for `kfx render` and the demo.
#pragma once

#include <optional>
#include <string>

#include "kivbase/CKivObList.h"
#include "platform/fw/CGeometry.h"

class CKivFXInsKeyFrmList;

/// How the curve window is laid over the track's frames. Unset scroll and scale fit the
/// keyframes (and the current frame) into the width.
struct KfxCurveView {
    CSize size{640, 240};
    int frame = 0;                  // the current-frame line
    std::optional<long> scroll;     // the frame at the left edge
    std::optional<double> scale;    // pixels per frame
};

/// Draws track in the curve window on the screen and writes the picture to png; throws
/// KfxError when the file cannot be written.
void KfxRenderCurveWindow(CKivFXInsKeyFrmList& track, const KfxCurveView& view, const std::string& png);

/// The n-th (from 0) scalar track among list's objects, depth first through nested lists;
/// null when there are fewer.
CKivFXInsKeyFrmList* KfxFindScalarTrack(CObList& list, int n);

/// Reads "WxH" with each side 1 to kMaxBitmapSide; false otherwise.
bool KfxParseSize(const std::string& text, CSize& out);
