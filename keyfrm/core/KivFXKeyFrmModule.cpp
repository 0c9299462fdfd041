#include "keyfrm/core/KivFXKeyFrmModule.h"

#include <dlfcn.h>

#include "keyfrm/core/KivFXKeyFrmList.h"
#include "keyfrm/tracks/KivFXTrackKinds.h"

namespace {

KivFXExtensionModule g_module;

// The module handle is the address the library was loaded at, as on the system the
// library comes from; resources are registered under it.
HINSTANCE FindOwnModuleHandle() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&FindOwnModuleHandle), &info) && info.dli_fbase) return info.dli_fbase;
    return reinterpret_cast<HINSTANCE>(&g_module);  // any stable, unique address will do
}

__attribute__((constructor)) void OnLoad() { KivFXKeyFrmModuleStart(); }
__attribute__((destructor)) void OnUnload() { KivFXKeyFrmModuleEnd(); }

}  // namespace

const KivFXExtensionModule& KivFXKeyFrmGetModule() { return g_module; }

HINSTANCE KivFXKeyFrmGetModuleHandle() { return g_module.hModule; }

BOOL KivFXKeyFrmModuleStart() {
    if (g_module.bInitialized) return TRUE;
    for (const KivFXPersistClass& c : KivFXKeyFrmPersistClasses()) {
        if (!CRuntimeClass::Register(c.runtimeClass)) return FALSE;
        if (c.level) KivRegisterLevel(c.runtimeClass, c.level);
    }
    KivFXRegisterTrackKinds();
    g_module.hModule = FindOwnModuleHandle();
    g_module.bInitialized = TRUE;
    return TRUE;
}

void KivFXKeyFrmModuleEnd() {
    if (!g_module.bInitialized) return;
    KivFXUnregisterTrackKinds();
    for (const KivFXPersistClass& c : KivFXKeyFrmPersistClasses()) {
        KivUnregisterLevel(c.runtimeClass);
        CRuntimeClass::Unregister(c.runtimeClass);
    }
    g_module.bInitialized = FALSE;
}
