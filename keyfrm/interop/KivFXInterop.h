// Moving tracks to and from other programs: MLT's animation strings.
#pragma once

#include "keyfrm/interop/KivFXMltAnim.h"
#include "keyfrm/interop/KivFXMltExport.h"
#include "keyfrm/interop/KivFXMltFit.h"
#include "keyfrm/interop/KivFXMltImport.h"
