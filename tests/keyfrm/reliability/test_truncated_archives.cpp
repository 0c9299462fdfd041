// Every truncated prefix of a valid archive, for every registered class and for a whole
// project: exactly one end-of-file exception, nothing leaked, and an object that was
// loading into stays usable (it stores and loads back equal).
#include <gtest/gtest.h>

#include <memory>

#include "KfxProject.h"
#include "ReliabilityChecks.h"
#include "fuzz/common/KivFuzzTargets.h"
#include "platform/fw/ArchiveTestUtil.h"

using kfxrel::ClassParam;
using kfxrel::RefusedWith;
using kfxrel::RunLoad;

namespace {

Bytes Prefix(const Bytes& full, size_t n) { return Bytes(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n)); }

class TruncatedArchive : public testing::TestWithParam<ClassParam> {};

}  // namespace

TEST_P(TruncatedArchive, EveryPrefixOfAStoredObjectIsEndOfFile) {
    const std::unique_ptr<CObject> sample = KivFuzzSample(GetParam().cls);
    const Bytes full = KivFuzzStoreObject(sample.get());
    for (size_t n = 0; n < full.size(); ++n) {
        const Bytes prefix = Prefix(full, n);
        const auto outcome = RunLoad([&] {
            ArchiveReader reader(prefix);
            std::unique_ptr<CObject> object(reader.ar().ReadObject(nullptr));
        });
        ASSERT_TRUE(RefusedWith(outcome, CArchiveException::endOfFile)) << n << " of " << full.size() << " bytes";
    }
}

TEST_P(TruncatedArchive, EveryPrefixOfARecordIsEndOfFileAndLeavesTheObjectUsable) {
    const std::unique_ptr<CObject> sample = KivFuzzSample(GetParam().cls);
    const Bytes full = KivFuzzStoreRecord(*sample);
    for (size_t n = 0; n < full.size(); ++n) {
        const Bytes prefix = Prefix(full, n);
        const auto outcome = RunLoad([&] {
            const std::unique_ptr<CObject> target = KivFuzzCreate(GetParam().cls);
            try {
                KivFuzzLoadRecord(*target, prefix);
            } catch (const CArchiveException&) {
                KivFuzzExpectArchiveRoundTrip(*target);  // what was read so far is a valid object
                throw;
            }
        });
        ASSERT_TRUE(RefusedWith(outcome, CArchiveException::endOfFile)) << n << " of " << full.size() << " bytes";
    }
}

INSTANTIATE_TEST_SUITE_P(EveryClass, TruncatedArchive, testing::ValuesIn(kfxrel::AllClasses()), kfxrel::ParamName);

TEST(TruncatedProject, EveryPrefixFailsToLoadNamingTheEndOfFileAndLeavesTheProjectEmpty) {
    const std::unique_ptr<CKivObList> project = KivFuzzSampleProject();
    const Bytes full = KfxSaveBytes("project.kfa", KfxFormat::archive, *project);
    for (size_t n = 0; n < full.size(); ++n) {
        const Bytes prefix = Prefix(full, n);
        bool emptied = false;
        const auto outcome = RunLoad([&] {
            CKivObList list;
            try {
                KfxLoadBytes("project.kfa", KfxFormat::archive, prefix, list);
            } catch (const KfxError&) {
                emptied = list.IsEmpty();
                throw;
            }
        });
        ASSERT_EQ(outcome.raised, kfxrel::Raised::other) << n << " of " << full.size() << " bytes: " << outcome;
        ASSERT_NE(std::strstr(outcome.message, "project.kfa: archive error endOfFile"), nullptr) << outcome;
        ASSERT_EQ(outcome.leaked, 0) << outcome;
        ASSERT_TRUE(emptied) << n << " bytes";
    }
}
