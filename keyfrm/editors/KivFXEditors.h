// The editors: the curve window, the curve dialog, the position dialog with its coordinate
// window, the colour dialog, the editor messages and the library's resources.
#pragma once

#include "keyfrm/editors/CKivFXClr32KeyFrmDlg.h"
#include "keyfrm/editors/CKivFXInsKeyFrmDlg.h"
#include "keyfrm/editors/CKivFXInsKeyFrmWnd.h"
#include "keyfrm/editors/CKivFXPosiKeyFrmDlg.h"
#include "keyfrm/editors/CKivFXPosiValueWnd.h"
#include "keyfrm/editors/KivFXEditorMessages.h"
#include "keyfrm/editors/KivFXEditorResources.h"
