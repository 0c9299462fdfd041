// The interpolated tracks and their keyframes.
#pragma once

#include "keyfrm/tracks/CKivFXInsValueKeyFrm.h"
#include "keyfrm/tracks/CKivFXValueKeyFrm.h"
