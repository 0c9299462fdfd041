#include "keyfrm/tracks/KivFXTrackKinds.h"

#include "keyfrm/core/KivFXKeyFrmList.h"

void KivFXRegisterTrackKinds() {
    // The scalar and position tracks register here as they join the library.
}
