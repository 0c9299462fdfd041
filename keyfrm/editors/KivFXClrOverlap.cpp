#include "keyfrm/editors/KivFXClrOverlap.h"

#include <cmath>

int KivFXClrMoveOffOverlap(CKivObList* list, CKivFXBaseKeyFrm* keyframe, float step, bool pointerStill) {
    if (!std::isfinite(step) || step <= 0.0f) return 0;
    return KivFXStepOffOverlap(list, keyframe, step, pointerStill, true) ? 1 : 0;
}
