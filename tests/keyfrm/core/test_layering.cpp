// The layers include downwards only: the framework stand-in knows nothing of the maker's
// libraries, those know nothing of the keyframe library, and inside it the core knows no
// subsystem; only the start-up list at the top of keyfrm/ names them all.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Layer {
    const char* folder;                 // below the source root; its own subfolders are checked too
    std::vector<std::string> mayInclude;  // include-path prefixes it may name
};

const std::vector<Layer>& Layers() {
    static const std::vector<Layer> layers = {
        {"platform/fw", {"platform/fw/"}},
        {"platform/ui", {"platform/fw/", "platform/ui/"}},
        {"platform/sdl", {"platform/"}},
        {"kivbase", {"platform/", "kivbase/"}},
        {"keyfrm/core", {"platform/", "kivbase/", "keyfrm/core/"}},
        {"keyfrm/tracks", {"platform/", "kivbase/", "keyfrm/core/", "keyfrm/tracks/"}},
        {"keyfrm/fx3d", {"platform/", "kivbase/", "keyfrm/core/", "keyfrm/fx3d/"}},
        {"keyfrm/softfx", {"platform/", "kivbase/", "keyfrm/core/", "keyfrm/softfx/"}},
        {"keyfrm/effectobj", {"platform/", "kivbase/", "keyfrm/core/", "keyfrm/effectobj/"}},
        {"keyfrm/editors", {"platform/", "kivbase/", "keyfrm/core/", "keyfrm/tracks/", "keyfrm/editors/"}},
    };
    return layers;
}

bool Allowed(const Layer& layer, const std::string& path) {
    // Only the project's own headers are named with a folder; system headers use <...>.
    if (path.find('/') == std::string::npos) return true;
    for (const std::string& prefix : layer.mayInclude)
        if (path.rfind(prefix, 0) == 0) return true;
    return false;
}

TEST(Layering, EveryFolderIncludesOnlyItsOwnAndLowerLayers) {
    const std::regex include(R"re(^\s*#\s*include\s*"([^"]+)")re");
    int files = 0;
    for (const Layer& layer : Layers()) {
        const fs::path root = fs::path(KIVFX_SOURCE_DIR) / layer.folder;
        ASSERT_TRUE(fs::is_directory(root)) << root;
        for (const auto& entry : fs::recursive_directory_iterator(root)) {
            const std::string ext = entry.path().extension().string();
            if (ext != ".h" && ext != ".cpp") continue;
            ++files;
            std::ifstream in(entry.path());
            std::string line;
            for (int n = 1; std::getline(in, line); ++n) {
                std::smatch m;
                if (!std::regex_search(line, m, include)) continue;
                EXPECT_TRUE(Allowed(layer, m[1].str()))
                    << entry.path().string() << ":" << n << " includes " << m[1].str() << ", above its layer";
            }
        }
    }
    EXPECT_GT(files, 100) << "the source tree was found";
}

}  // namespace
