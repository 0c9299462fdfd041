// Creates a keyframe by class name through the installed library and round-trips it.
#include <kivfx/KivFXKeyFrm.h>

#include <cstdio>
#include <memory>

int main() {
    CRuntimeClass* cls = CRuntimeClass::FromName("CKivFXValueKeyFrm");
    if (!cls) {
        std::puts("host: CKivFXValueKeyFrm is not registered");
        return 1;
    }
    std::unique_ptr<CObject> made(cls->CreateObject());
    auto* key = dynamic_cast<CKivFXValueKeyFrm*>(made.get());
    if (!key) return 1;
    key->Location = 0.25;
    key->Value = 7.5f;
    key->Frame = 12;

    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << static_cast<const CObject*>(key);
        ar.Close();
    }
    file.SeekToBegin();
    CArchive in(&file, CArchive::load);
    std::unique_ptr<CObject> back(in.ReadObject(RUNTIME_CLASS(CKivFXValueKeyFrm)));
    auto* loaded = static_cast<CKivFXValueKeyFrm*>(back.get());
    const bool same = loaded && loaded->Compare(key) == 0 && loaded->Value == 7.5f && loaded->Frame == 12;
    std::printf("host: round trip %s\n", same ? "ok" : "FAILED");
    return same ? 0 : 1;
}
