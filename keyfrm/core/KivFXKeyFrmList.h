// Free functions that treat any keyframe list as a time-ordered sequence: ordered
// insertion, exact and neighbour lookup, bracketing, overlap test and re-sort. Each
// position-taking function has a location overload (double) and a frame overload (int,
// for keyframes that have a Frame). Elements that are not keyframes of the needed kind
// are passed over; a null list behaves as an empty one.
#pragma once

#include "keyfrm/core/CKivFXBaseKeyFrm.h"
#include "kivbase/CKivObList.h"

/// Exists for hosts that bracket their use of the library; holds no state. Always 1.
int KivFXKeyFrmOpen();
/// Counterpart of KivFXKeyFrmOpen; always 1.
int KivFXKeyFrmClose();

/// The BaseOnFrame switch of a scalar or position track; 0 for any other list.
int KivFXKeyFrmListIsBaseOnFrame(CKivObList* list);
/// Inserts before the first keyframe whose key is strictly greater (so after equal keys),
/// or at the tail. The list takes ownership. A track refuses a keyframe of the wrong kind
/// silently; the refused keyframe then stays the caller's. Raises CMemoryException with the
/// list unchanged and the keyframe still the caller's.
void KivFXKeyFrmInsertKF(CKivObList* list, CKivFXBaseKeyFrm* keyframe);
/// The same, telling the caller: 1 when inserted (the list owns it), 0 when refused or
/// when list or keyframe is null (the keyframe is still the caller's to destroy). Raises
/// CMemoryException as KivFXKeyFrmInsertKF does.
int KivFXKeyFrmTryInsertKF(CKivObList* list, CKivFXBaseKeyFrm* keyframe);

/// 1 if some keyframe sits exactly at the position; a negative location gives 0.
int KivFXKeyFrmIsPoint(double location, CKivObList* list);
int KivFXKeyFrmIsPoint(int frame, CKivObList* list);
/// The first keyframe (head to tail) exactly at the position, or null; negative locations give null.
CKivFXBaseKeyFrm* KivFXKeyFrmFindKF(double location, CKivObList* list);
CKivFXBaseKeyFrm* KivFXKeyFrmFindKF(int frame, CKivObList* list);
/// Walking from the tail: the first keyframe whose key is strictly less, or null.
CKivFXBaseKeyFrm* KivFXKeyFrmFindPrv(double location, CKivObList* list);
CKivFXBaseKeyFrm* KivFXKeyFrmFindPrv(int frame, CKivObList* list);
/// Walking from the head: the first keyframe whose key is strictly greater, or null.
CKivFXBaseKeyFrm* KivFXKeyFrmFindNext(double location, CKivObList* list);
CKivFXBaseKeyFrm* KivFXKeyFrmFindNext(int frame, CKivObList* list);

/// Bracketing: returns 1 with previous = the keyframe exactly at the position (next null),
/// else 0 with the nearest keyframe below and above (either may be null; first in list
/// order among equal keys). Location overload: below 0.0 gives the head as previous, above
/// 1.0 the tail. The list need not be sorted. Null out-parameters are allowed.
int KivFXKeyFrmCalcRangeKF(double location, CKivObList* list, CKivFXBaseKeyFrm** previous, CKivFXBaseKeyFrm** next);
int KivFXKeyFrmCalcRangeKF(int frame, CKivObList* list, CKivFXBaseKeyFrm** previous, CKivFXBaseKeyFrm** next);

/// 1 if another keyframe of the list collides with this one: the same Frame on a
/// frame-based list, a Location closer than the tolerance otherwise (a negative tolerance
/// means 0.001; zero never collides).
int KivFXKeyFrmIsOverlapKF(CKivObList* list, CKivFXBaseKeyFrm* keyframe, float tolerance);
/// Re-sorts ascending by the list's key; returns 1 if the order changed. Keyframes are
/// moved, never copied. Raises CMemoryException with the list as it was.
int KivFXKeyFrmTaxisList(CKivObList* list);

// ---- track kinds: how the functions above recognise the library's tracks ----

/// A kind of track: lists of this class (or derived) accept only keyframes of keyframeClass
/// and say through isBaseOnFrame whether they are frame-based.
struct KivFXTrackKind {
    const CRuntimeClass* trackClass;
    const CRuntimeClass* keyframeClass;
    int (*isBaseOnFrame)(const CKivObList* track);
};
/// Called at module start-up for each track class; registering the same class again replaces it.
void KivFXRegisterTrackKind(const KivFXTrackKind& kind);
void KivFXUnregisterTrackKinds();
/// The kind of that list, or null for a plain list.
const KivFXTrackKind* KivFXFindTrackKind(const CKivObList* list);

/// Keyframes placed by frame: the class (and derived ones) whose Frame the int overloads and
/// frame-based lists read. Registered at module start-up with the track kinds; until then,
/// and after KivFXUnregisterTrackKinds, no keyframe has a Frame.
struct KivFXFramedKind {
    const CRuntimeClass* keyframeClass;
    int (*frame)(const CKivFXBaseKeyFrm* keyframe);
};
void KivFXRegisterFramedKind(const KivFXFramedKind& kind);
