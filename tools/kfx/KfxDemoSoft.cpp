#include "KfxDemoParts.h"

void KfxDemoSoftEffects(KfxDemoContext&) {
    // This part of the demo grows with its subsystem.
}
