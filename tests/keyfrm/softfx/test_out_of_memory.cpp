// Running out of memory: growing an array raises CMemoryException, MakeCopy turns it into
// null, Open reports 0, and nothing leaks (the sanitizer build checks that part).
#include <gtest/gtest.h>

#include <memory>

#include "support/FailingAllocation.h"
#include "keyfrm/effectobj/KivFXEffectObj.h"
#include "keyfrm/softfx/KivFXSoft.h"
#include "kivbase/KivXMLDOMDoc.h"
#include "platform/fw/KivSmallObjectPool.h"
#include "support/ArchiveBytes.h"

namespace {

// MakeCopy with the first 0, 1, 2... allocations allowed: every copy that meets a refused
// allocation is null, and once none is refused the copy equals the source.
void ExpectMakeCopyFailsCleanlyAtEveryAllocation(const CKivObject& source) {
    constexpr long kMostAllocations = 1000;  // far more than any copy here makes
    for (long allowed = 0; allowed < kMostAllocations; ++allowed) {
        std::unique_ptr<CKivObject> copy;
        bool refused = false;
        {
            kfxtest::FailingAllocation fail(allowed);
            copy.reset(source.MakeCopy());
            refused = fail.Refused();
        }
        if (refused) {
            EXPECT_EQ(copy, nullptr) << "allocation " << allowed << " refused";
            continue;
        }
        ASSERT_TRUE(copy);
        EXPECT_EQ(copy->Compare(&source), 0);
        // Without the small-object pool the copy and its arrays each need memory; with it,
        // the copy may come from blocks an earlier test freed, and only the arrays must.
        EXPECT_GT(allowed, KivPoolIsPooling() ? 0 : 1) << "the copy and its arrays each need memory";
        return;
    }
    ADD_FAILURE() << "MakeCopy never succeeded";
}

// Runs f with every allocation refused; true when it raised CMemoryException. (Expectations
// are checked outside, since reporting a failure needs memory.)
template <class F>
bool RaisesMemoryExceptionWithoutMemory(F f) {
    kfxtest::FailingAllocation fail(0);
    try {
        f();
    } catch (const CMemoryException&) {
        return true;
    }
    return false;
}

}  // namespace

TEST(OutOfMemory, MakeCopyOfKeyframesWithArraysIsNullAtEveryFailure) {
    CKivSoftFXGrowKeyFrm grow;
    grow.Points1.Add(CPoint(1, 2));
    grow.Ints2.Add(3);
    grow.ArrayRects1.Add(CRect(0, 0, 4, 4));
    ExpectMakeCopyFailsCleanlyAtEveryAllocation(grow);

    CKivSoftFXAlphaKeyFrm alpha;
    for (double v : {0.25, 0.5, 0.75}) alpha.ShadeColor.Add(v);
    ExpectMakeCopyFailsCleanlyAtEveryAllocation(alpha);
}

TEST(OutOfMemory, MakeCopyOfAColourFlowObjectIsNullAtEveryFailure) {
    CKivEffectColorFlowObj flow;
    flow.FlowSpeed = 2;
    ASSERT_EQ(flow.Open(), 1);
    ExpectMakeCopyFailsCleanlyAtEveryAllocation(flow);
}

TEST(OutOfMemory, AlphaListLoadsStopWithTheMemoryExceptionAndAConsistentList) {
    CKivSoftFXAlphaKeyFrm source;
    for (double v : {0.25, 0.5, 0.75, 1.0, 1.25, 1.5}) source.ShadeColor.Add(v);  // more than the first capacity

    CKivXMLDOMDocObj doc;
    ASSERT_TRUE(doc.LoadXMLUtf8(kfxtest::StoreXml(source)));
    CKivSoftFXAlphaKeyFrm fromXml;
    EXPECT_TRUE(RaisesMemoryExceptionWithoutMemory([&] { fromXml.SerializeXML(&doc, doc.GetRootNode()); }));
    EXPECT_TRUE(fromXml.ShadeColor.IsEmpty());

    std::vector<BYTE> bytes = kfxtest::StoreBytes(source);
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    CKivSoftFXAlphaKeyFrm fromArchive;
    fromArchive.ShadeColor.Add(9.0);
    EXPECT_TRUE(RaisesMemoryExceptionWithoutMemory([&] { fromArchive.Serialize(ar); }));
    ASSERT_EQ(fromArchive.ShadeColor.GetSize(), 1) << "the list that could not grow is as it was";
    EXPECT_EQ(fromArchive.ShadeColor[0], 9.0);
}

TEST(OutOfMemory, GrowingAnArrayRaisesTheFrameworksMemoryException) {
    CKivSoftFXStepBlurKeyFrm source, target;
    source.Doubles1.Add(1.5);
    EXPECT_TRUE(RaisesMemoryExceptionWithoutMemory([&] { target = source; }));
    EXPECT_TRUE(RaisesMemoryExceptionWithoutMemory([&] { target.Bytes1.Add(1); }));
    EXPECT_TRUE(target.Doubles1.IsEmpty()) << "the array that could not grow is as it was";
}

TEST(OutOfMemory, ShineOpenReportsFailureAndStaysClosed) {
    CKivEffectShineLightObj shine;
    int opened = -1;
    {
        kfxtest::FailingAllocation fail(0);
        opened = shine.Open();
    }
    EXPECT_EQ(opened, 0);
    EXPECT_FALSE(shine.ShineTable);
}
