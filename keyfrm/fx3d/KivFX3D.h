// The 3-D effect, particle, emitter and colour mask keyframes.
#pragma once

#include "keyfrm/fx3d/CKiv3DFXBaseKeyFrm.h"
#include "keyfrm/fx3d/CKiv3DFXBendKeyFrm.h"
#include "keyfrm/fx3d/CKiv3DFXDistortKeyFrm.h"
#include "keyfrm/fx3d/CKiv3DFXFlyLightKeyFrm.h"
#include "keyfrm/fx3d/CKiv3DFXGhostKeyFrm.h"
#include "keyfrm/fx3d/CKiv3DFXPageCurlKeyFrm.h"
#include "keyfrm/fx3d/CKiv3DFXWaveKeyFrm.h"
#include "keyfrm/fx3d/CKiv3DFXWipeKeyFrm.h"
#include "keyfrm/fx3d/CKivFXColorMaskKeyFrm.h"
#include "keyfrm/fx3d/KivFX3DArrayKeyFrms.h"
#include "keyfrm/fx3d/KivFX3DParticleKeyFrms.h"
#include "keyfrm/fx3d/KivFX3DPlainKeyFrms.h"
#include "keyfrm/fx3d/KivFXEmitKeyFrms.h"
#include "keyfrm/fx3d/SKiv3DFXPoint.h"
#include "keyfrm/fx3d/SKivFXEmitVertex.h"
