#include "keyfrm/core/KivFXSubsystemClasses.h"

std::span<const KivFXPersistClass> KivFX3DPersistClasses() {
    // The classes of this subsystem join the registration list here as they are built.
    return {};
}
