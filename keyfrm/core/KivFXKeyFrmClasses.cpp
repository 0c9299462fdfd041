// The one explicit list of the library's persistable classes, gathered from each
// subsystem's own list. Start-up registers them from here, so no class depends on a
// static initialiser the linker might drop.
#include <vector>

#include "keyfrm/core/KivFXKeyFrmModule.h"
#include "keyfrm/core/KivFXSubsystemClasses.h"
#include "kivbase/persist/KivFormatDoc.h"

std::span<const KivFXPersistClass> KivFXKeyFrmPersistClasses() {
    static const std::vector<KivFXPersistClass> classes = [] {
        std::vector<KivFXPersistClass> all;
        for (auto part : {KivFXCorePersistClasses(), KivFXTrackPersistClasses(), KivFX3DPersistClasses(),
                          KivFXSoftPersistClasses(), KivFXEffectObjPersistClasses()})
            all.insert(all.end(), part.begin(), part.end());
        return all;
    }();
    return classes;
}

std::string KivFXDescribeAllFormats() {
    std::string out;
    for (const KivFXPersistClass& c : KivFXKeyFrmPersistClasses())
        if (c.level) out += KivDescribeClass(c.runtimeClass);
    return out;
}
