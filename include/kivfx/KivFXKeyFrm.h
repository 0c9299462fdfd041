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

#include "kivbase/CKivColor32Array.h"
#include "kivbase/CKivObList.h"
#include "kivbase/CKivObject.h"
#include "kivbase/KivColor.h"
#include "kivbase/KivInterpolate.h"
#include "kivbase/KivMemBlock.h"
#include "kivbase/KivSystem.h"
#include "kivbase/KivVersion.h"
#include "kivbase/KivVideoStd.h"
#include "kivbase/KivXMLDOMDoc.h"
#include "kivbase/persist/KivPersist.h"

#include "keyfrm/KivFXKeyFrmStartup.h"
#include "keyfrm/core/KivFXCore.h"
#include "keyfrm/effectobj/KivFXEffectObj.h"
#include "keyfrm/fx3d/KivFX3D.h"
#include "keyfrm/interop/KivFXInterop.h"
#include "keyfrm/softfx/KivFXSoft.h"
#include "keyfrm/tracks/KivFXTracks.h"
