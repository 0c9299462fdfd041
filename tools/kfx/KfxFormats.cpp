// kfx formats: the generated class reference of docs/FORMATS.md.
#include <cstdio>

#include "KfxCommands.h"
#include "keyfrm/KivFXKeyFrmStartup.h"

int KfxFormats(const KfxArgs& args) {
    if (KfxWantsHelp(args)) {
        std::printf("usage: kfx formats\n\nPrints, in Markdown, the archive record and XML element of every persistable\nclass, generated from the field tables (the class reference of docs/FORMATS.md).\n");
        return kKfxOk;
    }
    if (!args.empty()) return KfxFail("formats takes no arguments");
    std::fputs(KivFXDescribeAllFormats().c_str(), stdout);
    return kKfxOk;
}
