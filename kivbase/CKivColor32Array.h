// The colour library's persistable list of colours, and the horizontal gradient it paints
// into a block of pixels (the colour-flow effect's strip).
#pragma once

#include "kivbase/CKivObject.h"
#include "kivbase/KivColor.h"
#include "kivbase/persist/KivFieldTable.h"
#include "platform/fw/CArray.h"
#include "platform/fw/CGeometry.h"

class CKivColor32Array : public CKivObject {
    DECLARE_SERIAL(CKivColor32Array)
public:
    CKivColor32Array() = default;
    ~CKivColor32Array() override = default;
    CKivColor32Array(const CKivColor32Array& src);
    /// Makes this list a copy of src's colours; raises CMemoryException, this list unchanged.
    virtual CKivColor32Array& operator=(const CKivColor32Array& src);

    /// The field table: one list stored in the class's own form.
    static const KivClassLevel& Level();
    /// Archive: version word 0, then the colours as the framework array stores them (count,
    /// then each packed colour as 32 bits). Archive exceptions pass on; a stored count the
    /// data cannot hold is refused before anything is allocated.
    void Serialize(CArchive& ar) override;
    /// XML: element "CKivColor32Array" with "DataMember" Count="n" Color0..Color{n-1} (packed
    /// colours, code 11) and an empty "BaseObject". Loading replaces the colours only when
    /// the element and its "DataMember" are there.
    void SerializeXML(CKivXMLDOMDocObj* doc, IXMLDOMNode* node) override;
    CKivObject* MakeCopy() const override;

    /// Appends *color and returns its index; -1 (nothing added) for null. The int is
    /// reserved (callers pass 1). Raises CMemoryException when the list cannot grow.
    INT_PTR Add(const tagCOLOR32* color, int reserved);
    /// Removes every colour.
    void DeleteAll() { m_colors.RemoveAll(); }
    INT_PTR GetSize() const { return m_colors.GetSize(); }
    /// Raises CInvalidArgException outside the list.
    tagCOLOR32 GetAt(INT_PTR index) const { return m_colors.GetAt(index); }

    /// Paints size.cx x size.cy pixels (row after row) with a horizontal gradient through
    /// the colours, evenly spaced from the first column (first colour) to the last (last
    /// colour), every channel alpha included interpolated and rounded; every row alike. One
    /// colour fills the area. Nonzero on success; 0, writing nothing, for null pixels, a
    /// size without area, or no colours.
    int Process(tagCOLOR32* pixels, CSize size) const;

private:
    CArray<tagCOLOR32> m_colors;
};

/// Colour arrays as members of other classes' tables: copied with the array's own virtual
/// assignment, reset by emptying, compared colour by colour.
template <>
struct KivCustomTraits<CKivColor32Array> {
    static void Assign(CKivColor32Array& dst, const CKivColor32Array& src) { dst = src; }
    static void Reset(CKivColor32Array& m) { m.DeleteAll(); }
    static bool Equal(const CKivColor32Array& a, const CKivColor32Array& b) {
        if (a.GetSize() != b.GetSize()) return false;
        for (INT_PTR i = 0; i < a.GetSize(); ++i)
            if (!(a.GetAt(i) == b.GetAt(i))) return false;
        return true;
    }
};
