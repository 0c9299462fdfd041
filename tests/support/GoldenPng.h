// Golden pictures: the screen compared pixel for pixel with a PNG kept in the source tree,
// or the PNG rewritten when KIVFX_UPDATE_GOLDEN=1 is set (see the README next to them).
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/ui/Png.h"
#include "platform/ui/Screen.h"

inline bool KivUpdatingGoldens() {
    const char* v = std::getenv("KIVFX_UPDATE_GOLDEN");
    return v && std::string(v) == "1";
}

/// Checks the whole screen against the golden PNG at path. On a mismatch the picture drawn
/// is written next to the build's tests as golden-actual/<file name>, to look at.
inline void ExpectScreenMatchesGolden(const std::filesystem::path& path) {
    KivScreen& screen = KivScreen::Get();
    if (KivUpdatingGoldens()) {
        ASSERT_TRUE(screen.SavePng(CString::FromUtf8(path.string()))) << "cannot rewrite " << path;
        return;
    }
    int w = 0, h = 0;
    std::vector<std::uint32_t> golden;
    ASSERT_TRUE(KivLoadPng(CString::FromUtf8(path.string()), w, h, golden))
        << path << " is missing: run the test with KIVFX_UPDATE_GOLDEN=1 to make it";
    int differing = 0;
    CPoint first(-1, -1);
    if (w == screen.GetWidth() && h == screen.GetHeight())
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const std::uint32_t g = golden[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)];
                const COLORREF expected = RGB((g >> 16) & 0xFF, (g >> 8) & 0xFF, g & 0xFF);
                if (screen.GetPixel(x, y) == expected) continue;
                if (differing++ == 0) first = CPoint(x, y);
            }
    const bool sameSize = w == screen.GetWidth() && h == screen.GetHeight();
    if (sameSize && differing == 0) return;
    const std::filesystem::path actual = std::filesystem::path(KIVFX_BINARY_DIR) / "golden-actual" / path.filename();
    std::filesystem::create_directories(actual.parent_path());
    screen.SavePng(CString::FromUtf8(actual.string()));
    if (!sameSize)
        ADD_FAILURE() << path << " is " << w << "x" << h << ", the screen " << screen.GetWidth() << "x" << screen.GetHeight()
                      << "; drawn picture in " << actual;
    else
        ADD_FAILURE() << path << ": " << differing << " pixels differ, the first at (" << first.x << ", " << first.y
                      << "); drawn picture in " << actual;
}
