// kfx's command line as a whole: run bare it prints its usage and writes nothing, every
// command has generated help, and faults in the arguments are one line and exit code 2.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "support/KfxProgram.h"

namespace {

using kfxtest::KfxShell;

TEST(KfxCommandLine, AnswersEachKindOfRequestWithItsCodeAndStream) {
    struct Case {
        std::string args;
        int status;
        const char* stream;  // the redirection that leaves the stream to check on stdout
        std::string says;
    };
    const char* out = "2>/dev/null";
    const char* err = "2>&1 >/dev/null";
    std::vector<Case> cases = {
        {"", 2, err, "Usage: kfx"},
        {"--help", 0, out, "render"},
        {"help", 0, out, "Subcommands:"},
        {"--version", 0, out, "(KivFXKeyFrm "},
        {"nope", 2, err, "kfx: unknown command 'nope'"},
        {"--bogus", 2, err, "kfx: unknown option --bogus"},
        {"info --bogus x.kfa", 2, err, "kfx: unknown option --bogus"},
        {"convert a.kfa", 2, err, "kfx: convert needs an OUT"},
        {"convert a.kfa b.kfa c.kfa", 2, err, "kfx: convert does not take 'c.kfa'"},
        {"sample x.kfa --track", 2, err, "--track"},
        {"sample x.kfa --count 1 --track -1", 2, err, "kfx: --track takes a track number from 0, not '-1'"},
    };
    for (const char* command : {"convert", "demo", "edit", "formats", "info", "render", "sample"})
        cases.push_back({std::string(command) + " --help", 0, out, std::string("Usage: kfx ") + command});
    // Run in an empty folder: bare kfx once wrote its demo into the current folder.
    const auto here = std::filesystem::current_path();
    const auto folder = std::filesystem::temp_directory_path() / ("kfx-cli-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
    for (const Case& c : cases) {
        const kfxtest::KfxRun r = KfxShell(c.args, c.stream);
        EXPECT_EQ(r.status, c.status) << "kfx " << c.args;
        EXPECT_NE(r.out.find(c.says), std::string::npos) << "kfx " << c.args << " said: " << r.out;
        if (c.status != 0 && !c.args.empty()) {
            EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1) << "kfx " << c.args << ": one line";
        }
    }
    EXPECT_TRUE(std::filesystem::is_empty(folder)) << "no command, no files";
    std::filesystem::current_path(here);
    std::filesystem::remove_all(folder);
}

}  // namespace
