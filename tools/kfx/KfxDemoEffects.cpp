#include "KfxDemoParts.h"

void KfxDemoEffects(KfxDemoContext&) {
    // This part of the demo grows with its subsystem.
}
