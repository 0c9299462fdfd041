#include "kivbase/CKivColor32Array.h"

#include <algorithm>
#include <cstdint>

#include "kivbase/persist/KivPersistList.h"

IMPLEMENT_SERIAL(CKivColor32Array, CKivObject, 0)

const KivClassLevel& CKivColor32Array::Level() {
    using Self = CKivColor32Array;
    static const KivFieldDef fields[] = {
        KivField<&Self::m_colors>("Colors", KivEnc::none, KivXml::none, 0, kKivFieldOwnFormat),
    };
    static const KivClassLevel level{"CKivColor32Array", "CKivColor32Array", 0, 0, fields};
    return level;
}

CKivColor32Array::CKivColor32Array(const CKivColor32Array& src) : CKivObject() { *this = src; }

CKivColor32Array& CKivColor32Array::operator=(const CKivColor32Array& src) {
    CKivObject::operator=(src);
    KivAssignLevel(this, &src, Level());
    return *this;
}

void CKivColor32Array::Serialize(CArchive& ar) {
    CKivObject::Serialize(ar);
    KivSerializeListLevel(ar, this, Level(), "Colors", m_colors);
}

void CKivColor32Array::SerializeXML(CKivXMLDOMDocObj* doc, IXMLDOMNode* node) {
    if (IXMLDOMNode* base = KivSerializeListLevelXML(doc, node, Level(), "Count", "Color", m_colors))
        CKivObject::SerializeXML(doc, base);
}

CKivObject* CKivColor32Array::MakeCopy() const { return KivMakeCopyOf(*this); }

INT_PTR CKivColor32Array::Add(const tagCOLOR32* color, int /*reserved*/) {
    return color ? m_colors.Add(*color) : -1;
}

namespace {

// A channel r / d of the way from stop a to stop b, rounded to the nearest unit.
BYTE Blend(BYTE a, BYTE b, std::int64_t r, std::int64_t d) {
    return static_cast<BYTE>((a * (d - r) + b * r + d / 2) / d);
}

}  // namespace

int CKivColor32Array::Process(tagCOLOR32* pixels, CSize size) const {
    const INT_PTR n = m_colors.GetSize();
    if (!pixels || size.cx <= 0 || size.cy <= 0 || n == 0) return 0;
    const tagCOLOR32* stops = m_colors.GetData();
    // Column x sits x * (n - 1) / (w - 1) of the way along the stops; exact integer steps
    // keep the first and last columns exactly on the first and last colours.
    const std::int64_t d = size.cx > 1 ? size.cx - 1 : 1;
    tagCOLOR32* row = pixels;
    for (LONG x = 0; x < size.cx; ++x) {
        const std::int64_t p = static_cast<std::int64_t>(x) * (n - 1);
        const INT_PTR k = static_cast<INT_PTR>(p / d);
        const std::int64_t r = p % d;
        const tagCOLOR32 a = stops[k];
        const tagCOLOR32 b = stops[k + 1 < n ? k + 1 : k];
        row[x] = {Blend(a.blue, b.blue, r, d), Blend(a.green, b.green, r, d), Blend(a.red, b.red, r, d),
                  Blend(a.alpha, b.alpha, r, d)};
    }
    for (LONG y = 1; y < size.cy; ++y) std::copy(row, row + size.cx, pixels + static_cast<std::int64_t>(y) * size.cx);
    return 1;
}
