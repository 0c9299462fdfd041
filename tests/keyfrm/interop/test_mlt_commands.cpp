// kfx export --to mlt and kfx import --from mlt through files, and what the conversions
// refuse instead of writing something MLT cannot hold (libmlt itself: tests/interop).
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>

#include "keyfrm/interop/KivFXInterop.h"
#include "keyfrm/tracks/KivFXTracks.h"
#include "support/KfxProgram.h"

namespace {

using kfxtest::Kfx;
using kfxtest::KfxErrors;

std::string Dir() {
    const auto dir = std::filesystem::temp_directory_path() / ("kivfx-mlt-cmd-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    return dir.string();
}

TEST(KfxMlt, ImportThenExportGivesTheSameStringInBothFormats) {
    const std::string dir = Dir();
    for (const char* ext : {".kfa", ".xml"})
        for (const char* text : {"0=0;10=5.5;30=-2", "0~=0;30~=80;60~=20;100=100", "3=7"}) {
            const std::string file = dir + "/t" + ext;
            ASSERT_EQ(Kfx(std::string("import --from mlt '") + text + "' --frames 101 -o " + file).status, 0) << text;
            const auto out = Kfx("export " + file + " --to mlt --frames 101");
            EXPECT_EQ(out.status, 0);
            EXPECT_EQ(out.out, std::string(text) + "\n") << "through " << ext;
        }
    // Colours and rectangles, the kind found from the values: the colour track comes back
    // as written, the position track as its x and y strings.
    const std::string colours = dir + "/c.kfa", rects = dir + "/r.xml";
    ASSERT_EQ(Kfx("import --from mlt '0=#ff000000;50=#8000c800;100=#ff0000ff' --frames 101 -o " + colours).status, 0);
    EXPECT_EQ(Kfx("export " + colours + " --to mlt").out, "0=#ff000000;50=#8000c800;100=#ff0000ff\n");
    ASSERT_EQ(Kfx("import --from mlt '0=0 0 10 10;50=100/-200:5x5:0.5' --frames 51 -o " + rects).status, 0);
    EXPECT_EQ(Kfx("export " + rects + " --to mlt").out.rfind("0=0;50=100\n0=0;50=-200\n", 0), 0u);
    std::filesystem::remove_all(dir);
}

TEST(KfxMlt, CommandsRefuseBadArgumentsAndStringsWithExitCode2) {
    const std::string out = " -o " + Dir() + "/x.kfa";
    struct Case {
        std::string args, says;
    };
    for (const Case& c : std::vector<Case>{{"import --from mlt '0=0;5a=1' --frames 9" + out, "position 5: keyframe kind 'a'= (sinusoidal in)"},
                                           {"import --from mlt '0=1' --frames 0" + out, "--frames"},
                                           {"import --from mlt '0=1' --frames 9 --min 3" + out, "go together"},
                                           {"import --from avi '0=1' --frames 9" + out, "--from"},
                                           {"import --from mlt '0=1' --frames 9 -o x.csv", ".kfa or .xml"},
                                           {"import --from mlt '0=1' --frames 9 --kind hsv" + out, "--kind takes auto, scalar, colour or rect"},
                                           {"import --from mlt '0=1 2' --frames 9 --kind colour" + out, "position 2: expected a colour"},
                                           {"import --from mlt '0=#ff000000' --frames 9 --min 0 --max 1" + out, "not colours"},
                                           {"export nowhere.kfa --to avi", "--to"},
                                           {"export nowhere.kfa --to mlt --tolerance -1", "--tolerance"}}) {
        const auto r = KfxErrors(c.args);
        EXPECT_EQ(r.status, 2) << c.args;
        EXPECT_NE(r.out.find(c.says), std::string::npos) << c.args << " said: " << r.out;
    }
}

TEST(KfxMlt, ConversionsRefuseWhatATrackOrAStringCannotHold) {
    CKivFXInsKeyFrmList track;
    track.SetBaseOnFrame(1);
    track.SendKeyFrmValue(0, 1.0f);
    track.SendKeyFrmValue(10, std::numeric_limits<float>::quiet_NaN());
    EXPECT_NE(KivFXMltExport(track).error.find("not a number MLT can hold"), std::string::npos) << "a NaN would be written as text MLT misreads";
    EXPECT_FALSE(KivFXMltExport(track, {kKivFXMltMaxFrames + 1}).Ok());
    const KivFXMltImported over = KivFXMltImport("0~=3.4e38;10~=-3.4e38;20~=3.4e38;30=0", 40);
    EXPECT_FALSE(over.Ok()) << "MLT's spline overshoots beyond a float";
    EXPECT_EQ(over.position, 22u);
    EXPECT_FALSE(KivFXMltImport("0=4e38", 5).Ok());
}

}  // namespace
