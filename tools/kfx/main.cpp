// kfx: the command-line face of KivFXKeyFrm.
#include <cstdio>
#include <cstring>
#include <exception>

#include "KfxCommands.h"

namespace {

struct Command {
    const char* name;
    int (*run)(const KfxArgs&);
    const char* summary;
};

constexpr Command kCommands[] = {
    {"demo", KfxDemo, "build a sample project, write it in both formats and check it reads back (the default)"},
    {"info", KfxInfo, "show every object of a project file with its class and fields"},
    {"convert", KfxConvert, "convert a project file between the archive (.kfa) and XML (.xml)"},
    {"formats", KfxFormats, "print the stored layout of every persistable class (Markdown)"},
    {"sample", KfxSample, "print a track's values as CSV, per frame or evenly spaced"},
    {"render", KfxRender, "draw a file's scalar track in the curve window and write the picture (PNG)"},
    {"export", KfxExport, "print a track as MLT animation strings, within a tolerance at every frame"},
    {"import", KfxImport, "read an MLT animation string into a project of one scalar track"},
    {"edit", KfxEdit, "edit a file's tracks in a window: drag keyframes, type values, undo, save"},
};

void Usage(std::FILE* out) {
    std::fprintf(out, "usage: kfx [COMMAND] [ARGS...]\n\nKeyframes of video effects: project files, tracks and editors.\n\ncommands:\n");
    for (const Command& c : kCommands) std::fprintf(out, "  %-8s %s\n", c.name, c.summary);
    std::fprintf(out, "\nWithout a command kfx runs `demo`. `kfx COMMAND --help` tells more.\n");
}

}  // namespace

bool KfxWantsHelp(const KfxArgs& args) {
    for (const auto& a : args)
        if (a == "-h" || a == "--help") return true;
    return false;
}

int KfxFail(const std::string& message) {
    std::fprintf(stderr, "kfx: %s\n", message.c_str());
    return kKfxBadInput;
}

int main(int argc, char** argv) {
    if (argc < 2) return KfxDemo({});
    const std::string name = argv[1];
    if (name == "-h" || name == "--help" || name == "help") {
        Usage(stdout);
        return kKfxOk;
    }
    const KfxArgs args(argv + 2, argv + argc);
    for (const Command& c : kCommands) {
        if (name != c.name) continue;
        try {
            return c.run(args);
        } catch (const std::exception& e) {
            return KfxFail(e.what());
        }
    }
    Usage(stderr);
    return KfxFail("unknown command '" + name + "'");
}
