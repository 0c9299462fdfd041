// The array-based 3-D effects (grow, queue, spread, tile): a shared base level and four
// members, none with parameters beyond the progress of the 3-D base.
#pragma once

#include "keyfrm/fx3d/CKiv3DFXBaseKeyFrm.h"

/// The shared base of the array effects; its record and element carry only its version.
class CKiv3DFXArrayKeyFrm : public CKiv3DFXBaseKeyFrm {
    KIV_DECLARE_PERSIST_LEVEL(CKiv3DFXArrayKeyFrm)
public:
    CKiv3DFXArrayKeyFrm() = default;
    ~CKiv3DFXArrayKeyFrm() override = default;
    /// The 3-D base's defaults. Cannot fail.
    void Default() override;
};

class CKiv3DFXGrowKeyFrm : public CKiv3DFXArrayKeyFrm {
    KIV_DECLARE_PERSIST_LEVEL(CKiv3DFXGrowKeyFrm)
public:
    CKiv3DFXGrowKeyFrm() = default;
    ~CKiv3DFXGrowKeyFrm() override = default;
    /// The array base's defaults. Cannot fail.
    void Default() override;
};

class CKiv3DFXQueueKeyFrm : public CKiv3DFXArrayKeyFrm {
    KIV_DECLARE_PERSIST_LEVEL(CKiv3DFXQueueKeyFrm)
public:
    CKiv3DFXQueueKeyFrm() = default;
    ~CKiv3DFXQueueKeyFrm() override = default;
    /// The array base's defaults. Cannot fail.
    void Default() override;
};

class CKiv3DFXSpreadKeyFrm : public CKiv3DFXArrayKeyFrm {
    KIV_DECLARE_PERSIST_LEVEL(CKiv3DFXSpreadKeyFrm)
public:
    CKiv3DFXSpreadKeyFrm() = default;
    ~CKiv3DFXSpreadKeyFrm() override = default;
    /// The array base's defaults. Cannot fail.
    void Default() override;
};

class CKiv3DFXTileKeyFrm : public CKiv3DFXArrayKeyFrm {
    KIV_DECLARE_PERSIST_LEVEL(CKiv3DFXTileKeyFrm)
public:
    CKiv3DFXTileKeyFrm() = default;
    ~CKiv3DFXTileKeyFrm() override = default;
    /// The array base's defaults. Cannot fail.
    void Default() override;
};
