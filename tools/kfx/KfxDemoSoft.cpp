// Demo part: one keyframe of every soft (2-D) effect, one of every effect object and a
// colour array, a few of them given values of their own so the files show every stored form.
#include <memory>
#include <string>

#include "KfxDemoParts.h"
#include "keyfrm/core/KivFXSubsystemClasses.h"
#include "keyfrm/effectobj/KivFXEffectObj.h"
#include "keyfrm/softfx/KivFXSoft.h"

namespace {

// Gives the objects that store more than their version words something to show.
void Customise(CObject* object) {
    if (auto* alpha = dynamic_cast<CKivSoftFXAlphaKeyFrm*>(object)) {
        for (double shade : {0.0, 0.25, 0.75, 1.0}) alpha->ShadeColor.Add(shade);
    } else if (auto* flow = dynamic_cast<CKivEffectColorFlowObj*>(object)) {
        flow->FlowSpeed = -5;
        flow->FXBegin = 0.25;
        flow->Flow.Add(CKivColor32(0xFF3366CCu), 1);
    } else if (auto* shine = dynamic_cast<CKivEffectShineLightObj*>(object)) {
        shine->ShineDir = 3;
        shine->ShineRadius = 24;
    } else if (auto* colors = dynamic_cast<CKivColor32Array*>(object)) {
        for (DWORD packed : {0xFFFF0000u, 0xFF00FF00u, 0x800000FFu}) colors->Add(CKivColor32(packed), 1);
    }
}

}  // namespace

void KfxDemoSoftEffects(KfxDemoContext& demo) {
    const auto soft = KivFXSoftPersistClasses();
    const auto objects = KivFXEffectObjPersistClasses();
    int added = 0;
    for (auto part : {soft, objects})
        for (const KivFXPersistClass& c : part) {
            std::unique_ptr<CObject> object(c.runtimeClass->CreateObject());
            if (!object) return demo.Fail(std::string("cannot create ") + c.runtimeClass->m_lpszClassName);
            if (auto* key = dynamic_cast<CKivFXBaseKeyFrm*>(object.get())) key->Location = added / static_cast<double>(soft.size());
            Customise(object.get());
            demo.project.AddTail(object.release());
            ++added;
        }
    auto colors = std::make_unique<CKivColor32Array>();
    Customise(colors.get());
    demo.project.AddTail(colors.release());
    demo.Report(std::to_string(soft.size()) + " soft effect keyframes, " + std::to_string(objects.size()) +
                " effect objects and a colour array");

    // The working buffers effects build on Open (not stored).
    CKivEffectShineLightObj shine;
    CKivEffectColorFlowObj flow;
    if (!shine.Open() || !flow.Open()) return demo.Fail("an effect object does not open");
    const CSize strip = flow.FlowBlock.GetSize();
    demo.Report("shine table of " + std::to_string(shine.ShineRadius) + " weights, " + std::to_string(shine.ShineTable[0]) +
                " down to " + std::to_string(shine.ShineTable[shine.ShineRadius - 1]) + "; colour-flow strip " +
                std::to_string(strip.cx) + " x " + std::to_string(strip.cy));
}
