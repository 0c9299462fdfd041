// The colour-flow effect's object: its speed and restoring, the colours that flow, and on
// Open a 256 x 10 strip painted with those colours for the effect to sample.
#pragma once

#include "keyfrm/effectobj/CKivEffectBaseObj.h"
#include "kivbase/CKivColor32Array.h"
#include "kivbase/KivMemBlock.h"

class CKivEffectColorFlowObj : public CKivEffectBaseObj {
    KIV_DECLARE_PERSIST_LEVEL(CKivEffectColorFlowObj)
public:
    /// Width and height of the strip Open paints.
    static constexpr int kFlowBlockWidth = 256;
    static constexpr int kFlowBlockHeight = 10;

    CKivEffectColorFlowObj();
    /// Closes, releasing the strip.
    ~CKivEffectColorFlowObj() override;
    /// The base's defaults; "FlowSpeed" 10, "Restore" 1, "RestoreScale" 0.1, and "Flow"
    /// white, black, white (all opaque). Raises CMemoryException if the colours cannot be added.
    void Default() override;
    /// Closes, then paints FlowBlock (256 x 10) from Flow. 0 when the block cannot be set up,
    /// or when Flow paints nothing (no colours): the block then stays until Close or Open.
    int Open() override;
    /// Releases FlowBlock's pixels.
    void Close() override;

    short FlowSpeed;          // speed of the flow; 16 bits in the archive, 32 in XML
    int Restore;              // restore switch, 16 bits in the archive
    double RestoreScale;      // scale of the restoring
    CKivColor32Array Flow;    // the colours that flow; stored after the fields ("Flow" element in XML)
    CKivMemBlock FlowBlock;   // the painted strip: not stored, not copied, empty until Open
};
