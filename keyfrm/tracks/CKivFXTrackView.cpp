#include "keyfrm/tracks/CKivFXTrackView.h"

template class CKivFXTrackView<CKivFXInsKeyFrmList>;
template class CKivFXTrackView<CKivFXPosiKeyFrmList>;
template class CKivFXTrackView<CKivFXColor32KeyFrmList>;
