// The editors: the curve window, the editor messages and the library's resources.
#pragma once

#include "keyfrm/editors/CKivFXInsKeyFrmWnd.h"
#include "keyfrm/editors/KivFXEditorMessages.h"
#include "keyfrm/editors/KivFXEditorResources.h"
