// The parts of `kfx demo`, one per subsystem: each adds its objects to the project and
// writes its own outputs (samples, pictures) into the demo folder.
#pragma once

#include <filesystem>
#include <string>

#include "kivbase/CKivObList.h"

struct KfxDemoContext {
    CKivObList& project;
    std::filesystem::path dir;
    bool ok = true;  // a part that finds a fault prints it and clears this
    /// Prints one report line (indented under the demo's heading).
    void Report(const std::string& line) const;
    /// Records a failed check with its message.
    void Fail(const std::string& message);
    /// Writes text to name in the demo folder as every kfx file is written (KfxWriteFile);
    /// false, with the fault recorded, when it cannot.
    bool Write(const std::string& name, const std::string& text);
};

void KfxDemoValueKeyFrames(KfxDemoContext& demo);  // KfxDemoValues.cpp
void KfxDemoTracks(KfxDemoContext& demo);          // KfxDemoTracks.cpp
void KfxDemoEffects(KfxDemoContext& demo);         // KfxDemoEffects.cpp
void KfxDemoSoftEffects(KfxDemoContext& demo);     // KfxDemoSoft.cpp
void KfxDemoEditors(KfxDemoContext& demo);         // KfxDemoEditors.cpp
