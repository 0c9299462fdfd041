// The GUI kit: skinned dialogs, the numeric edit, the auto-maker, the tool tip and the
// module resource helpers.
#pragma once

#include "kivbase/gui/CKivAquaAutoMaker.h"
#include "kivbase/gui/CKivAquaBaseDlg.h"
#include "kivbase/gui/CKivAquaEdit.h"
#include "kivbase/gui/CKivModuleRC.h"
#include "kivbase/gui/CKivToolTipDlg.h"
#include "kivbase/gui/CVyDialog.h"
#include "kivbase/gui/CVyFrameSkin.h"
#include "kivbase/gui/KivAquaEditTypes.h"
#include "kivbase/gui/KivGuiMessages.h"
#include "kivbase/KivVideoStd.h"
