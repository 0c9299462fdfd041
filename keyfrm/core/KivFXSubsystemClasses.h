// Each subsystem's own list of persistable classes; KivFXKeyFrmPersistClasses joins them.
#pragma once

#include <span>

#include "keyfrm/core/KivFXKeyFrmModule.h"

/// KivFXPersistClass entry for a class with a field table, and for one without.
#define KIV_CLASS(Class) KivFXPersistClass{RUNTIME_CLASS(Class), &Class::Level}
#define KIV_CLASS_WITHOUT_FIELDS(Class) KivFXPersistClass{RUNTIME_CLASS(Class), nullptr}

std::span<const KivFXPersistClass> KivFXCorePersistClasses();       // keyfrm/core
std::span<const KivFXPersistClass> KivFXTrackPersistClasses();      // keyfrm/tracks
std::span<const KivFXPersistClass> KivFX3DPersistClasses();         // keyfrm/fx3d
std::span<const KivFXPersistClass> KivFXSoftPersistClasses();       // keyfrm/softfx
std::span<const KivFXPersistClass> KivFXEffectObjPersistClasses();  // keyfrm/effectobj
