#include "keyfrm/editors/KivFXClrOverlap.h"

#include <algorithm>
#include <cmath>

#include "keyfrm/core/KivFXKeyFrmList.h"

int KivFXClrMoveOffOverlap(CKivObList* list, CKivFXBaseKeyFrm* keyframe, float step, bool pointerStill) {
    if (!list || !keyframe || !std::isfinite(step) || step <= 0.0f) return 0;
    if (!KivFXKeyFrmIsOverlapKF(list, keyframe, kKivFXDragOverlapTolerance)) return 0;
    const bool backwards = pointerStill || keyframe->Location >= 1.0;
    const double moved = keyframe->Location + (backwards ? -static_cast<double>(step) : static_cast<double>(step));
    // A step past either end would leave the range every location lies in.
    keyframe->Location = std::clamp(moved, 0.0, 1.0);
    return 1;
}
