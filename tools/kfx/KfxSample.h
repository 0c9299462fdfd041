// Sampling tracks to CSV, shared by `kfx sample` and the demo.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "KfxProject.h"
#include "kivbase/CKivObList.h"
#include "platform/fw/KivTypes.h"

/// How to sample: every frame from `from` to `to`, or `count` evenly spaced samples.
struct KfxSampling {
    bool byFrames = false;
    int from = 0;
    int to = 0;
    ULONG count = 0;
};

/// Writes the samples as CSV with a header line; numbers are spelled so that they read back
/// exactly. Throws KfxError for frames on a colour track (placed by location only).
void KfxWriteSamples(CKivObList& track, const KfxSampling& how, std::FILE* out);
