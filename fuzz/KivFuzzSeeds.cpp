// kivfx_fuzz_seeds: writes each fuzz target's seed corpus and dictionary, made from samples
// of every registered class, so that nothing large is kept in the repository.
//   kivfx_fuzz_seeds --list   the names of the targets available in this build
//   kivfx_fuzz_seeds DIR      DIR/<target>/<seed> and DIR/<target>.dict for each of them
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz/common/KivFuzzTargets.h"

namespace {

void WriteFile(const std::filesystem::path& path, const void* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

void WriteTarget(const KivFuzzTarget& target, const std::filesystem::path& dir) {
    const std::filesystem::path seeds = dir / target.name;
    std::filesystem::create_directories(seeds);
    for (const KivFuzzSeed& seed : target.seeds()) WriteFile(seeds / seed.name, seed.bytes.data(), seed.bytes.size());
    std::string dict;
    for (const std::string& line : KivFuzzDictionary(target)) dict += line + "\n";
    WriteFile(dir / (std::string(target.name) + ".dict"), dict.data(), dict.size());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kivfx_fuzz_seeds --list | DIR\n");
        return 2;
    }
    const std::string arg = argv[1];
    try {
        for (const KivFuzzTarget& target : KivFuzzTargets()) {
            if (!target.available) continue;
            if (arg == "--list")
                std::printf("%s\n", target.name);
            else
                WriteTarget(target, arg);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kivfx_fuzz_seeds: %s\n", e.what());
        return 1;
    }
    return 0;
}
