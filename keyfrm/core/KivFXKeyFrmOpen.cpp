#include "keyfrm/core/KivFXKeyFrmList.h"

int KivFXKeyFrmOpen() { return 1; }
int KivFXKeyFrmClose() { return 1; }
