// Small builders for track tests: tracks with keyframes appended in the order given (not
// sorted), and sample lists that destroy what they hold.
#pragma once

#include <memory>
#include <vector>

#include "keyfrm/tracks/KivFXTracks.h"
#include "kivbase/CKivObList.h"

namespace kfxtest {

struct ScalarKey {
    double location;
    int frame;
    float value;
    float foreOffset = 0.0f;
    float afterOffset = 0.0f;
};

inline CKivFXValueKeyFrm* Append(CObList& track, const ScalarKey& s) {
    auto k = std::make_unique<CKivFXValueKeyFrm>();
    k->Location = s.location;
    k->Frame = s.frame;
    k->Value = s.value;
    k->PtFore.ValueOffset = s.foreOffset;
    k->PtAfter.ValueOffset = s.afterOffset;
    track.AddTail(k.get());
    return k.release();
}

inline std::unique_ptr<CKivFXInsKeyFrmList> Scalar(std::initializer_list<ScalarKey> keys, int insMode = 0) {
    auto t = std::make_unique<CKivFXInsKeyFrmList>();
    t->InsMode = insMode;
    for (const ScalarKey& k : keys) Append(*t, k);
    return t;
}

struct PosiKey {
    double location;
    int frame;
    float x, y, z;
};

inline CKivFXPosiKeyFrm* AppendPosi(CObList& track, const PosiKey& p) {
    auto k = std::make_unique<CKivFXPosiKeyFrm>();
    k->Location = p.location;
    k->Frame = p.frame;
    k->PosiX = p.x;
    k->PosiY = p.y;
    k->PosiZ = p.z;
    track.AddTail(k.get());
    return k.release();
}

inline CKivFXColor32KeyFrm* AppendColour(CObList& track, double location, DWORD colour) {
    auto k = std::make_unique<CKivFXColor32KeyFrm>();
    k->Location = location;
    k->Color = colour;
    track.AddTail(k.get());
    return k.release();
}

/// An owning list for samples: whatever a sampler leaves in it is destroyed with it.
class SampleList : public CObList {
public:
    ~SampleList() override { Clear(); }
    /// Destroys what it holds (samplers only unlink former elements) and returns itself.
    CObList* Fresh() {
        Clear();
        return this;
    }
    void Clear() {
        while (!IsEmpty()) delete RemoveHead();
    }
    template <class K>
    std::vector<K*> As() const {
        std::vector<K*> out;
        for (POSITION p = GetHeadPosition(); p;) out.push_back(static_cast<K*>(GetNext(p)));
        return out;
    }
    std::vector<float> Values() const {
        std::vector<float> out;
        for (auto* k : As<CKivFXValueKeyFrm>()) out.push_back(k->Value);
        return out;
    }
};

}  // namespace kfxtest
