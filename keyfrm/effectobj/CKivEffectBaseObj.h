// The base of the effect objects: an effect's active range, kept beside its keyframes, and
// the Open/Close pair through which derived objects build and release working buffers.
#pragma once

#include "keyfrm/core/KivPersistMacros.h"

class CKivEffectBaseObj : public CKivObject {
    KIV_DECLARE_PERSIST_LEVEL(CKivEffectBaseObj)
public:
    CKivEffectBaseObj();
    ~CKivEffectBaseObj() override = default;
    /// "FXBegin" 0.0, "FXEnd" 1.0.
    virtual void Default();
    /// Builds the object's working buffer; 1 on success, 0 (closed) on failure. The base
    /// has no buffer and always succeeds.
    virtual int Open();
    /// Releases the working buffer; harmless when closed.
    virtual void Close();

    double FXBegin;  // where the effect begins
    double FXEnd;    // where the effect ends
};
