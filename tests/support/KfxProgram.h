// Test helper: runs the kfx program built beside the tests and collects what it prints.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace kfxtest {

struct KfxRun {
    int status;       // the exit code, -1 when the program did not exit normally
    std::string out;  // standard output, or standard error with KfxErrors
};

/// Runs `kfx ARGS` through the shell, reading the stream the redirection leaves on stdout.
inline KfxRun KfxShell(const std::string& args, const char* redirect) {
    const std::string command = std::string(KIVFX_BINARY_DIR) + "/tools/kfx/kfx " + args + " " + redirect;
    KfxRun r{-1, {}};
    std::FILE* p = popen(command.c_str(), "r");
    if (!p) return r;
    char buf[4096];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) r.out.append(buf, n);
    const int status = pclose(p);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

/// kfx ARGS: its exit code and standard output.
inline KfxRun Kfx(const std::string& args) { return KfxShell(args, "2>/dev/null"); }
/// kfx ARGS: its exit code and standard error.
inline KfxRun KfxErrors(const std::string& args) { return KfxShell(args, "2>&1 >/dev/null"); }

}  // namespace kfxtest
