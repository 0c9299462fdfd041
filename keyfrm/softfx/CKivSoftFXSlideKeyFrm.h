// The slide effect's keyframe: where and how large a picture is placed, how it is blurred
// and how opaque it is, with handles shaping the motion between keyframes. Unlike the rest
// of the soft family it stores its parameters; it also interpolates lists of its own kind
// and turns its fractions into pixels of the current video frame.
#pragma once

#include "keyfrm/softfx/CKivSoftFXCoolKeyFrm.h"
#include "kivbase/CKivObList.h"

class CKivSoftFXSlideKeyFrm : public CKivSoftFXCoolKeyFrm {
    KIV_DECLARE_SOFTFX_LEVEL(CKivSoftFXSlideKeyFrm)

    /// Handle 1 (incoming) for a nonzero handle number, handle 2 (outgoing) for zero.
    void GetHandle(int handle, double& x, double& y) const;
    void SetHandle(int handle, double x, double y);
    int IsHandleLocked() const { return HandleLocked; }
    /// Unlocks the handles; only Default() and operator= lock them again.
    void SetHandleUnLocked() { HandleLocked = 0; }
    int IsHandleChanged() const { return HandleChanged; }
    /// Sets HandleChanged to 1 when it is 0; any other value stays.
    void SetHandleChanged();

    /// Copies the nine interpolated values (CoordX to AValue) from source; nothing for null.
    void CopyKeyFrmData(const CKivSoftFXSlideKeyFrm* source);

    /// Interpolates pList (slide keyframes in any order) at dLocation of an effect nFrames
    /// long and writes the values into pResult: the whole keyframe when the list holds one,
    /// else the nine interpolated values, the position along cubic segments when bCurve is
    /// nonzero. 0, pResult untouched, for a null or empty list, a list holding anything but
    /// slide keyframes, nFrames 0, a null pResult, or no memory for the interpolators.
    static int GetKeyFrameData(ULONG nFrames, CKivObList* pList, double dLocation, CKivSoftFXSlideKeyFrm* pResult,
                               int bCurve);

    /// Turns the fractions into pixels of the current video frame (CKivVideoStd) for the
    /// picture region rcRegion, relative to the region's centre when bCentre is nonzero
    /// (rewriting CoordX/CoordY when the position leaves the allowed range), and clears each
    /// Use... switch whose result is the identity. 0, changing nothing, when rcRegion does
    /// not meet the frame; 1 otherwise.
    int CalcActualValue(int bCentre, CRect rcRegion);

    // Stored parameters, fractions of the frame or of the full effect.
    double CoordX;          // horizontal position, fraction of the frame width
    double CoordY;          // vertical position, fraction of the frame height
    double Width;           // width scale; negative mirrors
    double Height;          // height scale; negative mirrors
    double BlurHorzDegree;  // 0 to 1
    double BlurHorzAngle;   // fraction of a full turn
    double BlurVertDegree;  // 0 to 1
    double BlurVertAngle;   // fraction of a full turn
    double AValue;          // opacity, 0 to 1
    double Handle1X;        // incoming handle
    double Handle1Y;
    double Handle2X;  // outgoing handle
    double Handle2Y;

    // Run-time members, never stored.
    int HandleLocked;
    int HandleChanged;
    int UseWidth;  // switches set by the host, cleared by CalcActualValue on the identity
    int UseHeight;
    int FlipHorz;  // results of CalcActualValue from here on
    int FlipVert;
    int UseHorzBlur;
    int UseVertBlur;
    int UseAlpha;
    // Pixel results are 16 bits wide, as the effects that read them expect.
    short ActualX;
    short ActualY;
    short ActualWidth;  // signed: negative when mirrored
    short ActualHeight;
    CRect ActualRect;
    short ActualHorzBlurDegree;  // BlurHorzDegree x 100
    short ActualHorzBlurAngle;   // BlurHorzAngle x 360
    short ActualVertBlurDegree;
    short ActualVertBlurAngle;
    BYTE ActualAlpha;  // AValue x 255
    // Working values of the effect; the library only defaults them.
    int WorkParam1;
    double WorkParam2;
    double WorkParam3;
    int WorkParam4;
    double WorkParam5;
    short WorkParam6;
    int WorkParam7;
};
