#include "platform/fw/CObject.h"

#include <cstring>
#include <exception>
#include <map>
#include <new>
#include <string>

#include "platform/fw/CException.h"
#include "platform/fw/CString.h"

CRuntimeClass CObject::classCObject = {"CObject", static_cast<int>(sizeof(CObject)), kNonSerialSchema, nullptr, nullptr};

namespace {

std::map<std::string, CRuntimeClass*, std::less<>>& Registry() {
    // Never destroyed: libraries register and unregister from their own start-up and end
    // code, which may run after this library's static objects are gone.
    static auto* registry = new std::map<std::string, CRuntimeClass*, std::less<>>;
    return *registry;
}

}  // namespace

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const {
    for (const CRuntimeClass* c = this; c; c = c->m_pBaseClass)
        if (c == base) return TRUE;
    return FALSE;
}

CRuntimeClass* CRuntimeClass::FromName(LPCSTR className) {
    if (!className) return nullptr;
    const auto& reg = Registry();
    const auto it = reg.find(std::string_view(className));
    return it == reg.end() ? nullptr : it->second;
}

CRuntimeClass* CRuntimeClass::FromName(LPCWSTR className) {
    if (!className) return nullptr;
    return FromName(KivTranslateBadAlloc([&] { return CString(className).ToUtf8(); }).c_str());
}

BOOL CRuntimeClass::Register(CRuntimeClass* cls) {
    if (!cls || !cls->m_lpszClassName) return FALSE;
    auto [it, inserted] = Registry().emplace(cls->m_lpszClassName, cls);
    return inserted || it->second == cls;
}

void CRuntimeClass::Unregister(CRuntimeClass* cls) {
    if (!cls || !cls->m_lpszClassName) return;
    auto& reg = Registry();
    const auto it = reg.find(std::string_view(cls->m_lpszClassName));
    if (it != reg.end() && it->second == cls) reg.erase(it);
}

CRuntimeClass* CObject::GetRuntimeClass() const { return &classCObject; }

void CObject::Serialize(CArchive&) {}

void CObject::Dump(CDumpContext& dc) const {
    dc.Write("a ");
    dc.Write(GetRuntimeClass()->m_lpszClassName);
    dc.Write("\n");
}

BOOL CObject::IsKindOf(const CRuntimeClass* cls) const {
    return GetRuntimeClass()->IsDerivedFrom(cls);
}

