#include "keyfrm/core/CKivFXBaseKeyFrm.h"
#include "keyfrm/core/KivFXKeyFrmModule.h"
#include "kivbase/CKivColor32Array.h"
#include "kivbase/CKivObList.h"

std::span<const KivFXPersistClass> KivFXCorePersistClasses() {
    static const KivFXPersistClass classes[] = {
        KIV_CLASS_WITHOUT_FIELDS(CKivObject),
        KIV_CLASS_WITHOUT_FIELDS(CKivObList),
        KIV_CLASS(CKivFXBaseKeyFrm),
        KIV_CLASS(CKivColor32Array),  // the colour library's list, held by effect objects
    };
    return classes;
}
