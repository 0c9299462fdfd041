#include "keyfrm/core/KivFXKeyFrmModule.h"

#include <memory>

#include "keyfrm/core/KivFXKeyFrmList.h"
#include "keyfrm/editors/KivFXEditorMessages.h"
#include "keyfrm/editors/KivFXEditorResources.h"
#include "keyfrm/tracks/KivFXTrackKinds.h"
#include "platform/ui/Resources.h"

namespace {

KivFXExtensionModule g_module;

// The library's resources, whose handle is the module handle. Held until the module ends
// (never by a static destructor, whose order against the unload function is not fixed).
std::unique_ptr<KivResourceModule>& Resources() {
    static auto& resources = *new std::unique_ptr<KivResourceModule>();
    return resources;
}

__attribute__((constructor)) void OnLoad() { KivFXKeyFrmModuleStart(); }
__attribute__((destructor)) void OnUnload() { KivFXKeyFrmModuleEnd(); }

}  // namespace

const KivFXExtensionModule& KivFXKeyFrmGetModule() { return g_module; }

HINSTANCE KivFXKeyFrmGetModuleHandle() { return g_module.hModule; }

BOOL KivFXKeyFrmModuleStart() {
    if (g_module.bInitialized) return TRUE;
    if (!KivFXRegisterEditorMessages()) return FALSE;
    for (const KivFXPersistClass& c : KivFXKeyFrmPersistClasses()) {
        if (!CRuntimeClass::Register(c.runtimeClass)) return FALSE;
        if (c.level) KivRegisterLevel(c.runtimeClass, c.level);
    }
    KivFXRegisterTrackKinds();
    Resources() = std::make_unique<KivResourceModule>();
    KivFXAddEditorResources(*Resources());
    g_module.hModule = Resources()->GetHandle();
    g_module.bInitialized = TRUE;
    return TRUE;
}

void KivFXKeyFrmModuleEnd() {
    if (!g_module.bInitialized) return;
    KivFXUnregisterTrackKinds();
    Resources().reset();
    g_module.hModule = nullptr;
    for (const KivFXPersistClass& c : KivFXKeyFrmPersistClasses()) {
        KivUnregisterLevel(c.runtimeClass);
        CRuntimeClass::Unregister(c.runtimeClass);
    }
    g_module.bInitialized = FALSE;
}
