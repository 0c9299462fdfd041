// The libFuzzer entry of one target, chosen when the program is built (KIVFUZZ_TARGET).
// A finding leaves as an uncaught exception, which libFuzzer reports as a crash and keeps.
#include <cstdio>
#include <cstdlib>

#include "fuzz/common/KivFuzzTargets.h"

namespace {

const KivFuzzTarget* g_target = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_target = KivFuzzFindTarget(KIVFUZZ_TARGET);
    if (!g_target || !g_target->available) {
        std::fprintf(stderr, "fuzz target %s is not available in this build\n", KIVFUZZ_TARGET);
        std::exit(1);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    g_target->run(std::span<const std::uint8_t>(data, size));
    return 0;
}
