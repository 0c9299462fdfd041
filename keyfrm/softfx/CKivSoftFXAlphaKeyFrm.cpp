#include "keyfrm/softfx/CKivSoftFXAlphaKeyFrm.h"

#include "kivbase/persist/KivPersistList.h"

KIV_IMPLEMENT_PERSIST_CLASS(CKivSoftFXAlphaKeyFrm, CKivSoftFXArrayKeyFrm)
KIV_IMPLEMENT_PERSIST_ASSIGN(CKivSoftFXAlphaKeyFrm, CKivSoftFXArrayKeyFrm)
KIV_IMPLEMENT_DEFAULT(CKivSoftFXAlphaKeyFrm, CKivSoftFXArrayKeyFrm)

// Loader constant 1: a record whose version converts negative carries no list.
KIV_LEVEL(CKivSoftFXAlphaKeyFrm, "CKivSoftFXAlphaKeyFrm", 1, 0,
          KivMemoryField<&Self::ShadeColor>("ShadeColor", 0, kKivFieldOwnFormat))

/// Archive: version word, then the list in the framework array format (count, doubles).
void CKivSoftFXAlphaKeyFrm::Serialize(CArchive& ar) {
    CKivSoftFXArrayKeyFrm::Serialize(ar);
    KivSerializeListLevel(ar, this, Level(), "ShadeColor", ShadeColor);
}

/// XML: "DataMember" with "Count" and ShadeColor0..; loading empties the list before
/// anything else, and without "DataMember" the bases are not loaded.
void CKivSoftFXAlphaKeyFrm::SerializeXML(CKivXMLDOMDocObj* doc, IXMLDOMNode* node) {
    if (doc && !doc->IsStoring()) ShadeColor.RemoveAll();
    if (IXMLDOMNode* base = KivSerializeListLevelXML(doc, node, Level(), "Count", "ShadeColor", ShadeColor))
        CKivSoftFXArrayKeyFrm::SerializeXML(doc, base);
}
