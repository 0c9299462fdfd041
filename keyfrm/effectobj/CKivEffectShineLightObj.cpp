#include "keyfrm/effectobj/CKivEffectShineLightObj.h"

#include <new>

KIV_IMPLEMENT_PERSIST_CLASS(CKivEffectShineLightObj, CKivEffectBaseObj)
KIV_IMPLEMENT_PERSIST_FORMATS(CKivEffectShineLightObj, CKivEffectBaseObj)

KIV_LEVEL(CKivEffectShineLightObj, "CKivEffectShineLightObj", 0, 0,
          KivField<&Self::ShineDir>("ShineDir", KivEnc::i16, KivXml::i16, 2),
          KivField<&Self::ShineRadius>("ShineRadius", KivEnc::i16, KivXml::i16, 50))

namespace {

// The directions in which the shine runs horizontally.
constexpr int kShineDirHorzFirst = 2;
constexpr int kShineDirHorzLast = 3;

}  // namespace

CKivEffectShineLightObj::CKivEffectShineLightObj() { KivDefaultLevel(this, Level()); }

CKivEffectShineLightObj::~CKivEffectShineLightObj() { CKivEffectShineLightObj::Close(); }

void CKivEffectShineLightObj::Default() {
    CKivEffectBaseObj::Default();
    KivDefaultLevel(this, Level());
}

/// The base's fields and this level's; the target ends closed, never sharing src's table.
CKivEffectShineLightObj& CKivEffectShineLightObj::operator=(const CKivEffectShineLightObj& src) {
    CKivEffectBaseObj::operator=(src);
    KivAssignLevel(this, &src, Level());
    Close();
    return *this;
}

int CKivEffectShineLightObj::Open() {
    Close();
    const int radius = ShineRadius;
    if (radius <= 0) return 0;
    std::unique_ptr<int[]> table(new (std::nothrow) int[static_cast<size_t>(radius)]);
    if (!table) return 0;
    for (int i = 0; i < radius; ++i) table[i] = (radius - i) * kFullWeight / radius;
    ShineTable = std::move(table);
    return 1;
}

void CKivEffectShineLightObj::Close() { ShineTable.reset(); }

int CKivEffectShineLightObj::IsHorzDir() const {
    return ShineDir >= kShineDirHorzFirst && ShineDir <= kShineDirHorzLast ? 1 : 0;
}
