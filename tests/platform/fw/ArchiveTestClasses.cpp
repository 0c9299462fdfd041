#include "ArchiveTestClasses.h"

IMPLEMENT_SERIAL(CTestPoint, CObject, 1)
IMPLEMENT_SERIAL(CTestPoint3, CTestPoint, 1)
IMPLEMENT_SERIAL(CTestTiny, CObject, 0)
IMPLEMENT_SERIAL(CTestNest, CObject, 0)
IMPLEMENT_SERIAL(CTestFaulty, CObject, 0)
IMPLEMENT_SERIAL(CTestOwningList, CObList, 0)
IMPLEMENT_DYNCREATE(CTestDynamic, CObject)

void RegisterTestClasses() {
    for (CRuntimeClass* cls : {RUNTIME_CLASS(CTestPoint), RUNTIME_CLASS(CTestPoint3), RUNTIME_CLASS(CTestTiny),
                               RUNTIME_CLASS(CTestNest), RUNTIME_CLASS(CTestFaulty), RUNTIME_CLASS(CTestOwningList),
                               RUNTIME_CLASS(CTestDynamic)})
        CRuntimeClass::Register(cls);
}

void CTestPoint::Serialize(CArchive& ar) {
    if (ar.IsStoring())
        ar << x << y;
    else
        ar >> x >> y;
}

void CTestPoint3::Serialize(CArchive& ar) {
    CTestPoint::Serialize(ar);
    if (ar.IsStoring())
        ar << z;
    else
        ar >> z;
}

CTestNest::~CTestNest() {
    // Unlinked iteratively so that a long chain cannot exhaust the stack here.
    while (CTestNest* c = child) {
        child = c->child;
        c->child = nullptr;
        delete c;
    }
    --s_live;
}

void CTestNest::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteObject(child);
        return;
    }
    child = static_cast<CTestNest*>(ar.ReadObject(RUNTIME_CLASS(CTestNest)));
}

void CTestFaulty::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteObject(point.get());
        ar << flag;
        return;
    }
    point.reset(ar.ReadObject(nullptr));
    ar >> flag;
    if (flag == kFail) ar.ThrowError(CArchiveException::genericException, "test failure");
    if (flag == kForeign) throw TestForeignError{flag};
}

CTestOwningList::~CTestOwningList() {
    while (!IsEmpty()) delete RemoveHead();
}
