#include "keyfrm/tracks/KivFXTrackKinds.h"

#include "keyfrm/core/KivFXKeyFrmList.h"
#include "keyfrm/tracks/CKivFXInsKeyFrmList.h"
#include "keyfrm/tracks/CKivFXInsValueKeyFrm.h"
#include "keyfrm/tracks/CKivFXPosiKeyFrmList.h"

void KivFXRegisterTrackKinds() {
    KivFXRegisterFramedKind({RUNTIME_CLASS(CKivFXInsValueKeyFrm),
                             [](const CKivFXBaseKeyFrm* k) { return static_cast<const CKivFXInsValueKeyFrm*>(k)->Frame; }});
    // The colour track is not registered: it takes any keyframe and is always location-based.
    KivFXRegisterTrackKind({RUNTIME_CLASS(CKivFXInsKeyFrmList), RUNTIME_CLASS(CKivFXValueKeyFrm),
                            [](const CKivObList* t) { return static_cast<const CKivFXInsKeyFrmList*>(t)->IsBaseOnFrame(); }});
    KivFXRegisterTrackKind({RUNTIME_CLASS(CKivFXPosiKeyFrmList), RUNTIME_CLASS(CKivFXPosiKeyFrm),
                            [](const CKivObList* t) { return static_cast<const CKivFXPosiKeyFrmList*>(t)->IsBaseOnFrame(); }});
}
