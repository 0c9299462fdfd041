#include "keyfrm/core/KivFXKeyFrmModule.h"
#include "keyfrm/tracks/KivFXTracks.h"

std::span<const KivFXPersistClass> KivFXTrackPersistClasses() {
    static const KivFXPersistClass classes[] = {
        KIV_CLASS(CKivFXInsValueKeyFrm),
        KIV_CLASS(CKivFXValueKeyFrm),
        KIV_CLASS(CKivFXPosiKeyFrm),
        KIV_CLASS(CKivFXColor32KeyFrm),
        KIV_CLASS(CKivFXTransformKeyFrm),
        // Its values are written by hand after the root's part (see docs/FORMATS.md).
        KIV_CLASS_WITHOUT_FIELDS(CKivFXDynamicKeyFrm),
        KIV_CLASS(CKivFXInsKeyFrmList),
        KIV_CLASS(CKivFXPosiKeyFrmList),
        KIV_CLASS(CKivFXColor32KeyFrmList),
    };
    return classes;
}
