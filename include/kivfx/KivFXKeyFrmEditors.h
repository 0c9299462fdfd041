// Everything a host needs of KivFXKeyFrm including the editors: all of KivFXKeyFrm.h, the
// window system stand-in the editors live in, the GUI kit and the editors themselves.
#pragma once

#include "kivfx/KivFXKeyFrm.h"

#include "platform/ui/WindowSystem.h"

#include "kivbase/gui/KivGui.h"

#include "keyfrm/editors/KivFXEditors.h"
