#include "keyfrm/core/KivFXSubsystemClasses.h"

std::span<const KivFXPersistClass> KivFXEffectObjPersistClasses() {
    // The classes of this subsystem join the registration list here as they are built.
    return {};
}
