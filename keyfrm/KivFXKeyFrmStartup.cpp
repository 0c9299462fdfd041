// The library's start-up list. Start-up registers every class from here, so no class
// depends on a static initialiser the linker might drop, and the order below is the one
// place that says what comes first: messages, classes with their field tables, track
// kinds, then the resources whose handle becomes the module handle.
#include "keyfrm/KivFXKeyFrmStartup.h"

#include <memory>
#include <vector>

#include "keyfrm/core/KivFXKeyFrmList.h"
#include "keyfrm/editors/KivFXEditorMessages.h"
#include "keyfrm/editors/KivFXEditorResources.h"
#include "keyfrm/tracks/KivFXTrackKinds.h"
#include "platform/ui/Resources.h"

namespace {

// The library's resources, whose handle is the module handle. Held until the module ends
// (never by a static destructor, whose order against the unload function is not fixed).
std::unique_ptr<KivResourceModule>& Resources() {
    static auto& resources = *new std::unique_ptr<KivResourceModule>();
    return resources;
}

__attribute__((constructor)) void OnLoad() { KivFXKeyFrmModuleStart(); }
__attribute__((destructor)) void OnUnload() { KivFXKeyFrmModuleEnd(); }

}  // namespace

std::span<const KivFXPersistClass> KivFXKeyFrmPersistClasses() {
    // Never destroyed: the unload function walks it after the static objects are gone (a
    // host's exit runs them first), as the registries it unregisters from are kept.
    static const auto& classes = *new std::vector<KivFXPersistClass>([] {
        std::vector<KivFXPersistClass> all;
        for (auto part : {KivFXCorePersistClasses(), KivFXTrackPersistClasses(), KivFX3DPersistClasses(),
                          KivFXSoftPersistClasses(), KivFXEffectObjPersistClasses()})
            all.insert(all.end(), part.begin(), part.end());
        return all;
    }());
    return classes;
}

BOOL KivFXKeyFrmModuleStart() {
    if (KivFXKeyFrmGetModule().bInitialized) return TRUE;
    if (!KivFXRegisterEditorMessages()) return FALSE;
    for (const KivFXPersistClass& c : KivFXKeyFrmPersistClasses()) {
        if (!CRuntimeClass::Register(c.runtimeClass)) return FALSE;
        if (c.level) KivRegisterLevel(c.runtimeClass, c.level);
    }
    KivFXRegisterTrackKinds();
    Resources() = std::make_unique<KivResourceModule>();
    KivFXAddEditorResources(*Resources());
    KivFXKeyFrmSetModule(Resources()->GetHandle());
    return TRUE;
}

void KivFXKeyFrmModuleEnd() {
    if (!KivFXKeyFrmGetModule().bInitialized) return;
    KivFXUnregisterTrackKinds();
    Resources().reset();
    KivFXKeyFrmSetModule(nullptr);
    for (const KivFXPersistClass& c : KivFXKeyFrmPersistClasses()) {
        KivUnregisterLevel(c.runtimeClass);
        CRuntimeClass::Unregister(c.runtimeClass);
    }
}
