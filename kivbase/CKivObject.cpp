#include "kivbase/CKivObject.h"

#include "kivbase/persist/KivPersist.h"

IMPLEMENT_SERIAL(CKivObject, CObject, 0)

void CKivObject::Serialize(CArchive& ar) { CObject::Serialize(ar); }

CKivObject& CKivObject::operator=(const CKivObject&) { return *this; }

int CKivObject::Compare(const CKivObject* other) const { return KivCompareObjects(this, other); }

CKivObject* CKivObject::MakeCopy() const {
    return KivMakeCopyOf(*this);
}

void CKivObject::SerializeXML(CKivXMLDOMDocObj*, IXMLDOMNode*) {}
