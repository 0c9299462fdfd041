// The library's start-up and end, above every subsystem: the one explicit list of
// persistable classes gathered from each subsystem's own list, and the order in which
// messages, classes, track kinds and resources are registered.
#pragma once

#include <span>
#include <string>

#include "keyfrm/core/KivFXKeyFrmModule.h"

/// Each subsystem's own list of persistable classes, defined in that subsystem.
std::span<const KivFXPersistClass> KivFXCorePersistClasses();       // keyfrm/core
std::span<const KivFXPersistClass> KivFXTrackPersistClasses();      // keyfrm/tracks
std::span<const KivFXPersistClass> KivFX3DPersistClasses();         // keyfrm/fx3d
std::span<const KivFXPersistClass> KivFXSoftPersistClasses();       // keyfrm/softfx
std::span<const KivFXPersistClass> KivFXEffectObjPersistClasses();  // keyfrm/effectobj

/// Every persistable class of the library, in the order start-up registers them.
std::span<const KivFXPersistClass> KivFXKeyFrmPersistClasses();

/// Runs the start-up again if it has not run (hosts that load the library statically
/// need not call it; tests use it after KivFXKeyFrmModuleEnd). Returns TRUE on success.
BOOL KivFXKeyFrmModuleStart();
/// Unregisters the library's classes and ends the module record.
void KivFXKeyFrmModuleEnd();
