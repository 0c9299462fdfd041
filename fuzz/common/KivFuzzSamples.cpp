#include "fuzz/common/KivFuzzSamples.h"

#include <cstring>

#include "keyfrm/core/KivFXKeyFrmList.h"
#include "keyfrm/KivFXKeyFrmStartup.h"
#include "kivbase/CKivColor32Array.h"
#include "kivbase/persist/KivMemberAccess.h"
#include "kivbase/persist/KivPersist.h"
#include "platform/fw/CFile.h"

namespace {

// Values a stored list gets in a sample: enough for a first, a middle and a last one.
constexpr int kSampleListValues = 3;

bool IsObjectClass(const CRuntimeClass* cls) { return cls->IsDerivedFrom(RUNTIME_CLASS(CKivObject)); }
bool IsListClass(const CRuntimeClass* cls) { return cls->IsDerivedFrom(RUNTIME_CLASS(CKivObList)); }

tagCOLOR32 SampleColour(int i, int salt) {
    return tagCOLOR32::FromDWORD(0x80402010u * static_cast<DWORD>(i + 1) + static_cast<DWORD>(salt));
}

// Fills a list member stored in its class's own form; false for a type this does not know.
bool FillList(const KivFieldDef& f, void* m, int salt) {
    const std::type_info& type = *f.custom->type;
    if (type == typeid(CArray<double>)) {
        auto& list = *static_cast<CArray<double>*>(m);
        list.RemoveAll();
        for (int i = 0; i < kSampleListValues; ++i) list.Add(0.25 * (i + 1) + salt);
        return true;
    }
    if (type == typeid(CArray<tagCOLOR32>)) {
        auto& list = *static_cast<CArray<tagCOLOR32>*>(m);
        list.RemoveAll();
        for (int i = 0; i < kSampleListValues; ++i) list.Add(SampleColour(i, salt));
        return true;
    }
    if (type == typeid(CKivColor32Array)) {
        auto& list = *static_cast<CKivColor32Array*>(m);
        list.DeleteAll();
        for (int i = 0; i < kSampleListValues; ++i) {
            const tagCOLOR32 c = SampleColour(i, salt);
            list.Add(&c, 1);
        }
        return true;
    }
    return false;
}

// Up to kKivFuzzSampleKeyframes keyframes the list accepts (a track takes one kind only),
// each with its own values and location.
void FillWithKeyframes(CKivObList& list, int salt) {
    int added = 0;
    for (const CRuntimeClass* cls : KivFuzzObjectClasses()) {
        if (!cls->IsDerivedFrom(RUNTIME_CLASS(CKivFXBaseKeyFrm))) continue;
        while (added < kKivFuzzSampleKeyframes) {
            std::unique_ptr<CObject> keyframe = KivFuzzSample(cls, salt + added);
            auto* kf = static_cast<CKivFXBaseKeyFrm*>(keyframe.get());
            kf->Location = 0.25 * (added + 1);
            if (!KivFXKeyFrmTryInsertKF(&list, kf)) break;  // a kind this list does not take
            keyframe.release();
            ++added;
        }
    }
}

}  // namespace

std::vector<const CRuntimeClass*> KivFuzzObjectClasses() {
    std::vector<const CRuntimeClass*> out;
    for (const KivFXPersistClass& c : KivFXKeyFrmPersistClasses())
        if (IsObjectClass(c.runtimeClass)) out.push_back(c.runtimeClass);
    return out;
}

std::vector<const CRuntimeClass*> KivFuzzListClasses() {
    std::vector<const CRuntimeClass*> out{RUNTIME_CLASS(CKivObList)};
    for (const KivFXPersistClass& c : KivFXKeyFrmPersistClasses())
        if (IsListClass(c.runtimeClass) && c.runtimeClass != RUNTIME_CLASS(CKivObList)) out.push_back(c.runtimeClass);
    return out;
}

std::vector<const CRuntimeClass*> KivFuzzAllClasses() {
    std::vector<const CRuntimeClass*> out = KivFuzzObjectClasses();
    for (const CRuntimeClass* cls : KivFuzzListClasses()) out.push_back(cls);
    return out;
}

const CRuntimeClass* KivFuzzFindClass(std::string_view name) {
    for (const CRuntimeClass* cls : KivFuzzAllClasses())
        if (name == cls->m_lpszClassName) return cls;
    return nullptr;
}

std::unique_ptr<CObject> KivFuzzCreate(const CRuntimeClass* cls) {
    std::unique_ptr<CObject> object(cls->CreateObject());
    if (!object) AfxThrowMemoryException();
    return object;
}

void KivFuzzSetDistinct(const KivFieldDef& f, CObject* o, int salt) {
    void* m = f.At(o);
    switch (f.member) {
    case KivMember::i32:
    case KivMember::i16:
    case KivMember::u8: KivSetInt(f, m, static_cast<std::int64_t>(f.defNum) + 7 + salt); break;
    case KivMember::u32: KivSetInt(f, m, 0x80000000LL + salt); break;
    case KivMember::f32:
    case KivMember::f64: KivSetReal(f, m, f.defNum + 0.375 + salt); break;
    case KivMember::wstr: static_cast<CString*>(m)->Format(L"text %d \u00e9 \U0001F600", salt); break;
    case KivMember::block: {
        BYTE pattern[kKivMaxBlockSize];
        std::memset(pattern, 0x3F + salt % 2, sizeof pattern);  // normal numbers in every float/double lane
        f.unpackBlock(pattern, m);
        break;
    }
    case KivMember::custom:
        if (f.flags & kKivFieldOwnFormat) FillList(f, m, salt);
        break;
    }
}

int KivFuzzChangeEveryStoredField(CObject& object, int salt) {
    int changed = 0;
    for (const KivClassLevel* level : KivLevelChain(object.GetRuntimeClass()))
        for (const KivFieldDef& f : level->fields)
            if (f.IsStored()) KivFuzzSetDistinct(f, &object, salt + changed++);
    return changed;
}

std::unique_ptr<CObject> KivFuzzSample(const CRuntimeClass* cls, int salt) {
    std::unique_ptr<CObject> object = KivFuzzCreate(cls);
    KivFuzzChangeEveryStoredField(*object, salt);
    if (IsListClass(cls)) FillWithKeyframes(*static_cast<CKivObList*>(object.get()), salt);
    return object;
}

bool KivFuzzListsHoldLists() {
    static const bool holds = [] {
        CKivObList outer;
        // As a CObject: AddTail of a CObList* would add that list's elements instead.
        outer.AddTail(static_cast<CObject*>(new CKivObList));  // the outer list owns it at once
        CKivObList back;
        try {
            KivFuzzLoadRecord(back, KivFuzzStoreRecord(outer));
        } catch (const CArchiveException&) {
            return false;
        }
        return back.GetCount() == 1;
    }();
    return holds;
}

std::unique_ptr<CKivObList> KivFuzzSampleProject() {
    auto project = std::make_unique<CKivObList>();
    int salt = 0;
    for (const KivFXPersistClass& c : KivFXKeyFrmPersistClasses()) {
        if (IsListClass(c.runtimeClass) && !KivFuzzListsHoldLists()) continue;
        std::unique_ptr<CObject> sample = KivFuzzSample(c.runtimeClass, salt++);
        project->AddTail(sample.get());
        sample.release();
    }
    return project;
}

int KivFuzzCompare(const CObject& a, const CObject& b) {
    if (a.GetRuntimeClass() != b.GetRuntimeClass()) return 1;
    if (a.IsKindOf(RUNTIME_CLASS(CKivObList))) return static_cast<const CKivObList&>(a).Compare(&static_cast<const CKivObList&>(b));
    if (a.IsKindOf(RUNTIME_CLASS(CKivObject))) return static_cast<const CKivObject&>(a).Compare(&static_cast<const CKivObject&>(b));
    return 1;  // nothing else is persisted by this library
}

void KivFuzzSerializeXML(CObject& object, CKivXMLDOMDocObj* doc, IXMLDOMNode* node) {
    if (object.IsKindOf(RUNTIME_CLASS(CKivObList)))
        static_cast<CKivObList&>(object).SerializeXML(doc, node);
    else if (object.IsKindOf(RUNTIME_CLASS(CKivObject)))
        static_cast<CKivObject&>(object).SerializeXML(doc, node);
}

namespace {

template <class F>
std::vector<BYTE> Store(F write) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        write(ar);
        ar.Close();
    }
    const BYTE* p = file.GetBufferPtr();
    return std::vector<BYTE>(p, p + file.GetLength());
}

}  // namespace

std::vector<BYTE> KivFuzzStoreObject(const CObject* object) {
    return Store([&](CArchive& ar) { ar.WriteObject(object); });
}

std::vector<BYTE> KivFuzzStoreRecord(CObject& object) {
    return Store([&](CArchive& ar) { object.Serialize(ar); });
}

void KivFuzzLoadRecord(CObject& object, const std::vector<BYTE>& bytes) {
    std::vector<BYTE> copy(bytes);
    CMemFile file(copy.data(), static_cast<UINT>(copy.size()));
    CArchive ar(&file, CArchive::load);
    object.Serialize(ar);
}

std::string KivFuzzStoreXml(CObject& object) {
    CKivXMLDOMDocObj doc;
    if (!doc.CreateNew(L"Root")) AfxThrowMemoryException();
    KivFuzzSerializeXML(object, &doc, doc.GetRootNode());
    return doc.GetXMLUtf8();
}
