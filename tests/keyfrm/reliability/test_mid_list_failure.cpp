// A failure after three good keyframes, in every list class and both formats: the three
// stay in the list (owned by it, equal to what was stored, not leaked), and the list stays
// usable: it stores and loads back, takes more keyframes and lets them go.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ReliabilityChecks.h"
#include "fuzz/common/KivFuzzTargets.h"
#include "keyfrm/core/KivFXKeyFrmList.h"
#include "platform/fw/ArchiveTestUtil.h"

using kfxrel::ClassParam;
using kfxrel::RefusedWith;
using kfxrel::RunLoad;

namespace {

std::unique_ptr<CKivObList> SampleList(const CRuntimeClass* cls) {
    std::unique_ptr<CObject> sample = KivFuzzSample(cls);
    return std::unique_ptr<CKivObList>(static_cast<CKivObList*>(sample.release()));
}

// What a list holding keyframes (at least three) checks after a refused load.
struct AfterFailure {
    INT_PTR count = -1;
    bool sameKeyframes = false;
    bool tookOneMore = false;
};

void Inspect(CKivObList& loaded, const CKivObList& stored, AfterFailure& out) {
    out.count = loaded.GetCount();
    out.sameKeyframes = true;
    for (POSITION a = loaded.GetHeadPosition(), b = stored.GetHeadPosition(); a && b;)
        if (KivFuzzCompare(*loaded.GetNext(a), *stored.GetNext(b)) != 0) out.sameKeyframes = false;
    KivFuzzExpectArchiveRoundTrip(loaded);
    // A copy of the first keyframe goes in and the list lets it go again.
    std::unique_ptr<CKivObject> extra(static_cast<const CKivObject*>(stored.GetHead())->MakeCopy());
    if (KivFXKeyFrmTryInsertKF(&loaded, static_cast<CKivFXBaseKeyFrm*>(extra.get()))) {
        extra.release();
        out.tookOneMore = loaded.GetCount() == out.count + 1;
    }
    loaded.DeleteAll();
}

class MidListFailure : public testing::TestWithParam<ClassParam> {};

}  // namespace

TEST_P(MidListFailure, ArchiveKeepsTheThreeGoodKeyframes) {
    const std::unique_ptr<CKivObList> stored = SampleList(GetParam().cls);
    ASSERT_EQ(stored->GetCount(), 3) << "the sample holds three keyframes";
    // The list's elements as a plain list writes them, one more announced, and an element
    // of a class no program knows.
    CKivObList plain;
    for (POSITION pos = stored->GetHeadPosition(); pos;) plain.AddTail(stored->GetNext(pos));
    Bytes bytes = KivFuzzStoreRecord(plain);
    plain.RemoveAll();  // the sample keeps ownership
    bytes[0] = 4;
    bytes = bytes + Words({0xFFFF, 0, 3}) + Text("Bad") + Words({0});

    AfterFailure after;
    const auto outcome = RunLoad([&] {
        const std::unique_ptr<CKivObList> loaded = SampleList(GetParam().cls);
        loaded->DeleteAll();
        try {
            KivFuzzLoadRecord(*loaded, bytes);
        } catch (const CArchiveException&) {
            Inspect(*loaded, *stored, after);
            throw;
        }
    });
    EXPECT_TRUE(RefusedWith(outcome, CArchiveException::badClass));
    EXPECT_EQ(after.count, 3);
    EXPECT_TRUE(after.sameKeyframes);
    EXPECT_TRUE(after.tookOneMore);
}

TEST_P(MidListFailure, XmlKeepsTheThreeGoodKeyframes) {
    const std::unique_ptr<CKivObList> stored = SampleList(GetParam().cls);
    ASSERT_EQ(stored->GetCount(), 3) << "the sample holds three keyframes";
    std::string xml = KivFuzzStoreXml(*stored);
    const size_t end = xml.rfind("</CKivObList>");
    ASSERT_NE(end, std::string::npos);
    xml.insert(end, "<Item Class=\"Bad\" />");

    AfterFailure after;
    const auto outcome = RunLoad([&] {
        const std::unique_ptr<CKivObList> loaded = SampleList(GetParam().cls);
        loaded->DeleteAll();
        CKivXMLDOMDocObj doc;
        if (!doc.LoadXMLUtf8(xml)) return;
        try {
            KivFuzzSerializeXML(*loaded, &doc, doc.GetRootNode());
        } catch (const CArchiveException&) {
            Inspect(*loaded, *stored, after);
            throw;
        }
    });
    EXPECT_TRUE(RefusedWith(outcome, CArchiveException::badClass));
    EXPECT_EQ(after.count, 3);
    EXPECT_TRUE(after.sameKeyframes);
    EXPECT_TRUE(after.tookOneMore);
}

INSTANTIATE_TEST_SUITE_P(EveryList, MidListFailure, testing::ValuesIn(kfxrel::ListClasses()), kfxrel::ParamName);
