// Makes the framework's own serializable classes known by name when the library loads,
// from one explicit list, as the framework does for every module that links it.
#include "platform/fw/CObList.h"

namespace {

CRuntimeClass* const kFrameworkClasses[] = {RUNTIME_CLASS(CObList)};

// No matching unregistration at unload: the registry may already be gone by then.
__attribute__((constructor)) void KivFwModuleStart() {
    for (CRuntimeClass* cls : kFrameworkClasses) CRuntimeClass::Register(cls);
}

}  // namespace
