// The slide keyframes' interpolation: the one-dimensional interpolator (sorting, repeated
// positions, linear and Hermite segments, clamping, the segment cache) and the stream that
// GetKeyFrameData builds from a list, with its frame arithmetic and its failures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <vector>

#include "support/FailingAllocation.h"
#include "keyfrm/softfx/KivFXSoft.h"

namespace {

// Hermite values are sums of a few products of short decimals: a few ulps of error.
constexpr double kTolerance = 1e-12;

struct Key {
    double location;
    double coordX;
};

// A list of slide keyframes at the given locations with the given CoordX, everything else
// at its default.
std::unique_ptr<CKivObList> SlideList(std::initializer_list<Key> keys) {
    auto list = std::make_unique<CKivObList>();
    for (const Key& k : keys) {
        auto key = std::make_unique<CKivSoftFXSlideKeyFrm>();
        key->Location = k.location;
        key->CoordX = k.coordX;
        list->AddTail(key.release());
    }
    return list;
}

CKivSoftFXSlideKeyFrm& At(CKivObList& list, int index) {
    return *static_cast<CKivSoftFXSlideKeyFrm*>(list.GetAt(list.FindIndex(index)));
}

void SetHandles(CKivObList& list, double value) {
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        auto* key = static_cast<CKivSoftFXSlideKeyFrm*>(list.GetNext(pos));
        key->SetHandle(1, value, value);
        key->SetHandle(0, value, value);
    }
}

// The cubic Hermite segment in its textbook basis form, to check the interpolator's own.
double Hermite(double v0, double v1, double t0, double t1, double u) {
    const double u2 = u * u, u3 = u2 * u;
    return (2 * u3 - 3 * u2 + 1) * v0 + (u3 - 2 * u2 + u) * t0 + (-2 * u3 + 3 * u2) * v1 + (u3 - u2) * t1;
}

double ValueAt(ULONG frames, CKivObList& list, double location, int curve) {
    CKivSoftFXSlideKeyFrm result;
    EXPECT_EQ(CKivSoftFXSlideKeyFrm::GetKeyFrameData(frames, &list, location, &result, curve), 1);
    return result.CoordX;
}

}  // namespace

// ---- the interpolator ----

TEST(InsDoubleThree, FinishSortsAndKeepsTheFirstOfRepeatedPositions) {
    CKivInsDoubleThree ins(-10.0, 10.0, 0);
    EXPECT_EQ(ins.Allocate(0), 0);
    ASSERT_EQ(ins.Allocate(5), 1);
    ins.SetKey(0, 30.0, 3.0, 0.0, 0.0);
    ins.SetKey(1, 10.0, 1.0, 0.0, 0.0);
    ins.SetKey(2, 30.0, 9.0, 0.0, 0.0);
    ins.SetKey(3, 10.0, 7.0, 0.0, 0.0);
    ins.SetKey(4, 20.0, 2.0, 0.0, 0.0);
    ins.SetKey(5, 0.0, 99.0, 0.0, 0.0);  // past the table: ignored
    ins.Finish();
    ASSERT_EQ(ins.GetCount(), 3u);
    EXPECT_EQ(ins.GetKey(0).KeyPos, 10.0);
    EXPECT_EQ(ins.GetKey(0).KeyValue, 1.0) << "the first key set at a position stays";
    EXPECT_EQ(ins.GetKey(1).KeyPos, 20.0);
    EXPECT_EQ(ins.GetKey(2).KeyValue, 3.0);
}

TEST(InsDoubleThree, CubicTangentsAreScaledOnlyBetweenTwoOrMoreKeys) {
    CKivInsDoubleThree cubic(-10.0, 10.0, 1), single(-10.0, 10.0, 1), linear(-10.0, 10.0, 0);
    for (auto* ins : {&cubic, &linear}) {
        ASSERT_EQ(ins->Allocate(2), 1);
        ins->SetKey(0, 0.0, 0.0, 2.0, 4.0);
        ins->SetKey(1, 10.0, 1.0, 6.0, 8.0);
        ins->Finish();
    }
    ASSERT_EQ(single.Allocate(1), 1);
    single.SetKey(0, 0.0, 0.0, 2.0, 4.0);
    single.Finish();
    EXPECT_DOUBLE_EQ(cubic.GetKey(0).KeyIn, 2.0 * CKivInsDoubleThree::kTangentScale);
    EXPECT_DOUBLE_EQ(cubic.GetKey(1).KeyOut, 8.0 * CKivInsDoubleThree::kTangentScale);
    EXPECT_EQ(single.GetKey(0).KeyOut, 4.0);
    EXPECT_EQ(linear.GetKey(1).KeyIn, 6.0);

    // The segment leaves key 0 along its out tangent and enters key 1 along its in tangent.
    EXPECT_NEAR(cubic.GetValue(2.5), Hermite(0.0, 1.0, 4.0 * 0.05, 6.0 * 0.05, 0.25), kTolerance);
    EXPECT_NEAR(linear.GetValue(2.5), 0.25, kTolerance);
}

TEST(InsDoubleThree, EndsHoldTheirValuesAndResultsAreClamped) {
    CKivInsDoubleThree ins(-1.0, 1.0, 0);
    ASSERT_EQ(ins.Allocate(3), 1);
    ins.SetKey(0, 10.0, 3.0, 0.0, 0.0);
    ins.SetKey(1, 20.0, 0.0, 0.0, 0.0);
    ins.SetKey(2, 30.0, -0.5, 0.0, 0.0);
    ins.Finish();
    EXPECT_EQ(ins.GetValue(-1e300), 1.0) << "before the first key: its value, clamped";
    EXPECT_EQ(ins.GetValue(10.0), 1.0);
    EXPECT_NEAR(ins.GetValue(19.0), 0.3, kTolerance);
    EXPECT_EQ(ins.GetValue(20.0), 0.0) << "on a key: exactly its value";
    EXPECT_NEAR(ins.GetValue(25.0), -0.25, kTolerance);
    EXPECT_EQ(ins.GetValue(30.0), -0.5);
    EXPECT_EQ(ins.GetValue(1e300), -0.5);
    EXPECT_EQ(ins.GetValue(std::numeric_limits<double>::quiet_NaN()), 1.0) << "NaN reads as before the first key";

    ins.Clear();
    EXPECT_EQ(ins.GetCount(), 0u);
    EXPECT_EQ(ins.GetMinValue(), -CKivInsDoubleThree::kUnboundedRange);
    EXPECT_EQ(ins.GetMaxValue(), CKivInsDoubleThree::kUnboundedRange);
    EXPECT_EQ(ins.GetValue(15.0), 0.0) << "no keys: nothing is read";
    CKivInsDoubleThree never(2.0, 3.0, 1);
    EXPECT_EQ(never.GetValue(1.0), 2.0) << "no keys: 0 clamped to the range";
}

TEST(InsDoubleThree, CachedSegmentsGiveTheBitsOfAFreshSearch) {
    std::mt19937 random(20240611);
    std::uniform_real_distribution<double> value(-3.0, 3.0);
    for (int cubic : {0, 1}) {
        std::vector<SKivInsDoubleKey> keys;
        for (int i = 0; i < 12; ++i)
            keys.push_back({static_cast<double>(random() % 200), value(random), value(random), value(random)});
        const auto build = [&](CKivInsDoubleThree& ins) {
            ASSERT_EQ(ins.Allocate(static_cast<UINT>(keys.size())), 1);
            for (UINT i = 0; i < keys.size(); ++i) ins.SetKey(i, keys[i].KeyPos, keys[i].KeyValue, keys[i].KeyIn, keys[i].KeyOut);
            ins.Finish();
        };
        CKivInsDoubleThree reused(-2.0, 2.0, cubic);
        build(reused);
        // Whole frames (keys sit on them) and points between, in an order that jumps about.
        std::vector<double> xs;
        for (int f = -2; f <= 202; ++f) xs.insert(xs.end(), {f * 1.0, f + 0.37, std::nextafter(f * 1.0, -1e9)});
        std::shuffle(xs.begin(), xs.end(), random);
        for (double x : xs) {
            CKivInsDoubleThree fresh(-2.0, 2.0, cubic);
            build(fresh);
            const double a = reused.GetValue(x), b = fresh.GetValue(x);
            ASSERT_EQ(std::memcmp(&a, &b, sizeof a), 0) << "x " << x << (cubic ? " cubic" : " linear");
        }
    }
}

// ---- GetKeyFrameData and its stream ----

TEST(SlideInterpolation, OneKeyFrameIsCopiedWholeWhateverTheLocation) {
    auto list = SlideList({{0.3, 0.2}});
    CKivSoftFXSlideKeyFrm& only = At(*list, 0);
    only.SetHandle(1, 0.7, -0.7);
    only.SetHandleChanged();
    only.SetHandleUnLocked();
    only.Restore = 1;
    for (double location : {0.0, 0.9, 5.0, -1.0}) {
        CKivSoftFXSlideKeyFrm result;
        result.UseWidth = 1;
        result.ActualX = 5;
        result.Location = 0.5;
        ASSERT_EQ(CKivSoftFXSlideKeyFrm::GetKeyFrameData(100, list.get(), location, &result, 1), 1);
        EXPECT_EQ(result.Location, 0.3);
        EXPECT_EQ(result.Restore, 1);
        EXPECT_EQ(result.CoordX, 0.2);
        EXPECT_EQ(result.Handle1X, 0.7);
        EXPECT_EQ(result.Handle1Y, -0.7);
        EXPECT_EQ(result.IsHandleChanged(), 1);
        EXPECT_EQ(result.IsHandleLocked(), 0);
        EXPECT_EQ(result.UseWidth, 0) << "run-time members start afresh";
        EXPECT_EQ(result.ActualX, 0);
    }
}

TEST(SlideInterpolation, KeysSitOnFramesOfTheLastFrameAndLookupsUseTheFrameCount) {
    auto list = SlideList({{1.0, 1.0}, {0.0, 0.0}});  // in any order
    CKivSoftFXSlideInsStream stream;
    ASSERT_EQ(stream.Prepare(list.get(), 101, 0), 1);
    const CKivInsDoubleThree* x = stream.GetInterpolator(CKivSoftFXSlideInsStream::kCoordX);
    ASSERT_TRUE(x);
    ASSERT_EQ(x->GetCount(), 2u);
    EXPECT_EQ(x->GetKey(0).KeyPos, 0.0);
    EXPECT_EQ(x->GetKey(1).KeyPos, 100.0);

    CKivSoftFXSlideKeyFrm result;
    result.Location = 0.77;
    result.Handle1X = 0.4;
    ASSERT_EQ(CKivSoftFXSlideKeyFrm::GetKeyFrameData(101, list.get(), 0.5, &result, 0), 1);
    EXPECT_NEAR(result.CoordX, 0.5, kTolerance) << "frame 50";
    EXPECT_EQ(result.Location, 0.77) << "only the nine values change";
    EXPECT_EQ(result.Handle1X, 0.4);
    EXPECT_EQ(ValueAt(101, *list, 1.0, 0), 1.0) << "frame 101, one past the last key";
    EXPECT_NEAR(ValueAt(101, *list, 0.999, 0), 1.0, kTolerance) << "frame 100 (100.899 truncated)";
    EXPECT_NEAR(ValueAt(101, *list, 0.0099, 0), 0.0, kTolerance) << "frame 0 (0.9999 truncated)";
}

TEST(SlideInterpolation, CurvesFollowHermiteSegmentsShapedByTheHandles) {
    auto list = SlideList({{0.0, 0.0}, {1.0, 1.0}});
    SetHandles(*list, 0.0);
    EXPECT_NEAR(ValueAt(101, *list, 0.5, 1), 0.5, kTolerance) << "frame 50";
    EXPECT_NEAR(ValueAt(101, *list, 0.1, 1), 0.028, kTolerance) << "frame 10: 3u^2 - 2u^3 at u = 0.1";
    EXPECT_NEAR(ValueAt(101, *list, 0.1, 0), 0.1, kTolerance) << "the same keys without curves";

    // Key 0 leaves along its outgoing handle, key 1 arrives along its incoming one, both
    // scaled by 0.05; the other fields stay linear.
    At(*list, 0).SetHandle(0, 2.0, -1.0);
    At(*list, 1).SetHandle(1, 4.0, 3.0);
    At(*list, 1).Width = 0.0;
    CKivSoftFXSlideKeyFrm result;
    ASSERT_EQ(CKivSoftFXSlideKeyFrm::GetKeyFrameData(101, list.get(), 0.25, &result, 1), 1);
    EXPECT_NEAR(result.CoordX, Hermite(0.0, 1.0, 0.1, 0.2, 0.25), kTolerance);
    EXPECT_NEAR(result.CoordY, Hermite(0.5, 0.5, -0.05, 0.15, 0.25), kTolerance);
    EXPECT_NEAR(result.Width, 0.75, kTolerance);
}

TEST(SlideInterpolation, ValuesAreClampedToEachFieldsRange) {
    auto list = SlideList({{0.0, 5.0}, {1.0, 0.5}});
    CKivSoftFXSlideKeyFrm& first = At(*list, 0);
    CKivSoftFXSlideKeyFrm& last = At(*list, 1);
    first.Width = 3.0;
    last.Width = -2.0;
    first.Height = 4.0;
    first.CoordY = -3.0;
    first.AValue = 1.5;
    first.BlurHorzDegree = -0.5;
    first.BlurVertAngle = 2.0;

    CKivSoftFXSlideInsStream stream;
    ASSERT_EQ(stream.Prepare(list.get(), 101, 0), 1);
    CKivSoftFXSlideKeyFrm result;
    stream.Calc(0, &result);
    EXPECT_EQ(result.Width, 1.0);
    EXPECT_EQ(result.Height, 1.0);
    EXPECT_EQ(result.CoordX, 2.0);
    EXPECT_EQ(result.CoordY, -1.0);
    EXPECT_EQ(result.AValue, 1.0);
    EXPECT_EQ(result.BlurHorzDegree, 0.0);
    EXPECT_EQ(result.BlurVertAngle, 1.0);
    stream.Calc(50, &result);
    EXPECT_NEAR(result.Width, 0.5, kTolerance) << "clamped after interpolation, not before";
    stream.Calc(100, &result);
    EXPECT_EQ(result.Width, -1.0);
}

TEST(SlideInterpolation, KeyFramesOnOneFrameLeaveOneKey) {
    // 10 x 0.5 and 10 x 0.54 both truncate to frame 5.
    auto list = SlideList({{0.5, 0.25}, {0.54, 0.75}});
    CKivSoftFXSlideInsStream stream;
    ASSERT_EQ(stream.Prepare(list.get(), 11, 1), 1);
    for (int f = 0; f < CKivSoftFXSlideInsStream::kFieldCount; ++f)
        EXPECT_EQ(stream.GetInterpolator(static_cast<CKivSoftFXSlideInsStream::Field>(f))->GetCount(), 1u);
    for (double location : {0.0, 0.5, 1.0})
        EXPECT_EQ(ValueAt(11, *list, location, 1), 0.25) << "the single key's value everywhere";

    auto three = SlideList({{0.0, 0.0}, {0.5, 0.25}, {0.54, 0.75}, {1.0, 1.0}});
    ASSERT_EQ(stream.Prepare(three.get(), 11, 0), 1);
    EXPECT_EQ(stream.GetInterpolator(CKivSoftFXSlideInsStream::kAValue)->GetCount(), 3u);
}

TEST(SlideInterpolation, LocationsOutsideTheEffectFollowTheFrameArithmetic) {
    auto list = SlideList({{0.0, 0.2}, {1.0, 0.8}});
    EXPECT_EQ(ValueAt(101, *list, 1.5, 0), 0.8);
    EXPECT_EQ(ValueAt(101, *list, -0.25, 0), 0.8) << "frame -25 wraps to 4294967271, past the last key";
    EXPECT_EQ(ValueAt(101, *list, std::numeric_limits<double>::quiet_NaN(), 0), 0.2) << "no frame: frame 0";
    EXPECT_EQ(ValueAt(101, *list, 1e30, 0), 0.2) << "beyond 64 bits: frame 0";

    // A keyframe before the start wraps the same way and sorts last.
    auto wrapped = SlideList({{-0.5, 0.9}, {0.0, 0.1}, {1.0, 0.5}});
    CKivSoftFXSlideInsStream stream;
    ASSERT_EQ(stream.Prepare(wrapped.get(), 101, 1), 1);
    const CKivInsDoubleThree* x = stream.GetInterpolator(CKivSoftFXSlideInsStream::kCoordX);
    ASSERT_EQ(x->GetCount(), 3u);
    EXPECT_EQ(x->GetKey(2).KeyPos, 4294967246.0);
    EXPECT_NEAR(ValueAt(101, *wrapped, 0.5, 1), 0.3, kTolerance) << "halfway between the two keys inside the effect";
}

TEST(SlideInterpolation, RefusesWhatItCannotInterpolateAndLeavesTheResult) {
    auto list = SlideList({{0.0, 0.2}, {1.0, 0.8}});
    CKivSoftFXSlideKeyFrm result;
    result.CoordX = 0.6;
    CKivObList empty;
    EXPECT_EQ(CKivSoftFXSlideKeyFrm::GetKeyFrameData(101, &empty, 0.5, &result, 0), 0);
    EXPECT_EQ(CKivSoftFXSlideKeyFrm::GetKeyFrameData(101, nullptr, 0.5, &result, 0), 0);
    EXPECT_EQ(CKivSoftFXSlideKeyFrm::GetKeyFrameData(0, list.get(), 0.5, &result, 0), 0);
    EXPECT_EQ(CKivSoftFXSlideKeyFrm::GetKeyFrameData(101, list.get(), 0.5, nullptr, 0), 0);
    list->AddTail(new CKivSoftFXWipeKeyFrm);
    EXPECT_EQ(CKivSoftFXSlideKeyFrm::GetKeyFrameData(101, list.get(), 0.5, &result, 0), 0) << "a keyframe of another effect";
    EXPECT_EQ(result.CoordX, 0.6);

    CKivSoftFXSlideInsStream stream;
    EXPECT_EQ(stream.Prepare(list.get(), 101, 0), 0);
    stream.Calc(3, &result);
    EXPECT_EQ(result.CoordX, 0.6) << "an unprepared stream writes nothing";
}

TEST(SlideInterpolation, RunningOutOfMemoryReturnsZeroAtEveryAllocation) {
    auto list = SlideList({{0.0, 0.2}, {1.0, 0.8}});
    constexpr long kMostAllocations = 100;  // the stream makes eighteen
    for (long allowed = 0; allowed < kMostAllocations; ++allowed) {
        CKivSoftFXSlideKeyFrm result;
        result.CoordX = -0.5;
        int status;
        bool refused;
        {
            kfxtest::FailingAllocation fail(allowed);
            status = CKivSoftFXSlideKeyFrm::GetKeyFrameData(101, list.get(), 0.5, &result, 1);
            refused = fail.Refused();
        }
        if (refused) {
            EXPECT_EQ(status, 0) << "allocation " << allowed << " refused";
            EXPECT_EQ(result.CoordX, -0.5);
            continue;
        }
        EXPECT_EQ(status, 1);
        EXPECT_NEAR(result.CoordX, 0.5, kTolerance);
        return;
    }
    ADD_FAILURE() << "GetKeyFrameData never succeeded";
}
