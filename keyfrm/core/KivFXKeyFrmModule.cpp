#include "keyfrm/core/KivFXKeyFrmModule.h"

namespace {

KivFXExtensionModule g_module;

}  // namespace

const KivFXExtensionModule& KivFXKeyFrmGetModule() { return g_module; }

HINSTANCE KivFXKeyFrmGetModuleHandle() { return g_module.hModule; }

void KivFXKeyFrmSetModule(HINSTANCE module) {
    g_module.hModule = module;
    g_module.bInitialized = module != nullptr;
}
