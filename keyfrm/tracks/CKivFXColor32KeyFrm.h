// The keyframe of a colour track: one packed 32-bit colour with alpha.
#pragma once

#include "keyfrm/tracks/CKivFXInsValueKeyFrm.h"
#include "kivbase/KivColor.h"

class CKivFXColor32KeyFrm : public CKivFXInsValueKeyFrm {
    KIV_DECLARE_PERSIST_LEVEL(CKivFXColor32KeyFrm)
public:
    CKivFXColor32KeyFrm();
    ~CKivFXColor32KeyFrm() override = default;
    /// The root's defaults, then opaque white.
    void Default() override;

    tagCOLOR32 GetColor32() const { return tagCOLOR32::FromDWORD(Color); }
    void SetColor32(tagCOLOR32 color) { Color = color.ToDWORD(); }

    DWORD Color;  // alpha << 24 | red << 16 | green << 8 | blue
};
