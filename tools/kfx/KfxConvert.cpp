// kfx convert IN OUT: between the archive and XML, chosen by the extensions.
#include <cstdio>
#include <memory>

#include "KfxCommands.h"
#include "KfxProject.h"

namespace {

struct Options {
    std::string in, out;
};

int Run(const Options& o) {
    if (KfxFormatOf(o.out) == KfxFormat::unknown) return KfxFail(o.out + ": unknown file type (use .kfa or .xml)");
    CKivObList list;
    KfxLoad(o.in, list);
    KfxSave(o.out, list);
    std::printf("%s -> %s: %d object(s)\n", o.in.c_str(), o.out.c_str(), static_cast<int>(list.GetCount()));
    return kKfxOk;
}

KfxRun Declare(CLI::App& command) {
    auto o = std::make_shared<Options>();
    command.footer("Reads IN and writes the same objects to OUT. The formats follow the extensions:\n"
                   ".kfa for the binary archive, .xml for XML. OUT is replaced whole or not at all.");
    command.add_option("IN", o->in, "the project file to read")->required();
    command.add_option("OUT", o->out, "the project file to write")->required();
    return [o] { return Run(*o); };
}

const KfxRegistration kConvert({"convert", "convert a project file between the archive (.kfa) and XML (.xml)", Declare});

}  // namespace
