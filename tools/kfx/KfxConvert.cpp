// kfx convert IN OUT: between the archive and XML, chosen by the extensions.
#include <cstdio>

#include "KfxCommands.h"
#include "KfxProject.h"

int KfxConvert(const KfxArgs& args) {
    if (KfxWantsHelp(args)) {
        std::printf("usage: kfx convert IN OUT\n\nReads IN and writes the same objects to OUT. The formats follow the\nextensions: .kfa for the binary archive, .xml for XML.\n");
        return kKfxOk;
    }
    if (args.size() != 2) return KfxFail("convert takes IN and OUT (see kfx convert --help)");
    if (KfxFormatOf(args[1]) == KfxFormat::unknown) return KfxFail(args[1] + ": unknown file type (use .kfa or .xml)");
    CKivObList list;
    KfxLoad(args[0], list);
    KfxSave(args[1], list);
    std::printf("%s -> %s: %d object(s)\n", args[0].c_str(), args[1].c_str(), static_cast<int>(list.GetCount()));
    return kKfxOk;
}
