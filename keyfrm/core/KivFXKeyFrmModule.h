// The library as a module: the extension-module record with the module handle under which
// its resources are registered, and the shape of a persistable class's entry in the
// start-up list (keyfrm/KivFXKeyFrmStartup.h runs the start-up itself).
#pragma once

#include "kivbase/persist/KivPersist.h"

/// The extension-module record: the library's own module handle, under which its
/// resources (menu and string texts, dialog templates, the bitmap) are registered.
struct KivFXExtensionModule {
    HINSTANCE hModule = nullptr;
    BOOL bInitialized = FALSE;
};

/// The record of this library (valid after start-up).
const KivFXExtensionModule& KivFXKeyFrmGetModule();
/// The library's module handle, for the GUI kit and resource helpers.
HINSTANCE KivFXKeyFrmGetModuleHandle();
/// Start-up's last step and end's first: a handle marks the module initialised, null ends it.
void KivFXKeyFrmSetModule(HINSTANCE module);

/// One persistable class of the library: its run-time class and its field table.
struct KivFXPersistClass {
    CRuntimeClass* runtimeClass;
    KivLevelFn level;
};

/// KivFXPersistClass entry for a class with a field table, and for one without.
#define KIV_CLASS(Class) KivFXPersistClass{RUNTIME_CLASS(Class), &Class::Level}
#define KIV_CLASS_WITHOUT_FIELDS(Class) KivFXPersistClass{RUNTIME_CLASS(Class), nullptr}
