// The soft effect keyframes: their parameters live in memory only (defaults, Default(),
// copies), their records are one version word per level, their XML one element per level,
// and the family's odd members (Type's load, Scatter's arrays, Grow's arrays).
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "keyfrm/softfx/KivFXSoft.h"
#include "support/ArchiveBytes.h"

using kfxtest::Bytes;

namespace {

constexpr size_t kRootRecordBytes = 12;  // version word, "Restore", Location

std::vector<BYTE> PartAfterRoot(CObject& key) {
    const auto bytes = kfxtest::StoreBytes(key);
    EXPECT_GE(bytes.size(), kRootRecordBytes);
    return std::vector<BYTE>(bytes.begin() + kRootRecordBytes, bytes.end());
}

// The XML text from the scratch root on, without indentation.
std::string CompactXml(CKivObject& object) {
    std::string xml = kfxtest::StoreXml(object), out;
    for (char c : xml.substr(xml.find("<Root")))
        if (c != '\t' && c != '\n') out += c;
    return out;
}

size_t Occurrences(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

}  // namespace

TEST(SoftFXDefaults, NewCoolBaseHasEveryLevelsDefault) {
    CKivSoftFXCoolKeyFrm k;
    EXPECT_EQ(k.CoolParam, 255);
    EXPECT_EQ(k.BaseParam, 1);
    EXPECT_EQ(k.ArrayParam1, 0);
    EXPECT_EQ(k.ArrayParam2, 0);
    EXPECT_EQ(k.ArrayParam3, 0);
    EXPECT_TRUE(k.ArrayInts1.IsEmpty() && k.ArrayRects1.IsEmpty() && k.ArrayRects2.IsEmpty() && k.ArrayInts2.IsEmpty() &&
                k.ArrayInts3.IsEmpty());
    EXPECT_EQ(k.Location, 0.0);
    EXPECT_EQ(k.Restore, 0);
}

TEST(SoftFXDefaults, MembersStartAtTheirOwnDefaults) {
    CKivSoftFXPerspectiveKeyFrm perspective;
    EXPECT_EQ(perspective.Param3, 1.0);
    EXPECT_EQ(perspective.Param4, 1.570796325) << "the angle as the effect has always computed it";
    EXPECT_NE(perspective.Param6, 1.5707963267948966) << "not the exact half of pi";

    CKivSoftFXSkewFormKeyFrm skew;
    EXPECT_EQ(skew.Param2, 100.0);
    EXPECT_EQ(skew.Param6, 3000);
    CKivSoftFXWaterWaveKeyFrm water;
    EXPECT_EQ(water.Param2, 8.0);
    EXPECT_EQ(water.Param7, 50.0);
    EXPECT_EQ(water.Param9, 0.5);
    CKivSoftFXBlurWipeKeyFrm blurWipe;
    EXPECT_EQ(blurWipe.Param2, 50);
    CKivSoftFXTypeKeyFrm type;
    EXPECT_EQ(type.Param1, 2);
    CKivSoftFXRainDropKeyFrm rain;
    EXPECT_EQ(rain.Param3, 13);
    EXPECT_EQ(rain.Param4, 128);
    CKivSoftFXSphereFormKeyFrm sphere;
    EXPECT_EQ(sphere.Param2, CPoint(0, 0));
    EXPECT_EQ(sphere.Param4, CRect(0, 0, 0, 0));
}

TEST(SoftFXDefaults, DefaultResetsEveryLevelAndEmptiesArrays) {
    CKivSoftFXSphereFormKeyFrm sphere;
    sphere.Param1 = CPoint(3, 4);
    sphere.Param3 = CRect(1, 2, 3, 4);
    sphere.Param9 = 9;
    sphere.CoolParam = 7;
    sphere.ArrayRects1.Add(CRect(1, 1, 2, 2));
    sphere.BaseParam = 5;
    sphere.Location = 0.5;
    sphere.Default();
    EXPECT_EQ(sphere.Param1, CPoint(0, 0));
    EXPECT_TRUE(sphere.Param3.IsRectNull());
    EXPECT_EQ(sphere.Param9, 0);
    EXPECT_EQ(sphere.CoolParam, 255);
    EXPECT_TRUE(sphere.ArrayRects1.IsEmpty());
    EXPECT_EQ(sphere.BaseParam, 1);
    EXPECT_EQ(sphere.Location, 0.0);

    CKivSoftFXStepBlurKeyFrm blur;
    blur.Bytes1.Add(200);
    blur.Doubles2.Add(0.5);
    blur.Default();
    EXPECT_TRUE(blur.Bytes1.IsEmpty() && blur.Doubles2.IsEmpty());
}

TEST(SoftFXArchive, MemberPartIsOneZeroVersionWordPerLevel) {
    CKivSoftFXWipeKeyFrm wipe;
    wipe.Param1 = 99;
    wipe.CoolParam = 1;
    EXPECT_EQ(PartAfterRoot(wipe), Bytes({0, 0, 0, 0, 0, 0, 0, 0})) << "Soft, Array, Cool, Wipe";
    CKivSoftFXShineKeyFrm shine;
    shine.Param2 = 99;
    EXPECT_EQ(PartAfterRoot(shine), Bytes({0, 0, 0, 0})) << "Soft, Shine";
    CKivSoftFXQueueKeyFrm queue;
    queue.ArrayInts1.Add(5);
    EXPECT_EQ(PartAfterRoot(queue), Bytes({0, 0, 0, 0, 0, 0})) << "Soft, Array, Queue";
}

TEST(SoftFXArchive, ParametersComeBackAtTheirDefaults) {
    CKivSoftFXBannerWaveKeyFrm wave;
    wave.Param1 = 7.0;
    wave.Location = 0.5;
    wave.Restore = 1;
    auto back = std::unique_ptr<CObject>(RUNTIME_CLASS(CKivSoftFXBannerWaveKeyFrm)->CreateObject());
    auto* loaded = static_cast<CKivSoftFXBannerWaveKeyFrm*>(back.get());
    kfxtest::LoadBytes(*loaded, kfxtest::StoreBytes(wave));
    EXPECT_EQ(loaded->Location, 0.5);
    EXPECT_EQ(loaded->Restore, 1);
    EXPECT_EQ(loaded->Param1, 3.0);

    CKivSoftFXBannerWaveKeyFrm fromXml;
    kfxtest::LoadXml(fromXml, kfxtest::StoreXml(wave));
    EXPECT_EQ(fromXml.Location, 0.5);
    EXPECT_EQ(fromXml.Param1, 3.0);
}

TEST(SoftFXArchive, LoadingReadsExactlyTheVersionWordsWhateverTheyHold) {
    // A Type keyframe (which skips its word unconverted) and a Wipe keyframe back to back,
    // with version words a converter would read as negative.
    auto record = Bytes({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xE0, 0x3F, 0xFF, 0xFF, 0x00, 0x80, 0x34, 0x12});
    CKivSoftFXTypeKeyFrm type;
    type.Param1 = 40;
    kfxtest::LoadBytes(type, record);
    EXPECT_EQ(type.Location, 0.5);
    EXPECT_EQ(type.Param1, 40) << "loading leaves memory-only parameters alone";
    EXPECT_TRUE(CKivSoftFXTypeKeyFrm::Level().flags & kKivLevelSkipVersionConvert);

    record.insert(record.end(), {0xFF, 0xFF});  // Wipe has one level more
    CKivSoftFXWipeKeyFrm wipe;
    kfxtest::LoadBytes(wipe, record);
    EXPECT_EQ(wipe.Location, 0.5);

    record.resize(record.size() - 1);
    EXPECT_THROW(kfxtest::LoadBytes(wipe, record), CArchiveException) << "cut inside the last version word";
}

TEST(SoftFXXml, CoolMemberNestsOneElementPerLevelWithOnlyTheRootsDataMember) {
    CKivSoftFXWipeKeyFrm wipe;
    wipe.Location = 0.5;
    wipe.Param1 = 4;
    EXPECT_EQ(CompactXml(wipe),
              "<Root><CKivSoftFXWipeKeyFrm Version=\"0\"><BaseObject>"
              "<CKivSoftFXCoolKeyFrm Version=\"0\"><BaseObject>"
              "<CKivSoftFXArrayKeyFrm Version=\"0\"><BaseObject>"
              "<CKivSoftFXBaseKeyFrm Version=\"0\"><BaseObject>"
              "<CKivFXBaseKeyFrm Version=\"0\"><DataMember Restore=\"0\" Location=\"0.5\" /><BaseObject /></CKivFXBaseKeyFrm>"
              "</BaseObject></CKivSoftFXBaseKeyFrm>"
              "</BaseObject></CKivSoftFXArrayKeyFrm>"
              "</BaseObject></CKivSoftFXCoolKeyFrm>"
              "</BaseObject></CKivSoftFXWipeKeyFrm></Root>");

    CKivSoftFXGlideKeyFrm glide;
    const std::string xml = kfxtest::StoreXml(glide);
    EXPECT_EQ(Occurrences(xml, "<DataMember"), 1u) << xml;
    EXPECT_EQ(Occurrences(xml, "<CKivSoftFXGlideKeyFrm Version=\"0\">"), 1u) << xml;
}

TEST(SoftFXXml, DataMemberInAMemberElementIsNotRead) {
    CKivSoftFXFlashKeyFrm flash;
    flash.Location = 0.25;
    kfxtest::LoadXml(flash,
                     "<Root><CKivSoftFXFlashKeyFrm Version=\"0\"><DataMember Param1=\"9\" /><BaseObject>"
                     "<CKivSoftFXBaseKeyFrm Version=\"0\"><BaseObject><CKivFXBaseKeyFrm Version=\"0\">"
                     "<DataMember Location=\"0.75\" /></CKivFXBaseKeyFrm></BaseObject></CKivSoftFXBaseKeyFrm>"
                     "</BaseObject></CKivSoftFXFlashKeyFrm></Root>");
    EXPECT_EQ(flash.Param1, 0);
    EXPECT_EQ(flash.Location, 0.75);

    kfxtest::LoadXml(flash, "<Root><CKivSoftFXFaderKeyFrm Version=\"0\" /></Root>");
    EXPECT_EQ(flash.Location, 0.75) << "another class's element changes nothing";
}

TEST(SoftFXCopies, AssignmentCopiesEveryLevelsParametersAndArrays) {
    CKivSoftFXGrowKeyFrm source;
    for (int i = 1; i <= 3; ++i) source.Points1.Add(CPoint(i, -i));
    source.Ints2.Add(8);
    source.ArrayRects2.Add(CRect(1, 2, 3, 4));
    source.BaseParam = 6;
    source.Location = 0.5;

    CKivSoftFXGrowKeyFrm target;
    for (int i = 0; i < 5; ++i) target.Points1.Add(CPoint(100, 100));
    target.Points2.Add(CPoint(7, 7));
    target.SetSelect(1);
    target = source;
    ASSERT_EQ(target.Points1.GetSize(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(target.Points1[i], CPoint(i + 1, -(i + 1)));
    EXPECT_TRUE(target.Points2.IsEmpty());
    ASSERT_EQ(target.Ints2.GetSize(), 1);
    EXPECT_EQ(target.Ints2[0], 8);
    ASSERT_EQ(target.ArrayRects2.GetSize(), 1);
    EXPECT_EQ(target.BaseParam, 6);
    EXPECT_EQ(target.Location, 0.5);
    EXPECT_EQ(target.IsSelect(), 1) << "the selection flag is the target's own";

    std::unique_ptr<CKivObject> copy(source.MakeCopy());
    ASSERT_TRUE(copy);
    auto* grown = dynamic_cast<CKivSoftFXGrowKeyFrm*>(copy.get());
    ASSERT_TRUE(grown);
    EXPECT_EQ(grown->Points1.GetSize(), 3);
    EXPECT_EQ(grown->Points1[2], CPoint(3, -3));
}

TEST(SoftFXCopies, ScatterKeepsItsOwnArraysThroughAssignmentCopyAndDefault) {
    CKivSoftFXScatterKeyFrm source;
    source.Ints1.Add(1);
    source.Rects1.Add(CRect(0, 0, 5, 5));
    source.Rects2.Add(CRect(1, 1, 2, 2));
    source.ArrayInts1.Add(3);
    source.Location = 0.5;

    CKivSoftFXScatterKeyFrm target;
    target.Ints1.Add(10);
    target.Ints1.Add(11);
    target = source;
    EXPECT_EQ(target.Location, 0.5);
    EXPECT_EQ(target.ArrayInts1.GetSize(), 1) << "the base's arrays are copied";
    ASSERT_EQ(target.Ints1.GetSize(), 2);
    EXPECT_EQ(target.Ints1[1], 11);
    EXPECT_TRUE(target.Rects1.IsEmpty() && target.Rects2.IsEmpty());

    std::unique_ptr<CKivObject> copy(source.MakeCopy());
    auto* scattered = dynamic_cast<CKivSoftFXScatterKeyFrm*>(copy.get());
    ASSERT_TRUE(scattered);
    EXPECT_TRUE(scattered->Ints1.IsEmpty() && scattered->Rects1.IsEmpty() && scattered->Rects2.IsEmpty());

    source.Default();
    EXPECT_EQ(source.Ints1.GetSize(), 1);
    EXPECT_EQ(source.Rects2.GetSize(), 1);
    EXPECT_TRUE(source.ArrayInts1.IsEmpty());
}
