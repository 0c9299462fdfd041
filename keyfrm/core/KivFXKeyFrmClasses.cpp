// The one explicit list of the library's persistable classes. Start-up registers them
// from here, so no class depends on a static initialiser the linker might drop.
#include "keyfrm/core/KivFXKeyFrmModule.h"
#include "kivbase/persist/KivFormatDoc.h"
#include "keyfrm/tracks/CKivFXValueKeyFrm.h"
#include "kivbase/CKivObList.h"

#define KIV_CLASS(Class) {RUNTIME_CLASS(Class), &Class::Level}
#define KIV_CLASS_WITHOUT_FIELDS(Class) {RUNTIME_CLASS(Class), nullptr}

std::span<const KivFXPersistClass> KivFXKeyFrmPersistClasses() {
    static const KivFXPersistClass classes[] = {
        KIV_CLASS_WITHOUT_FIELDS(CKivObject),
        KIV_CLASS_WITHOUT_FIELDS(CKivObList),
        KIV_CLASS(CKivFXBaseKeyFrm),
        KIV_CLASS(CKivFXInsValueKeyFrm),
        KIV_CLASS(CKivFXValueKeyFrm),
    };
    return classes;
}

std::string KivFXDescribeAllFormats() {
    std::string out;
    for (const KivFXPersistClass& c : KivFXKeyFrmPersistClasses())
        if (c.level) out += KivDescribeClass(c.runtimeClass);
    return out;
}
