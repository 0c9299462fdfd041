// The fuzz targets run in the normal tests: every seed they start from loads (so the
// corpus exercises real data), and every input kept under fuzz/regressions/<target>/,
// each of which once made a target fail, now passes and leaks nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "ReliabilityChecks.h"
#include "fuzz/common/KivFuzzTargets.h"

namespace {

struct TargetParam {
    const KivFuzzTarget* target;
};
void PrintTo(const TargetParam& p, std::ostream* os) { *os << p.target->name; }

std::vector<TargetParam> AvailableTargets() {
    std::vector<TargetParam> out;
    for (const KivFuzzTarget& t : KivFuzzTargets())
        if (t.available) out.push_back({&t});
    return out;
}

std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class FuzzTarget : public testing::TestWithParam<TargetParam> {};

}  // namespace

TEST_P(FuzzTarget, EverySeedIsAccepted) {
    const KivFuzzTarget& target = *GetParam().target;
    const std::vector<KivFuzzSeed> seeds = target.seeds();
    EXPECT_FALSE(seeds.empty());
    for (const KivFuzzSeed& seed : seeds) {
        KivFuzzResult result = KivFuzzResult::skipped;
        const auto outcome = kfxrel::RunLoad([&] { result = target.run(seed.bytes); });
        EXPECT_TRUE(kfxrel::Accepted(outcome)) << seed.name;
        EXPECT_EQ(result, KivFuzzResult::accepted) << seed.name;
    }
}

TEST_P(FuzzTarget, EveryKeptRegressionPasses) {
    const KivFuzzTarget& target = *GetParam().target;
    const std::filesystem::path dir = std::filesystem::path(KIVFX_SOURCE_DIR) / "fuzz" / "regressions" / target.name;
    if (!std::filesystem::is_directory(dir)) GTEST_SKIP() << "no input of " << target.name << " ever failed";
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        const std::vector<std::uint8_t> input = ReadFile(entry.path());
        const auto outcome = kfxrel::RunLoad([&] { target.run(input); });
        EXPECT_TRUE(kfxrel::Accepted(outcome)) << entry.path().filename();
    }
}

INSTANTIATE_TEST_SUITE_P(Available, FuzzTarget, testing::ValuesIn(AvailableTargets()),
                         [](const testing::TestParamInfo<TargetParam>& info) { return std::string(info.param.target->name); });
