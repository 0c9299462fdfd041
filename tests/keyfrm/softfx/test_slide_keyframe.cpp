// The slide keyframe itself: its stored part, what copies keep and reset, the handle
// accessors, and CalcActualValue's pixels in the current video frame.
#include <gtest/gtest.h>

#include <memory>

#include "keyfrm/softfx/KivFXSoft.h"
#include "kivbase/KivVideoStd.h"
#include "support/ArchiveBytes.h"

using kfxtest::Bytes;

namespace {

constexpr size_t kCoolRecordBytes = 12 + 2 + 2 + 2;  // the root's record and three version words
const CRect kFullFrame(0, 0, 720, 576);

// Sets another video frame size for one test and puts the default back.
class VideoSize {
public:
    VideoSize(int cx, int cy) { EXPECT_TRUE(CKivVideoStd::SetResSize(CSize(cx, cy))); }
    ~VideoSize() { CKivVideoStd::SetResSize(CSize(CKivVideoStd::kDefaultWidth, CKivVideoStd::kDefaultHeight)); }
};

}  // namespace

TEST(SlideKeyFrame, StoredPartIsTheVersionWordAndThirteenDoubles) {
    CKivSoftFXSlideKeyFrm key;
    key.UseWidth = 1;  // run-time members are not stored
    key.ActualX = 9;
    const auto bytes = kfxtest::StoreBytes(key);
    ASSERT_EQ(bytes.size(), kCoolRecordBytes + 106);
    const std::vector<BYTE> part(bytes.begin() + kCoolRecordBytes, bytes.end());
    EXPECT_EQ(std::vector<BYTE>(part.begin(), part.begin() + 10), Bytes({0, 0, 0, 0, 0, 0, 0, 0, 0xE0, 0x3F}))
        << "version word 00 00, then CoordX 0.5";
    EXPECT_EQ(std::vector<BYTE>(part.end() - 8, part.end()), Bytes({0x9A, 0x99, 0x99, 0x99, 0x99, 0x99, 0xB9, 0x3F}))
        << "Handle2Y 0.1 last";
}

TEST(SlideKeyFrame, XmlWithoutDataMemberKeepsTheValuesAndStillLoadsTheBase) {
    CKivSoftFXSlideKeyFrm key;
    key.CoordX = 0.125;
    key.Handle2Y = -3.0;
    kfxtest::LoadXml(key,
                     "<Root><CKivSoftFXSlideKeyFrm Version=\"0\"><BaseObject>"
                     "<CKivSoftFXCoolKeyFrm Version=\"0\"><BaseObject><CKivSoftFXArrayKeyFrm Version=\"0\"><BaseObject>"
                     "<CKivSoftFXBaseKeyFrm Version=\"0\"><BaseObject><CKivFXBaseKeyFrm Version=\"0\">"
                     "<DataMember Location=\"0.75\" /></CKivFXBaseKeyFrm></BaseObject></CKivSoftFXBaseKeyFrm>"
                     "</BaseObject></CKivSoftFXArrayKeyFrm></BaseObject></CKivSoftFXCoolKeyFrm>"
                     "</BaseObject></CKivSoftFXSlideKeyFrm></Root>");
    EXPECT_EQ(key.CoordX, 0.125);
    EXPECT_EQ(key.Handle2Y, -3.0);
    EXPECT_EQ(key.Location, 0.75);

    const std::string xml = kfxtest::StoreXml(key);
    EXPECT_NE(xml.find("<DataMember CoordX=\"0.125\" CoordY=\"0.5\" Width=\"1\""), std::string::npos) << xml;
}

TEST(SlideKeyFrame, CopiesKeepStoredFieldsAndHandleFlagsAndStartTheirResultsAfresh) {
    CKivSoftFXSlideKeyFrm source;
    source.CoordY = 0.25;
    source.Handle1X = 0.3;
    source.Location = 0.5;
    source.SetHandleUnLocked();
    source.SetHandleChanged();
    source.UseAlpha = 1;
    source.ActualRect = CRect(1, 2, 3, 4);
    source.ActualAlpha = 9;
    source.WorkParam6 = 40;
    source.WorkParam2 = 2.5;

    CKivSoftFXSlideKeyFrm target;
    target.UseWidth = 1;
    target.ActualWidth = 77;
    target = source;
    std::unique_ptr<CKivObject> made(source.MakeCopy());
    auto* copy = dynamic_cast<CKivSoftFXSlideKeyFrm*>(made.get());
    ASSERT_TRUE(copy);
    for (const CKivSoftFXSlideKeyFrm* k : {&target, copy}) {
        EXPECT_EQ(k->CoordY, 0.25);
        EXPECT_EQ(k->Handle1X, 0.3);
        EXPECT_EQ(k->Location, 0.5);
        EXPECT_EQ(k->IsHandleLocked(), 0);
        EXPECT_EQ(k->IsHandleChanged(), 1);
        EXPECT_EQ(k->UseAlpha, 0) << "switches and results are not copied";
        EXPECT_EQ(k->UseWidth, 0);
        EXPECT_EQ(k->ActualWidth, 0);
        EXPECT_TRUE(k->ActualRect.IsRectNull());
        EXPECT_EQ(k->ActualAlpha, 0);
        EXPECT_EQ(k->WorkParam6, 1) << "reset to its default of 1";
        EXPECT_EQ(k->WorkParam2, 0.0);
    }
    const CKivSoftFXSlideKeyFrm& same = target;
    target = same;
    EXPECT_EQ(target.CoordY, 0.25) << "assigning a keyframe to itself changes nothing";
}

TEST(SlideKeyFrame, HandlesAndFlags) {
    CKivSoftFXSlideKeyFrm key;
    double x = 0, y = 0;
    key.GetHandle(1, x, y);
    EXPECT_EQ(x, -0.1);
    EXPECT_EQ(y, 0.1);
    key.SetHandle(7, 0.2, 0.3);  // any nonzero number is handle 1
    key.SetHandle(0, 0.4, 0.5);
    EXPECT_EQ(key.Handle1X, 0.2);
    EXPECT_EQ(key.Handle1Y, 0.3);
    key.GetHandle(0, x, y);
    EXPECT_EQ(x, 0.4);
    EXPECT_EQ(y, 0.5);

    EXPECT_EQ(key.IsHandleLocked(), 1);
    key.SetHandleUnLocked();
    EXPECT_EQ(key.IsHandleLocked(), 0);
    key.SetHandleChanged();
    EXPECT_EQ(key.IsHandleChanged(), 1);
    key.HandleChanged = 5;
    key.SetHandleChanged();
    EXPECT_EQ(key.IsHandleChanged(), 5);
    key.Default();
    EXPECT_EQ(key.IsHandleLocked(), 1);
    EXPECT_EQ(key.IsHandleChanged(), 0);
}

TEST(SlideKeyFrame, CopyKeyFrmDataTakesTheNineValuesOnly) {
    CKivSoftFXSlideKeyFrm source, target;
    source.CoordX = 0.1;
    source.AValue = 0.2;
    source.BlurVertAngle = 0.3;
    source.Handle1X = 0.9;
    source.Location = 0.4;
    target.Handle1X = -0.9;
    target.CopyKeyFrmData(&source);
    EXPECT_EQ(target.CoordX, 0.1);
    EXPECT_EQ(target.AValue, 0.2);
    EXPECT_EQ(target.BlurVertAngle, 0.3);
    EXPECT_EQ(target.Handle1X, -0.9);
    EXPECT_EQ(target.Location, 0.0);
    target.CopyKeyFrmData(nullptr);
    EXPECT_EQ(target.CoordX, 0.1);
}

TEST(SlideActualValue, CentredHalfWidthPictureInTheFullFrame) {
    CKivSoftFXSlideKeyFrm key;
    key.Width = 0.5;
    key.UseWidth = 1;
    ASSERT_EQ(key.CalcActualValue(1, kFullFrame), 1);
    EXPECT_EQ(key.ActualX, 360);
    EXPECT_EQ(key.ActualY, 288);
    EXPECT_EQ(key.ActualWidth, 360);
    EXPECT_EQ(key.ActualHeight, 576);
    EXPECT_EQ(key.ActualRect, CRect(180, 0, 540, 576));
    EXPECT_EQ(key.UseWidth, 1) << "the width really differs";
    EXPECT_EQ(key.FlipHorz, 0);

    key.Width = 1.0;
    ASSERT_EQ(key.CalcActualValue(1, kFullFrame), 1);
    EXPECT_EQ(key.UseWidth, 0) << "full width is the identity";

    key.Width = -1.0;
    key.UseWidth = 1;
    key.Height = -0.25;
    key.UseHeight = 1;
    ASSERT_EQ(key.CalcActualValue(1, kFullFrame), 1);
    EXPECT_EQ(key.ActualWidth, -720);
    EXPECT_EQ(key.FlipHorz, 1);
    EXPECT_EQ(key.ActualHeight, -144);
    EXPECT_EQ(key.FlipVert, 1);
    EXPECT_EQ(key.ActualRect, CRect(0, 216, 720, 360)) << "a mirrored picture still has a positive rectangle";
}

TEST(SlideActualValue, RegionOutsideTheFrameChangesNothing) {
    CKivSoftFXSlideKeyFrm key;
    key.ActualRect = CRect(1, 2, 3, 4);
    key.CoordX = 9.0;
    EXPECT_EQ(key.CalcActualValue(1, CRect(720, 0, 800, 100)), 0);
    EXPECT_EQ(key.CalcActualValue(1, CRect(100, 100, 50, 200)), 0) << "an upside-down region is empty";
    EXPECT_EQ(key.ActualRect, CRect(1, 2, 3, 4));
    EXPECT_EQ(key.CoordX, 9.0);
    EXPECT_EQ(key.ActualX, 0);
}

TEST(SlideActualValue, CentredPositionsArePulledBackAndWrittenThroughTheCoordinates) {
    // The top-left quarter of the frame: its centre is (180, 144).
    const CRect quarter(-100, -100, 360, 288);
    CKivSoftFXSlideKeyFrm key;
    key.CoordX = 3.0;   // 2160 pixels: 1980 from the region's centre, beyond 720 + 360
    key.CoordY = -1.0;  // -576: -720, beyond -288
    ASSERT_EQ(key.CalcActualValue(1, quarter), 1);
    EXPECT_EQ(key.ActualX, 1080);
    EXPECT_EQ(key.ActualY, -288);
    EXPECT_DOUBLE_EQ(key.CoordX, 1.75);
    EXPECT_DOUBLE_EQ(key.CoordY, -0.25);
    EXPECT_EQ(key.ActualWidth, 360) << "the region clipped to the frame";
    EXPECT_EQ(key.ActualRect, CRect(900, -432, 1260, -144));

    // The rewritten coordinates place the picture where the pulled-back one was shown.
    ASSERT_EQ(key.CalcActualValue(1, quarter), 1);
    EXPECT_EQ(key.ActualX, 1080);
    EXPECT_EQ(key.ActualY, -288);
    EXPECT_DOUBLE_EQ(key.CoordX, 1.75);

    key.CoordX = 3.0;
    ASSERT_EQ(key.CalcActualValue(0, quarter), 1);
    EXPECT_EQ(key.ActualX, 2160) << "not centred: no range check";
    EXPECT_EQ(key.CoordX, 3.0);
    key.CoordX = 50.0;
    ASSERT_EQ(key.CalcActualValue(0, quarter), 1);
    EXPECT_EQ(key.ActualX, static_cast<short>(36000)) << "kept as 16 bits";
}

TEST(SlideActualValue, BlurAndAlphaSwitchesClearOnTheIdentity) {
    CKivSoftFXSlideKeyFrm key;
    key.BlurHorzDegree = 0.25;
    key.BlurHorzAngle = 0.5;
    key.BlurVertAngle = 0.125;
    key.AValue = 0.5;
    ASSERT_EQ(key.CalcActualValue(0, kFullFrame), 1);
    EXPECT_EQ(key.ActualHorzBlurDegree, 0) << "no switch, no blur";
    EXPECT_EQ(key.ActualHorzBlurAngle, 0);
    EXPECT_EQ(key.ActualAlpha, 255);

    key.UseHorzBlur = key.UseVertBlur = key.UseAlpha = 1;
    ASSERT_EQ(key.CalcActualValue(0, kFullFrame), 1);
    EXPECT_EQ(key.ActualHorzBlurDegree, 25);
    EXPECT_EQ(key.ActualHorzBlurAngle, 180);
    EXPECT_EQ(key.UseHorzBlur, 1);
    EXPECT_EQ(key.ActualVertBlurAngle, 45);
    EXPECT_EQ(key.ActualVertBlurDegree, 0);
    EXPECT_EQ(key.UseVertBlur, 0) << "an angle without an amount is no blur";
    EXPECT_EQ(key.ActualAlpha, 127);
    EXPECT_EQ(key.UseAlpha, 1);

    key.AValue = 1.0;
    ASSERT_EQ(key.CalcActualValue(0, kFullFrame), 1);
    EXPECT_EQ(key.ActualAlpha, 255);
    EXPECT_EQ(key.UseAlpha, 0);
}

TEST(SlideActualValue, WorksInTheFrameSizeTheHostSets) {
    VideoSize hd(1920, 1080);
    CKivSoftFXSlideKeyFrm key;
    key.Height = 0.5;
    key.UseHeight = 1;
    ASSERT_EQ(key.CalcActualValue(1, CRect(0, 0, 4000, 4000)), 1);
    EXPECT_EQ(key.ActualX, 960);
    EXPECT_EQ(key.ActualY, 540);
    EXPECT_EQ(key.ActualRect, CRect(0, 270, 1920, 810));
}
