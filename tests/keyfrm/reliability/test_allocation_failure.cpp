// Running out of memory at every allocation of a load: a project holding a sample of every
// registered class (tracks included once lists hold them) is loaded from both formats with
// the Nth allocation failing, for every N up to the load's allocation count. Each run
// raises the framework's memory exception (never std::bad_alloc), leaves the list usable
// and leaks nothing; copies made by MakeCopy and list assignment fail the same way.
#include <gtest/gtest.h>

#include <memory>

#include "ReliabilityChecks.h"
#include "fuzz/common/KivFuzzTargets.h"
#include "platform/fw/ArchiveTestUtil.h"

using kfxrel::ClassParam;
using kfxrel::Raised;
using kfxrel::RunLoad;

namespace {

// How a load failing at allocation N went.
struct InjectedRun {
    kfxrel::LoadOutcome outcome;
    bool refused = false;  // the allocation was refused (else the load needed fewer)
};

// Calls f when it goes out of scope, however the scope is left.
template <class F>
struct OnExit {
    F f;
    ~OnExit() { f(); }
};

// Runs load with a fresh list and a `failing` wrapper that load puts around exactly the
// library's call (what the test itself prepares must not meet a refused allocation); the
// first `allowed` allocations inside succeed. After a memory exception the list must
// still store and load back equal.
template <class Load>
InjectedRun RunWithAllowed(long allowed, Load load) {
    InjectedRun run;
    ++kfxrel::InjectionCount();
    run.outcome = RunLoad([&] {
        CKivObList list;
        const auto failing = [&](auto&& call) {
            const kfxtest::FailingAllocation fail(allowed);
            const OnExit note{[&] { run.refused = fail.Refused(); }};  // however the call ends
            call();
        };
        try {
            load(list, failing);
        } catch (const CMemoryException&) {
            KivFuzzExpectArchiveRoundTrip(list);
            throw;
        }
    });
    return run;
}

// Counts the load's allocations, then fails each of them in turn.
template <class Load>
void ExpectMemoryExceptionAtEveryAllocation(Load load, const CKivObList& expected) {
    long attempts = 0;
    {
        CKivObList list;
        load(list, [&](auto&& call) {
            const kfxtest::FailingAllocation count(-1);
            call();
            attempts = count.Attempts();
        });
        EXPECT_EQ(list.Compare(&expected), 0) << "the load without failures gives the project";
    }
    ASSERT_GT(attempts, 0);
    for (long allowed = 0; allowed < attempts; ++allowed) {
        const InjectedRun run = RunWithAllowed(allowed, load);
        if (!run.refused) continue;  // this run took another path needing fewer allocations
        ASSERT_EQ(run.outcome.raised, Raised::memory) << "allocation " << allowed << " of " << attempts << ": " << run.outcome;
        ASSERT_EQ(run.outcome.leaked, 0) << "allocation " << allowed << " of " << attempts << ": " << run.outcome;
    }
}

}  // namespace

TEST(AllocationFailure, EveryAllocationOfAnArchiveLoadRaisesTheMemoryException) {
    const std::unique_ptr<CKivObList> project = KivFuzzSampleProject();
    const Bytes bytes = KivFuzzStoreRecord(*project);
    ExpectMemoryExceptionAtEveryAllocation(
        [&](CKivObList& list, auto failing) {
            ArchiveReader reader(bytes);
            failing([&] { list.Serialize(reader.ar()); });
        },
        *project);
}

TEST(AllocationFailure, EveryAllocationOfAnXmlLoadRaisesTheMemoryException) {
    const std::unique_ptr<CKivObList> project = KivFuzzSampleProject();
    CKivXMLDOMDocObj doc;
    ASSERT_TRUE(doc.LoadXMLUtf8(KivFuzzStoreXml(*project)));
    ExpectMemoryExceptionAtEveryAllocation(
        [&](CKivObList& list, auto failing) { failing([&] { list.SerializeXML(&doc, doc.GetRootNode()); }); }, *project);
}

TEST(AllocationFailure, EveryAllocationOfAnObjectReadRaisesTheMemoryException) {
    const std::unique_ptr<CKivObList> project = KivFuzzSampleProject();
    for (POSITION pos = project->GetHeadPosition(); pos;) {
        const CObject* sample = project->GetNext(pos);
        const Bytes bytes = KivFuzzStoreObject(sample);
        CKivObList expected;
        expected.AddTail(KivFuzzCreate(sample->GetRuntimeClass()).release());
        KivFuzzLoadRecord(*expected.GetHead(), KivFuzzStoreRecord(*const_cast<CObject*>(sample)));
        ExpectMemoryExceptionAtEveryAllocation(
            [&](CKivObList& list, auto failing) {
                ArchiveReader reader(bytes);
                failing([&] {
                    std::unique_ptr<CObject> object(reader.ar().ReadObject(nullptr));
                    list.AddTail(object.get());
                    object.release();
                });
            },
            expected);
    }
}

namespace {

class CopyWithoutMemory : public testing::TestWithParam<ClassParam> {};

}  // namespace

TEST_P(CopyWithoutMemory, MakeCopyIsNullAndListAssignmentRaisesAtEveryAllocation) {
    const std::unique_ptr<CObject> sample = KivFuzzSample(GetParam().cls);
    const bool isList = sample->IsKindOf(RUNTIME_CLASS(CKivObList));
    // One copy first: it fills what the engine keeps once per class (member offsets), which
    // a copy failing half way would otherwise fill a piece at a time, looking like leaks.
    if (isList)
        static_cast<CKivObList&>(*KivFuzzCreate(GetParam().cls)) = static_cast<const CKivObList&>(*sample);
    else
        std::unique_ptr<CKivObject>(static_cast<const CKivObject&>(*sample).MakeCopy());
    for (long allowed = 0;; ++allowed) {
        ++kfxrel::InjectionCount();
        bool refused = false, nullCopy = false, unchanged = false;
        const auto outcome = RunLoad([&] {
            std::unique_ptr<CObject> target = KivFuzzCreate(GetParam().cls);
            const kfxtest::FailingAllocation fail(allowed);
            if (isList) {
                try {
                    static_cast<CKivObList&>(*target) = static_cast<const CKivObList&>(*sample);
                } catch (const CMemoryException&) {
                    refused = fail.Refused();
                    unchanged = static_cast<CKivObList&>(*target).IsEmpty();
                    throw;
                }
            } else {
                std::unique_ptr<CKivObject> copy(static_cast<const CKivObject&>(*sample).MakeCopy());
                nullCopy = !copy;
            }
            refused = fail.Refused();
        });
        if (!refused) {
            EXPECT_TRUE(kfxrel::Accepted(outcome)) << "allowed " << allowed;
            break;
        }
        ASSERT_EQ(outcome.leaked, 0) << "allowed " << allowed << ": " << outcome;
        if (isList) {
            ASSERT_EQ(outcome.raised, Raised::memory) << "allowed " << allowed << ": " << outcome;
            ASSERT_TRUE(unchanged) << "allowed " << allowed << ": the list is as it was";
        } else {
            ASSERT_EQ(outcome.raised, Raised::nothing) << "allowed " << allowed << ": " << outcome;
            ASSERT_TRUE(nullCopy) << "allowed " << allowed;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryClass, CopyWithoutMemory, testing::ValuesIn(kfxrel::AllClasses()), kfxrel::ParamName);
