#include "keyfrm/fx3d/KivFXEmitKeyFrms.h"

namespace {
constexpr float kDefaultExtent = 200.0f;  // default width, height and length of a shape
// The default triangle: apex above the origin, base below, centroid at the origin.
constexpr SKivFXEmitVertex kDefaultApex{0, 116};
constexpr SKivFXEmitVertex kDefaultBaseRight{100, -58};
constexpr SKivFXEmitVertex kDefaultBaseLeft{-100, -58};
}  // namespace

KIV_IMPLEMENT_PERSIST_LEVEL(CKivFXEmitEllipseKeyFrm, CKivFXBaseKeyFrm)
KIV_LEVEL(CKivFXEmitEllipseKeyFrm, "CKivFXEmitEllipseKeyFrm", 0, 0,
          KivField<&Self::Width>("Width", KivEnc::f32, KivXml::f32, kDefaultExtent),
          KivField<&Self::Height>("Height", KivEnc::f32, KivXml::f32, kDefaultExtent))
KIV_IMPLEMENT_DEFAULT(CKivFXEmitEllipseKeyFrm, CKivFXBaseKeyFrm)
CKivFXEmitEllipseKeyFrm::CKivFXEmitEllipseKeyFrm() { KivDefaultLevel(this, Level()); }

KIV_IMPLEMENT_PERSIST_LEVEL(CKivFXEmitLineKeyFrm, CKivFXBaseKeyFrm)
KIV_LEVEL(CKivFXEmitLineKeyFrm, "CKivFXEmitLineKeyFrm", 0, 0,
          KivField<&Self::Length>("Length", KivEnc::f32, KivXml::f32, kDefaultExtent))
KIV_IMPLEMENT_DEFAULT(CKivFXEmitLineKeyFrm, CKivFXBaseKeyFrm)
CKivFXEmitLineKeyFrm::CKivFXEmitLineKeyFrm() { KivDefaultLevel(this, Level()); }

KIV_IMPLEMENT_PERSIST_LEVEL(CKivFXEmitRectKeyFrm, CKivFXBaseKeyFrm)
KIV_LEVEL(CKivFXEmitRectKeyFrm, "CKivFXEmitRectKeyFrm", 0, 0,
          KivField<&Self::Width>("Width", KivEnc::f32, KivXml::f32, kDefaultExtent),
          KivField<&Self::Height>("Height", KivEnc::f32, KivXml::f32, kDefaultExtent))
KIV_IMPLEMENT_DEFAULT(CKivFXEmitRectKeyFrm, CKivFXBaseKeyFrm)
CKivFXEmitRectKeyFrm::CKivFXEmitRectKeyFrm() { KivDefaultLevel(this, Level()); }

KIV_IMPLEMENT_PERSIST_LEVEL(CKivFXEmitTriangleKeyFrm, CKivFXBaseKeyFrm)
// Each vertex is one 16-byte block; a shorter block in XML leaves the vertex as it was.
KIV_LEVEL(CKivFXEmitTriangleKeyFrm, "CKivFXEmitTriangleKeyFrm", 0, 0,
          KivBlockField<&Self::PtVec0>("PtVec0", kDefaultApex),
          KivBlockField<&Self::PtVec1>("PtVec1", kDefaultBaseRight),
          KivBlockField<&Self::PtVec2>("PtVec2", kDefaultBaseLeft))
KIV_IMPLEMENT_DEFAULT(CKivFXEmitTriangleKeyFrm, CKivFXBaseKeyFrm)
CKivFXEmitTriangleKeyFrm::CKivFXEmitTriangleKeyFrm() { KivDefaultLevel(this, Level()); }
