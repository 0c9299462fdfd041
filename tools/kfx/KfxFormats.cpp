// kfx formats: the generated class reference of docs/FORMATS.md.
#include <cstdio>

#include "KfxCommands.h"
#include "KfxFormatDoc.h"

namespace {

KfxRun Declare(CLI::App& command) {
    command.footer("Prints, in Markdown, the archive record and XML element of every persistable\n"
                   "class, generated from the field tables (the class reference of docs/FORMATS.md).");
    return [] {
        std::fputs(KfxDescribeAllFormats().c_str(), stdout);
        return kKfxOk;
    };
}

const KfxRegistration kFormats({"formats", "print the stored layout of every persistable class (Markdown)", Declare});

}  // namespace
