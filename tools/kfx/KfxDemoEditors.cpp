#include "KfxDemoParts.h"

void KfxDemoEditors(KfxDemoContext&) {
    // This part of the demo grows with its subsystem.
}
