// Running out of memory: growing an array raises CMemoryException, MakeCopy turns it into
// null, Open reports 0, and nothing leaks (the sanitizer build checks that part).
#include <gtest/gtest.h>

#include <memory>

#include "support/FailingAllocation.h"
#include "keyfrm/effectobj/KivFXEffectObj.h"
#include "keyfrm/softfx/KivFXSoft.h"
#include "kivbase/KivXMLDOMDoc.h"
#include "support/ArchiveBytes.h"

namespace {

// Counts the allocations one MakeCopy makes (the copy then equals the source), then makes a
// copy with each of them refused in turn: every such copy is null. Counting first keeps the test apart from what ran before (a pool warmed by
// earlier tests serves some blocks without asking operator new).
void ExpectMakeCopyFailsCleanlyAtEveryAllocation(const CKivObject& source) {
    { const std::unique_ptr<CKivObject> warm(source.MakeCopy()); }  // fills any pool the copy draws on
    long attempts = 0;
    {
        std::unique_ptr<CKivObject> copy;
        {
            kfxtest::FailingAllocation count(-1);
            copy.reset(source.MakeCopy());
            attempts = count.Attempts();
        }
        ASSERT_TRUE(copy);
        EXPECT_EQ(copy->Compare(&source), 0);
    }
    ASSERT_GT(attempts, 0) << "the copy's arrays need memory";
    for (long allowed = 0; allowed < attempts; ++allowed) {
        std::unique_ptr<CKivObject> copy;
        bool refused = false;
        {
            kfxtest::FailingAllocation fail(allowed);
            copy.reset(source.MakeCopy());
            refused = fail.Refused();
        }
        EXPECT_TRUE(refused) << "allocation " << allowed << " of " << attempts;
        EXPECT_EQ(copy, nullptr) << "allocation " << allowed << " of " << attempts << " refused";
    }
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
