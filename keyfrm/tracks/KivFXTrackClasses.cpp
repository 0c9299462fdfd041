#include "keyfrm/core/KivFXSubsystemClasses.h"
#include "keyfrm/tracks/CKivFXValueKeyFrm.h"

std::span<const KivFXPersistClass> KivFXTrackPersistClasses() {
    static const KivFXPersistClass classes[] = {
        KIV_CLASS(CKivFXInsValueKeyFrm),
        KIV_CLASS(CKivFXValueKeyFrm),
    };
    return classes;
}
