#include "keyfrm/fx3d/CKiv3DFXDistortKeyFrm.h"

namespace {
// The undistorted corners are those of a standard-definition PAL frame, whatever the
// project's own frame size: stored keyframes rely on these defaults.
constexpr float kFrameWidth = 720.0f;
constexpr float kFrameHeight = 576.0f;
}  // namespace

KIV_IMPLEMENT_PERSIST_LEVEL(CKiv3DFXDistortKeyFrm, CKiv3DFXBaseKeyFrm)

// Each corner is one 12-byte block; a shorter block in XML leaves the corner as it was.
KIV_LEVEL(CKiv3DFXDistortKeyFrm, "CKiv3DFXDistortKeyFrm", 0, 0,
          KivBlockField<&Self::LeftTop>("LeftTop", SKiv3DFXPoint{0, 0, 0}),
          KivBlockField<&Self::RightTop>("RightTop", SKiv3DFXPoint{kFrameWidth, 0, 0}),
          KivBlockField<&Self::RightBottom>("RightBottom",
                                       SKiv3DFXPoint{kFrameWidth, kFrameHeight, 0}),
          KivBlockField<&Self::LeftBottom>("LeftBottom", SKiv3DFXPoint{0, kFrameHeight, 0}))

KIV_IMPLEMENT_DEFAULT(CKiv3DFXDistortKeyFrm, CKiv3DFXBaseKeyFrm)

CKiv3DFXDistortKeyFrm::CKiv3DFXDistortKeyFrm() { KivDefaultLevel(this, Level()); }
