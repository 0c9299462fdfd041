// The shine effect's object: the shine's direction and radius, and on Open a falloff table
// of one weight per pixel of radius.
#pragma once

#include <memory>

#include "keyfrm/effectobj/CKivEffectBaseObj.h"

class CKivEffectShineLightObj : public CKivEffectBaseObj {
    KIV_DECLARE_PERSIST_LEVEL(CKivEffectShineLightObj)
public:
    /// Weight of the table's first entry; entry i is (R - i) * kFullWeight / R.
    static constexpr int kFullWeight = 255;

    CKivEffectShineLightObj();
    /// Closes, releasing the table.
    ~CKivEffectShineLightObj() override;
    /// The base's defaults; "ShineRadius" 50, "ShineDir" 2. The table is left as it is.
    void Default() override;
    /// Closes, then builds ShineTable with ShineRadius entries falling from 255. 0, with no
    /// table, for a radius of 0 or less or when memory runs out.
    int Open() override;
    /// Releases ShineTable.
    void Close() override;
    /// 1 when the shine runs horizontally ("ShineDir" 2 or 3), else 0.
    int IsHorzDir() const;

    int ShineDir;        // direction; 16 bits in both formats
    short ShineRadius;   // radius in pixels and length of the table
    std::unique_ptr<int[]> ShineTable;  // falloff weights: not stored, never copied, null until Open
};
