// The library as a module: its start-up when loaded (class registration, the extension
// module record with the module handle, window messages) and its end when unloaded.
#pragma once

#include <span>
#include <string>

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

/// One persistable class of the library: its run-time class and its field table.
struct KivFXPersistClass {
    CRuntimeClass* runtimeClass;
    KivLevelFn level;
};
/// Every persistable class of the library, in the order start-up registers them.
std::span<const KivFXPersistClass> KivFXKeyFrmPersistClasses();

/// Runs the start-up again if it has not run (hosts that load the library statically
/// need not call it; tests use it after KivFXKeyFrmModuleEnd). Returns TRUE on success.
BOOL KivFXKeyFrmModuleStart();
/// Unregisters the library's classes and ends the module record.
void KivFXKeyFrmModuleEnd();

/// The generated part of docs/FORMATS.md: every persistable class's levels and fields.
std::string KivFXDescribeAllFormats();
