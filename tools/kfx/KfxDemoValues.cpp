// Demo part: a few value keyframes sorted by the list functions.
#include <memory>

#include "KfxDemoParts.h"
#include "keyfrm/core/KivFXKeyFrmList.h"
#include "keyfrm/tracks/CKivFXValueKeyFrm.h"

void KfxDemoValueKeyFrames(KfxDemoContext& demo) {
    struct Sample {
        double location;
        int frame;
        float value;
        int insKind;
    };
    constexpr Sample kSamples[] = {{0.75, 75, 8.5f, 1}, {0.0, 0, 0.0f, 0}, {0.25, 25, 10.0f, 1}, {1.0, 100, -2.25f, 0}, {0.5, 50, 3.0f, 1}};
    // Added out of order, as a person edits, and kept in order by the list functions.
    CKivObList keys;
    for (const Sample& s : kSamples) {
        auto key = std::make_unique<CKivFXValueKeyFrm>();
        key->Location = s.location;
        key->Frame = s.frame;
        key->Value = s.value;
        key->InsKind = s.insKind;
        key->Restore = s.frame % 2;
        key->PtFore = {-0.5f, -0.1};
        key->PtAfter = {0.5f, 0.1};
        KivFXKeyFrmInsertKF(&keys, key.release());
    }
    demo.Report(std::to_string(keys.GetCount()) + " value keyframes, in location order");
    while (!keys.IsEmpty()) demo.project.AddTail(keys.RemoveHead());
}
