// Everything a host needs of KivFXKeyFrm except the editors: the framework and base
// library stand-ins, the keyframe core, the keyframes and tracks, effect keyframes and objects.
#pragma once

#include "platform/fw/CArchive.h"
#include "platform/fw/CException.h"
#include "platform/fw/CFile.h"
#include "platform/fw/CGeometry.h"
#include "platform/fw/CObList.h"
#include "platform/fw/CObject.h"
#include "platform/fw/CString.h"
#include "platform/fw/KivTypes.h"

#include "kivbase/CKivObList.h"
#include "kivbase/CKivObject.h"
#include "kivbase/KivInterpolate.h"
#include "kivbase/persist/KivPersist.h"

#include "keyfrm/core/CKivFXBaseKeyFrm.h"
#include "keyfrm/core/KivFXKeyFrmList.h"
#include "keyfrm/core/KivFXKeyFrmModule.h"

#include "keyfrm/tracks/CKivFXInsValueKeyFrm.h"
#include "keyfrm/tracks/CKivFXValueKeyFrm.h"
