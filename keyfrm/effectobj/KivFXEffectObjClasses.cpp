#include "keyfrm/core/KivFXKeyFrmModule.h"
#include "keyfrm/effectobj/KivFXEffectObj.h"

std::span<const KivFXPersistClass> KivFXEffectObjPersistClasses() {
    static const KivFXPersistClass classes[] = {
        KIV_CLASS(CKivEffectBaseObj),
        KIV_CLASS(CKivEffectColorFlowObj),
        KIV_CLASS(CKivEffectShineLightObj),
    };
    return classes;
}
