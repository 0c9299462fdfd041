// kfx info FILE: every object with its class and fields, read from the field tables.
#include <cstdio>

#include "KfxCommands.h"
#include "KfxProject.h"
#include "kivbase/persist/KivPersist.h"

namespace {

void PrintObject(CObject* object, int depth);

void PrintList(CObList& list, int depth) {
    int index = 0;
    for (POSITION pos = list.GetHeadPosition(); pos; ++index) {
        std::printf("%*s[%d] ", depth * 2, "", index);
        PrintObject(list.GetNext(pos), depth);
    }
}

void PrintObject(CObject* object, int depth) {
    if (!object) {
        std::printf("(null)\n");
        return;
    }
    const CRuntimeClass* cls = object->GetRuntimeClass();
    std::printf("%s\n", cls->m_lpszClassName);
    for (const KivClassLevel* level : KivLevelChain(cls))
        for (const KivFieldDef& f : level->fields)
            if (f.IsPersisted()) std::printf("%*s%s = %s\n", depth * 2 + 4, "", f.name, KivFormatField(f, object).c_str());
    if (object->IsKindOf(RUNTIME_CLASS(CObList))) {
        auto& list = *static_cast<CObList*>(object);
        std::printf("%*s%d element(s):\n", depth * 2 + 4, "", static_cast<int>(list.GetCount()));
        PrintList(list, depth + 2);
    }
}

}  // namespace

int KfxInfo(const KfxArgs& args) {
    if (KfxWantsHelp(args)) {
        std::printf("usage: kfx info FILE\n\nPrints every object of FILE (.kfa or .xml) with its class and its stored\nfields, level by level from the root class down; lists show their elements.\n");
        return kKfxOk;
    }
    if (args.size() != 1) return KfxFail("info takes one FILE (see kfx info --help)");
    CKivObList list;
    KfxLoad(args[0], list);
    std::printf("%s: %d object(s)\n", args[0].c_str(), static_cast<int>(list.GetCount()));
    PrintList(list, 0);
    return kKfxOk;
}
