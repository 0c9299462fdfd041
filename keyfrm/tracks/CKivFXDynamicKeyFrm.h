// A keyframe carrying a variable number of float values whose meaning the host assigns,
// at one Location. Hosts keep these in plain lists.
#pragma once

#include "keyfrm/core/CKivFXBaseKeyFrm.h"
#include "platform/fw/CArray.h"

class CKivFXDynamicKeyFrm : public CKivFXBaseKeyFrm {
    DECLARE_SERIAL(CKivFXDynamicKeyFrm)
public:
    /// The root keyframe with no values.
    CKivFXDynamicKeyFrm() = default;
    /// A default keyframe given src's data (its selection flag is fresh).
    CKivFXDynamicKeyFrm(const CKivFXDynamicKeyFrm& src);
    ~CKivFXDynamicKeyFrm() override = default;

    /// The root's defaults, and no values.
    void Default() override;
    /// The root's fields and the values; CMemoryException leaves the values unchanged.
    virtual CKivFXDynamicKeyFrm& operator=(const CKivFXDynamicKeyFrm& src);
    CKivObject* MakeCopy() const override;
    /// 0 when other is a dynamic keyframe with equal root fields and bit-equal values.
    int Compare(const CKivObject* other) const override;
    /// The root's record, then 00 00, the value count (32-bit) and the values (floats).
    /// Raises endOfFile before allocating for a count the data cannot hold, badIndex for
    /// a negative count.
    void Serialize(CArchive& ar) override;
    /// Element "CKivFXDynamicKeyFrm": "DataMember" with "Count" (code 7, informative) and
    /// "Data" (code 17, the values as little-endian floats; absent when there are none);
    /// "BaseObject" holds the root's element.
    void SerializeXML(CKivXMLDOMDocObj* doc, IXMLDOMNode* node) override;

    /// Resizes to count values: new ones 0.0, survivors kept, 0 frees the storage. The array
    /// grows by max(4, min(1024, count / 8)) beyond its capacity, or straight to count if
    /// larger. A negative count raises CInvalidArgException; CMemoryException leaves it as it was.
    void SetDataCount(int count);
    int GetDataCount() const { return static_cast<int>(m_Data.GetSize()); }
    /// Raises CInvalidArgException, changing nothing, for an index outside 0..count - 1.
    void SetDataValue(int index, float value) { m_Data.SetAt(index, value); }
    /// Raises CInvalidArgException for an index outside 0..count - 1.
    float GetDataValue(int index) const { return m_Data.GetAt(index); }

protected:
    CArray<float> m_Data;
};
