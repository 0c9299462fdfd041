// The matrix's totals, printed once the program's tests have run.
#include "ReliabilityChecks.h"

#include <cstdio>

namespace kfxrel {

long& CaseCount() {
    static long count = 0;
    return count;
}

long& InjectionCount() {
    static long count = 0;
    return count;
}

namespace {

class Totals : public testing::Environment {
public:
    void TearDown() override {
        if (CaseCount() || InjectionCount())
            std::printf("[reliability] %ld bad-input case(s), %ld allocation-failure run(s)\n", CaseCount(), InjectionCount());
    }
};

const testing::Environment* const g_totals = testing::AddGlobalTestEnvironment(new Totals);  // gtest owns it

}  // namespace

}  // namespace kfxrel
