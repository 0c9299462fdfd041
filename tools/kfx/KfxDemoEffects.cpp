// Demo part: one keyframe of every 3-D effect, particle, emitter and colour mask class,
// each with some parameters away from their defaults, spread along the effect.
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "KfxDemoParts.h"
#include "keyfrm/KivFXKeyFrmStartup.h"
#include "keyfrm/fx3d/KivFX3D.h"

namespace {

using KeyList = std::vector<std::unique_ptr<CKivFXBaseKeyFrm>>;

template <class K, class Setup>
void Add(KeyList& keys, Setup setup) {
    auto key = std::make_unique<K>();
    setup(*key);
    keys.push_back(std::move(key));
}

void AddEffectKeys(KeyList& keys) {
    Add<CKiv3DFXBaseKeyFrm>(keys, [](auto& k) { k.Prog = 0.1f; });
    Add<CKiv3DFXArrayKeyFrm>(keys, [](auto& k) { k.Prog = 0.2f; });
    Add<CKiv3DFXGrowKeyFrm>(keys, [](auto& k) { k.Prog = 0.3f; });
    Add<CKiv3DFXQueueKeyFrm>(keys, [](auto& k) { k.Prog = 0.4f; });
    Add<CKiv3DFXSpreadKeyFrm>(keys, [](auto& k) { k.Prog = 0.5f; });
    Add<CKiv3DFXTileKeyFrm>(keys, [](auto& k) { k.Prog = 0.6f; });
    Add<CKiv3DFXBlurWipeKeyFrm>(keys, [](auto& k) { k.Prog = 0.7f; });
    Add<CKiv3DFXScrewKeyFrm>(keys, [](auto& k) { k.Prog = 0.8f; });
    Add<CKiv3DFXSmashKeyFrm>(keys, [](auto& k) { k.Prog = 0.9f; });
    Add<CKiv3DFXBendKeyFrm>(keys, [](auto& k) {
        k.Prog = 0.5f;
        k.Center = 0.25f;
        k.Distance = 40.0f;
    });
    Add<CKiv3DFXDistortKeyFrm>(keys, [](auto& k) {
        k.Prog = 1.0f;
        k.LeftTop = {36.0f, 28.8f, -10.0f};
        k.RightBottom = {684.0f, 547.2f, 10.0f};
    });
    Add<CKiv3DFXFlyLightKeyFrm>(keys, [](auto& k) {
        k.Angle = 45.0f;
        k.HalfRange = 32.5f;
        k.Color = 0xFFFFC040;  // opaque amber
    });
    Add<CKiv3DFXGhostKeyFrm>(keys, [](auto& k) {
        k.Pitch = 15.0f;
        k.Distance = 2.5f;
        k.GhostAlpha = 0.35f;
    });
    Add<CKiv3DFXPageCurlKeyFrm>(keys, [](auto& k) {
        k.Angle = 30.0f;
        k.Radius = 48.0f;
    });
    Add<CKiv3DFXWaveKeyFrm>(keys, [](auto& k) {
        k.SpanAngle = 20.0f;
        k.Swing = 75.0f;
    });
    Add<CKiv3DFXWipeKeyFrm>(keys, [](auto& k) {
        k.Angle = 135.0f;
        k.Soft = 0.5f;
    });
}

void AddParticleKeys(KeyList& keys) {
    Add<CKiv3DFXPartPlayKeyFrm>(keys, [](auto& k) {
        k.Number = 40;
        k.NumberVar = 0.5f;
        k.Life = 120;
        k.LifeVar = 12;
        k.Speed = 7.5f;
        k.WeightY = -0.25f;
        k.Spin = 3.0f;
    });
    Add<CKiv3DFXPartLifeKeyFrm>(keys, [](auto& k) {
        k.SizeScale = 0.5f;
        k.SpinScale = 2.0f;
        k.Color = 0x80FF8000;  // half-transparent orange
    });
}

void AddEmitterAndMaskKeys(KeyList& keys) {
    Add<CKivFXEmitEllipseKeyFrm>(keys, [](auto& k) { k.Width = 320.0f; });
    Add<CKivFXEmitLineKeyFrm>(keys, [](auto& k) { k.Length = 480.0f; });
    Add<CKivFXEmitRectKeyFrm>(keys, [](auto& k) { k.Height = 90.0f; });
    Add<CKivFXEmitTriangleKeyFrm>(keys, [](auto& k) { k.PtVec0 = {0.0, 232.0}; });
    Add<CKivFXColorMaskKeyFrm>(keys, [](auto& k) {
        k.Green = 128.0f;
        k.Alpha = 200.0f;
    });
}

}  // namespace

void KfxDemoEffects(KfxDemoContext& demo) {
    KeyList keys;
    AddEffectKeys(keys);
    AddParticleKeys(keys);
    AddEmitterAndMaskKeys(keys);

    std::set<const CRuntimeClass*> built;
    for (size_t i = 0; i < keys.size(); ++i) {
        keys[i]->Location = static_cast<double>(i) / static_cast<double>(keys.size() - 1);
        keys[i]->Restore = static_cast<int>(i % 2);
        built.insert(keys[i]->GetRuntimeClass());
    }
    for (const KivFXPersistClass& c : KivFX3DPersistClasses())
        if (!built.count(c.runtimeClass))
            demo.Fail(std::string("the 3-D effect demo has no ") + c.runtimeClass->m_lpszClassName);

    demo.Report(std::to_string(keys.size()) + " 3-D effect, particle, emitter and colour mask keyframes, one of each class");
    for (auto& key : keys) {
        demo.project.AddTail(key.get());
        key.release();  // the project owns it now
    }
}
