// Pixel layout, the packed form, and the hue-luminance-saturation conversions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "kivbase/KivColor.h"

namespace {

TEST(Colour32, MemoryOrderIsBlueGreenRedAlphaAndPacksLikeTheFields) {
    const tagCOLOR32 c = tagCOLOR32::FromDWORD(0x80112233u);
    EXPECT_EQ(c.alpha, 0x80);
    EXPECT_EQ(c.red, 0x11);
    EXPECT_EQ(c.green, 0x22);
    EXPECT_EQ(c.blue, 0x33);
    BYTE bytes[4];
    std::memcpy(bytes, &c, 4);
    EXPECT_EQ(bytes[0], 0x33);
    EXPECT_EQ(bytes[3], 0x80);
    EXPECT_EQ(c.ToDWORD(), 0x80112233u);

    CKivColor32 white;
    EXPECT_EQ(white.GetDWORD(), 0xFFFFFFFFu) << "opaque white, as colour fields default";
    CKivColor32 k;
    k.SetColor(1, 2, 3, 4);
    const tagCOLOR32* p = k;
    EXPECT_EQ(p->ToDWORD(), 0x04010203u) << "SetColor takes red, green, blue, alpha";
}

TEST(ColourHls, KnownColours) {
    struct Known {
        tagCOLOR32 rgb;
        tagCOLORHLSA hls;
    };
    const Known known[] = {
        {{0, 0, 0, 255}, {0, 0, 0, 255}},          // black
        {{255, 255, 255, 7}, {0, 255, 0, 7}},      // white, alpha carried through
        {{128, 128, 128, 0}, {0, 128, 0, 0}},      // grey has hue 0 and saturation 0
        {{0, 0, 255, 255}, {0, 128, 255, 255}},    // red: luminance 127.5 rounds up
        {{255, 255, 0, 255}, {128, 128, 255, 255}},  // cyan sits half way round
        // Green and blue lie between two hue steps (a third of 256 is not whole): the
        // nearest triple trades a unit of luminance and saturation for the exact channels.
        {{0, 255, 0, 255}, {85, 127, 254, 255}},
        {{255, 0, 0, 255}, {171, 127, 254, 255}},
        {{64, 64, 128, 255}, {0, 96, 85, 255}},    // a dull red
    };
    for (const Known& k : known) {
        EXPECT_EQ(KivPublicRGBA2HLSA(k.rgb), k.hls) << "rgb " << std::hex << k.rgb.ToDWORD();
    }
    // The other way, where the byte grid allows an exact answer.
    EXPECT_EQ(KivPublicHLSA2RGBA({0, 0, 200, 9}).ToDWORD(), 0x09000000u) << "luminance 0 is black";
    EXPECT_EQ(KivPublicHLSA2RGBA({77, 255, 200, 9}).ToDWORD(), 0x09FFFFFFu) << "luminance 255 is white";
    EXPECT_EQ(KivPublicHLSA2RGBA({77, 100, 0, 255}).ToDWORD(), 0xFF646464u) << "no saturation is grey";
    EXPECT_EQ(KivPublicHLSA2RGBA({0, 127, 255, 255}).ToDWORD(), 0xFFFE0000u) << "the dialog's fully saturated red";
    EXPECT_EQ(KivPublicHLSA2RGBA({64, 127, 255, 255}).ToDWORD(), 0xFF7FFE00u) << "a quarter turn: chartreuse";
}

TEST(ColourHls, RoundTripKeepsChannelsWithinOneUnitUpToTwoThirdsChroma) {
    // A grid through the whole cube with both ends of every channel, so that fully
    // saturated colours and near-greys are in it.
    std::vector<int> levels;
    for (int v = 0; v < 256; v += 7) levels.push_back(v);
    levels.push_back(254);
    levels.push_back(255);
    int worstVivid = 0;
    for (int r : levels)
        for (int g : levels)
            for (int b : levels) {
                const tagCOLOR32 c{static_cast<BYTE>(b), static_cast<BYTE>(g), static_cast<BYTE>(r), 200};
                const tagCOLOR32 back = KivPublicHLSA2RGBA(KivPublicRGBA2HLSA(c));
                ASSERT_EQ(back.alpha, 200);
                const int error = std::max({std::abs(back.red - r), std::abs(back.green - g), std::abs(back.blue - b)});
                const int chroma = std::max({r, g, b}) - std::min({r, g, b});
                if (chroma <= kHlsExactChroma)
                    ASSERT_LE(error, 1) << "rgb " << r << "," << g << "," << b;
                else
                    worstVivid = std::max(worstVivid, error);
            }
    // Beyond two thirds of the chroma the hue's 256 steps are too coarse for one unit.
    EXPECT_EQ(worstVivid, 2);
    for (int v = 0; v < 256; ++v) {
        const tagCOLOR32 grey{static_cast<BYTE>(v), static_cast<BYTE>(v), static_cast<BYTE>(v), 255};
        EXPECT_EQ(KivPublicHLSA2RGBA(KivPublicRGBA2HLSA(grey)), grey) << "greys come back exactly";
    }
}

TEST(ColourHls, TheFieldsColoursComeBackToTheirHueAndSaturation) {
    // What a person picks in the colour dialog's field (luminance 127) and sees again when the
    // current location comes back to it: hue and saturation within one step.
    for (int h = 0; h < 256; h += 5)
        for (int s = 40; s < 256; s += 9) {
            const tagCOLORHLSA picked{static_cast<BYTE>(h), 127, static_cast<BYTE>(s), 255};
            const tagCOLORHLSA back = KivPublicRGBA2HLSA(KivPublicHLSA2RGBA(picked));
            const int hueError = std::abs(static_cast<signed char>(static_cast<BYTE>(back.hue - h)));
            EXPECT_LE(hueError, 1) << h << "," << s;
            EXPECT_LE(std::abs(back.luminance - 127), 1) << h << "," << s;
            EXPECT_LE(std::abs(back.saturation - s), 2) << h << "," << s;
        }
}

}  // namespace
