// Tracks moved to and from MLT animation strings, checked against MLT's own evaluator
// (libmlt's C API) at every frame: exports of generated tracks and of the demo's tracks,
// imports of random strings, the parser's reading of odd strings, and round trips.
#include <gtest/gtest.h>

#include <framework/mlt.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <random>

#include "KfxProject.h"
#include "keyfrm/interop/KivFXInterop.h"
#include "keyfrm/tracks/KivFXTracks.h"
#include "support/KfxProgram.h"

namespace {

// The same arithmetic in another order: differences this small are rounding, not misses.
constexpr double kRounding = 1e-9;

class MltInterop : public ::testing::Test {
protected:
    // The property API is MLT's framework itself and needs no plugins. mlt_factory_init(NULL)
    // works on Debian 12 but loads every plugin, which leaks inside them (the sanitizer run
    // would fail on MLT's leaks), so the fixture checks that MLT evaluates a known string.
    void SetUp() override {
        m_props = mlt_properties_new();
        if (!m_props) GTEST_SKIP() << "MLT cannot make a properties object";
        mlt_properties_set(m_props, "probe", "0=0;2=4");
        if (mlt_properties_anim_get_double(m_props, "probe", 1, 3) != 2.0) GTEST_SKIP() << "MLT does not evaluate \"0=0;2=4\" at frame 1 as 2";
    }
    void TearDown() override {
        if (m_props) mlt_properties_close(m_props);
    }
    // MLT's value of text at every frame of a story of n frames.
    std::vector<double> Mlt(const std::string& text, int n) {
        mlt_properties_set(m_props, "v", text.c_str());
        std::vector<double> out;
        for (int f = 0; f < n; ++f) out.push_back(mlt_properties_anim_get_double(m_props, "v", f, n));
        return out;
    }
    mlt_color MltColour(const std::string& text, int f, int n) {
        mlt_properties_set(m_props, "v", text.c_str());
        return mlt_properties_anim_get_color(m_props, "v", f, n);
    }
    static double Largest(const std::vector<double>& mlt, const std::function<double(int)>& ours) {
        double worst = 0.0;
        for (int f = 0; f < static_cast<int>(mlt.size()); ++f) worst = std::max(worst, std::fabs(mlt[static_cast<std::size_t>(f)] - ours(f)));
        return worst;
    }
    mlt_properties m_props = nullptr;
};

struct Key {
    int frame;
    float value, fore = 0.0f, after = 0.0f;
};

std::unique_ptr<CKivFXInsKeyFrmList> Track(int bezier, float lo, float hi, const std::vector<Key>& keys) {
    auto t = std::make_unique<CKivFXInsKeyFrmList>();
    t->SetBaseOnFrame(1);
    t->InsMode = bezier;
    t->MinValue = lo;
    t->MaxValue = hi;
    for (const Key& k : keys) {
        CKivFXValueKeyFrm* key = t->SendKeyFrmValue(k.frame, k.value);
        key->PtFore.ValueOffset = k.fore;
        key->PtAfter.ValueOffset = k.after;
    }
    return t;
}

std::vector<Key> RandomKeys(std::mt19937& rng, int count, int maxGap, float spread) {
    std::uniform_int_distribution<int> gap(1, maxGap);
    std::uniform_real_distribution<float> value(-spread, spread);
    std::vector<Key> keys;
    for (int i = 0, f = 0; i < count; ++i, f += gap(rng)) keys.push_back({f, value(rng), value(rng), value(rng)});
    return keys;
}

std::unique_ptr<CKivObList> DemoProject() {
    const auto dir = std::filesystem::temp_directory_path() / ("kivfx-mlt-demo-" + std::to_string(::getpid()));
    kfxtest::Kfx("demo " + dir.string());
    auto project = std::make_unique<CKivObList>();
    KfxLoad((dir / "demo.kfa").string(), *project);
    std::filesystem::remove_all(dir);
    return project;
}

TEST_F(MltInterop, ExportsStayWithinTheToleranceAtEveryFrame) {
    std::mt19937 rng(24);
    std::map<std::string, std::unique_ptr<CKivFXInsKeyFrmList>> table;
    auto project = DemoProject();
    table["demo curve"] = std::make_unique<CKivFXInsKeyFrmList>();
    *table["demo curve"] = static_cast<CKivFXInsKeyFrmList&>(*KfxTracks(*project).at(0));
    table["linear"] = Track(0, -100, 100, {{0, 0}, {30, 50}, {60, -20}, {100, 10}});
    table["linear clamped"] = Track(0, 0, 10, {{0, -20}, {40, 30}, {80, 5}});
    table["bezier flat"] = Track(1, 0, 100, {{0, 0}, {50, 100}, {100, 0}, {300, 100}});
    table["bezier steep"] = Track(1, -1000, 1000, {{0, 0, 0, 900}, {20, 500, -900, 900}, {40, -500, 900, 0}});
    table["bezier overshooting"] = Track(1, -50, 150, {{0, 0, 0, 200}, {60, 100, 200, 0}, {90, 0, 0, -300}, {200, 50}});
    table["bezier clamped"] = Track(1, 0, 100, {{0, 0, 0, 300}, {50, 100, 300, 0}});
    table["single keyframe"] = Track(1, 0, 100, {{40, 7.5f}});
    table["a frame apart"] = Track(1, -100, 100, RandomKeys(rng, 40, 1, 100));
    table["long spans"] = Track(1, -1000, 1000, {{0, -800, 0, 600}, {1000, 900, -50, 50}, {5000, 0, 300, 0}});
    table["1000 keyframes"] = Track(1, -1000, 1000, RandomKeys(rng, 1000, 12, 800));
    auto location = Track(1, 0, 10, {});
    location->SetBaseOnFrame(0);
    for (double x : {0.0, 0.33, 0.7, 1.0}) location->SendKeyFrmValue(x, static_cast<float>(10 * x * x))->PtAfter.ValueOffset = 2;
    table["location-based"] = std::move(location);

    std::printf("%-22s %9s %9s %9s %14s %10s\n", "track", "keyframes", "written", "extra", "largest diff", "tolerance");
    for (auto& [name, track] : table) {
        const KivFXMltExported e = KivFXMltExport(*track);
        ASSERT_TRUE(e.Ok()) << name << ": " << e.error;
        const bool byFrame = track->IsBaseOnFrame() != 0;
        const double worst = Largest(Mlt(e.strings[0], e.frames), [&](int f) {
            return byFrame ? track->InsValue(f) : track->InsValue(e.frames > 1 ? static_cast<double>(f) / (e.frames - 1) : 0.0);
        });
        EXPECT_LE(worst, e.tolerance + kRounding) << name << " misses MLT by more than the tolerance: " << e.strings[0];
        EXPECT_NEAR(worst, e.largestDifference, kRounding) << name << ": the reported difference is not MLT's";
        if (name == "linear") {
            EXPECT_EQ(e.extraKeyframes, 0) << "straight lines map one to one";
        }
        std::printf("%-22s %9d %9d %9d %14.6g %10.4g\n", name.c_str(), track->GetKeyFrmCount(), e.keyframes, e.extraKeyframes, worst, e.tolerance);
        RecordProperty("extra keyframes: " + name, e.extraKeyframes);
    }
}

TEST_F(MltInterop, DemoPositionAndColourTracksExportWithinTheirTolerances) {
    auto project = DemoProject();
    const auto tracks = KfxTracks(*project);
    auto& path = static_cast<CKivFXPosiKeyFrmList&>(*tracks.at(1));
    const KivFXMltExported p = KivFXMltExport(path);
    ASSERT_EQ(p.strings.size(), 3u);
    for (int axis = 0; axis < 3; ++axis) {
        const double worst = Largest(Mlt(p.strings[static_cast<std::size_t>(axis)], p.frames), [&](int f) {
            float xyz[3];
            path.InsValue(f, xyz[0], xyz[1], xyz[2]);
            return xyz[axis];
        });
        EXPECT_LE(worst, p.tolerance + kRounding) << "axis " << axis << ": " << p.strings[static_cast<std::size_t>(axis)];
    }
    auto& ramp = static_cast<CKivFXColor32KeyFrmList&>(*tracks.at(2));
    const KivFXMltExported c = KivFXMltExport(ramp);
    for (int f = 0; f < c.frames; ++f) {
        BYTE r, g, b, a;
        ramp.InsValue(static_cast<double>(f) / (c.frames - 1), r, g, b, a);
        const mlt_color m = MltColour(c.strings[0], f, c.frames);
        EXPECT_LE(std::max({std::abs(m.r - r), std::abs(m.g - g), std::abs(m.b - b), std::abs(m.a - a)}), 1) << "frame " << f << ": " << c.strings[0];
    }
}

TEST_F(MltInterop, RandomStringsImportWithinTheToleranceOfMlt) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> count(1, 12), gap(1, 160), kind(0, 2), tail(0, 20);
    std::uniform_real_distribution<double> value(-500, 500);
    double worstShare = 0.0;
    int extra = 0;
    for (int run = 0; run < 300; ++run) {
        std::vector<KivFXMltKey> keys;
        for (int i = 0, f = gap(rng) - 1; i < count(rng); ++i, f += gap(rng))
            keys.push_back({f, std::round(value(rng) * 100) / 100, static_cast<KivFXMltKind>(kind(rng))});
        const std::string text = KivFXMltFormat(keys);
        const int frames = keys.back().frame + 1 + tail(rng);
        const KivFXMltImported in = KivFXMltImport(text, frames);
        ASSERT_TRUE(in.Ok()) << text << ": " << in.error;
        const double worst = Largest(Mlt(text, frames), [&](int f) { return in.track->InsValue(f); });
        ASSERT_LE(worst, in.tolerance + kRounding) << text;
        worstShare = std::max(worstShare, worst / (in.tolerance / kKivFXMltDefaultShare));
        extra += in.extraKeyframes;
    }
    std::printf("imports: largest difference %.3g of the range, %d keyframes added over 300 strings\n", worstShare, extra);
}

// Random colour and rectangle strings over the three kinds, in every spelling the parser
// takes, some reaching beyond the story, imported and compared with MLT's own colours and
// rectangles at every frame.
TEST_F(MltInterop, RandomColourAndRectStringsImportWithinTheToleranceOfMlt) {
    std::mt19937 rng(31);
    std::uniform_int_distribution<int> count(1, 8), gap(1, 90), kind(0, 2), tail(-30, 20), byte(0, 255), form(0, 3);
    std::uniform_real_distribution<double> value(-500, 500);
    const char* const marks[] = {"|", "", "~"};
    int extra[2] = {0, 0};
    double worst[2] = {0.0, 0.0};
    for (int run = 0; run < 240; ++run) {
        const bool colour = run % 2 == 0;
        std::string text;
        int last = 0;
        for (int i = 0, f = gap(rng) - 1; i < count(rng); ++i, f += gap(rng)) {
            char item[160];
            const char* mark = marks[kind(rng)];
            if (colour && form(rng) == 0)
                std::snprintf(item, sizeof item, "%d%s=#%02x%02x%02x", f, mark, byte(rng), byte(rng), byte(rng));
            else if (colour)
                std::snprintf(item, sizeof item, "%d%s=\"#%02X%02x%02x%02x\"", f, mark, byte(rng), byte(rng), byte(rng), byte(rng));
            else if (form(rng) == 0)
                std::snprintf(item, sizeof item, "%d%s=%.2f/%.2f:%.1fx%.1f:%.0f%%", f, mark, value(rng), value(rng), value(rng), value(rng), 50.0);
            else
                std::snprintf(item, sizeof item, "%d%s=%.2f %.3f%s", f, mark, value(rng), value(rng), form(rng) == 1 ? " 10 20" : "");
            text += (text.empty() ? "" : ";") + std::string(item);
            last = f;
        }
        const int frames = std::max(1, last + 1 + tail(rng));  // keyframes beyond the story too
        const KivFXMltImportedTrack in = colour ? KivFXMltImportColour(text, frames) : KivFXMltImportRect(text, frames);
        ASSERT_TRUE(in.Ok()) << text << ": " << in.error;
        mlt_properties_set(m_props, "v", text.c_str());
        double miss = 0.0;
        for (int f = 0; f < frames; ++f) {
            if (colour) {
                const mlt_color m = mlt_properties_anim_get_color(m_props, "v", f, frames);
                BYTE r, g, b, a;
                static_cast<CKivFXColor32KeyFrmList&>(*in.track).InsValue(frames > 1 ? static_cast<double>(f) / (frames - 1) : 0.0, r, g, b, a);
                miss = std::max({miss, std::fabs(m.r - r), std::fabs(m.g - g), std::fabs(m.b - b), std::fabs(m.a - a)});
            } else {
                const mlt_rect m = mlt_properties_anim_get_rect(m_props, "v", f, frames);
                float x, y, z;
                static_cast<CKivFXPosiKeyFrmList&>(*in.track).InsValue(f, x, y, z);
                miss = std::max({miss, std::fabs(m.x - x), std::fabs(m.y - y)});
            }
        }
        ASSERT_LE(miss, in.tolerance + kRounding) << text;
        EXPECT_NEAR(miss, in.largestDifference, 1e-6) << text << ": the reported difference is not MLT's";
        worst[colour] = std::max(worst[colour], miss);
        extra[colour] += in.extraKeyframes;
    }
    std::printf("colour imports: largest difference %g steps, %d keyframes added over 120 strings\n", worst[1], extra[1]);
    std::printf("rectangle imports: largest difference %g, %d keyframes added over 120 strings\n", worst[0], extra[0]);
}

TEST_F(MltInterop, ParserReadsWhatMltReadsAndRefusesTheRestByPosition) {
    for (const char* text : {"0=0;25~=10;50|=3", "4=5;2=3", "2=3;;4=5;", " 2 =3; 4 ~=5", "-1=5;0=0", "0=50%;5=1", "0=\"5\";5=1",
                             "07=5;0=0", "0!=1;5=2", "  7", "0=1e1;3=-.5", "+2=5;0=1"}) {
        const KivFXMltParsed ours = KivFXMltParse(text, 10);
        ASSERT_TRUE(ours.Ok()) << text << ": " << ours.error;
        const std::vector<double> mlt = Mlt(text, 10);
        for (int f = 0; f < 10; ++f) EXPECT_DOUBLE_EQ(KivFXMltValueAt(ours.keys, f), mlt[static_cast<std::size_t>(f)]) << text << " at " << f;
    }
    struct Refused {
        const char* text;
        std::size_t position;
        const char* says;
    };
    for (const Refused& r : std::initializer_list<Refused>{
             {"abc=5", 0, "frame number"}, {"1.5=3", 1, "'.'"}, {"0=0;5a=10", 5, "sinusoidal in"}, {"0=1;5$=10", 5, "smooth natural"},
             {"0=1;5 -=10", 6, "smooth tight"}, {"0=1;5D=10", 5, "bounce in-out"}, {"0=0;2", 4, "without '='"}, {"2=3;2=7", 4, "twice"},
             {"0=5x;5=1", 3, "'x'"}, {"0=;5=1", 2, "missing value"}, {"0==5", 2, "decimal"}, {"0=nan", 2, "decimal"}, {"0x3=5", 1, "'x'"},
             {"0:00:01.0=5", 1, "':'"}, {"0~ =1", 1, "'~'"}, {"99999999999=1", 0, "beyond"}, {"", 0, "missing value"},
             {"0=1e999", 2, "out of range"}, {"0=\"5", 2, "quoted"}, {";;", 0, "decimal"}, {"0=1; ;5=2", 4, "without '='"}}) {
        const KivFXMltParsed ours = KivFXMltParse(r.text, 10);
        EXPECT_EQ(ours.position, r.position) << r.text << ": " << ours.error;
        EXPECT_NE(ours.error.find(r.says), std::string::npos) << r.text << ": " << ours.error;
    }
    // Colours and rectangles: what the form refuses, and the form a string is taken for.
    struct RefusedAs {
        KivFXMltForm form;
        const char* text;
        std::size_t position;
        const char* says;
    };
    for (const RefusedAs& r : std::initializer_list<RefusedAs>{
             {KivFXMltForm::colour, "0=#fff", 2, "not 3"}, {KivFXMltForm::colour, "0= #ff000000", 2, "expected a colour"},
             {KivFXMltForm::colour, "0=red", 2, "expected a colour"}, {KivFXMltForm::colour, "0=#ff00zz00", 7, "'z'"},
             {KivFXMltForm::colour, "0=#ff000000;5a=#ffffffff", 13, "sinusoidal in"}, {KivFXMltForm::rect, "0=1", 2, "x and y"},
             {KivFXMltForm::rect, "0=1 2 3 4 5 6", 12, "at most 5"}, {KivFXMltForm::rect, "0=1 2;5=3", 8, "x and y"},
             {KivFXMltForm::rect, "0=1 , 2", 4, "decimal"}, {KivFXMltForm::rect, "0=1 2 abc", 6, "decimal"},
             {KivFXMltForm::rect, "0=1;2", 2, "x and y"}, {KivFXMltForm::rect, "0=1 2;", 0, ""}}) {
        const KivFXMltParsed ours = KivFXMltParse(r.text, 10, r.form);
        if (*r.says == '\0') {
            EXPECT_TRUE(ours.Ok()) << r.text << ": " << ours.error;
            continue;
        }
        EXPECT_EQ(ours.position, r.position) << r.text << ": " << ours.error;
        EXPECT_NE(ours.error.find(r.says), std::string::npos) << r.text << ": " << ours.error;
    }
    for (const auto& [text, form] : std::initializer_list<std::pair<const char*, KivFXMltForm>>{
             {"0=#ff000000;9=#00ff00", KivFXMltForm::colour}, {"0=\"#ff000000\"", KivFXMltForm::colour}, {"#123456", KivFXMltForm::colour},
             {"0=1 2;9=3 4", KivFXMltForm::rect}, {"0=-1/2:3x4", KivFXMltForm::rect}, {"0=5;9=-1", KivFXMltForm::scalar}, {"7", KivFXMltForm::scalar}})
        EXPECT_EQ(KivFXMltDetectForm(text), form) << text;
}

TEST_F(MltInterop, RoundTripKeepsEveryOriginalKeyframeExactly) {
    std::mt19937 rng(11);
    for (int run = 0; run < 60; ++run) {
        auto track = Track(run % 2, -1000, 1000, RandomKeys(rng, 2 + run % 30, 1 + run * 5, 900));
        const KivFXMltExported e = KivFXMltExport(*track);
        const KivFXMltImported back = KivFXMltImport(e.strings[0], e.frames);
        ASSERT_TRUE(back.Ok()) << back.error;
        for (int i = 0; i < track->GetKeyFrmCount(); ++i) {
            const CKivFXValueKeyFrm* k = track->GetFXKeyFrm(i);
            const auto* found = static_cast<CKivFXValueKeyFrm*>(KivFXKeyFrmFindKF(k->Frame, back.track.get()));
            ASSERT_NE(found, nullptr) << "keyframe at frame " << k->Frame << " lost: " << e.strings[0];
            EXPECT_EQ(found->Value, k->Value) << "at frame " << k->Frame;
        }
    }
}

TEST_F(MltInterop, SmoothStringsComeBackWithoutAddedKeyframes) {
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> gap(2, 60);
    std::uniform_real_distribution<double> value(-100, 100);
    for (int run = 0; run < 40; ++run) {
        std::vector<KivFXMltKey> keys;
        for (int i = 0, f = 0; i < 2 + run % 6; ++i, f += gap(rng)) keys.push_back({f, std::round(value(rng)), KivFXMltKind::smooth});
        const std::string text = KivFXMltFormat(keys);
        const KivFXMltImported in = KivFXMltImport(text, keys.back().frame + 1);
        ASSERT_TRUE(in.Ok()) << in.error;
        const KivFXMltExported out = KivFXMltExport(*in.track);
        EXPECT_EQ(out.extraKeyframes, 0) << "MLT's own spline is not recognised: " << text << " came back as " << out.strings[0];
    }
}

}  // namespace
