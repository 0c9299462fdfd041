// Everything the editors and their hosts use of the window system, in one include.
#pragma once

#include "platform/ui/DC.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/GdiObjects.h"
#include "platform/ui/Menu.h"
#include "platform/ui/Messages.h"
#include "platform/ui/Png.h"
#include "platform/ui/Resources.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Wnd.h"
#include "platform/ui/WndClass.h"
