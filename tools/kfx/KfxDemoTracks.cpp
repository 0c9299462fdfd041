#include "KfxDemoParts.h"

void KfxDemoTracks(KfxDemoContext&) {
    // This part of the demo grows with its subsystem.
}
