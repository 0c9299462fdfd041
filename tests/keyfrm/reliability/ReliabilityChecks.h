// What every case of the bad-input matrix checks: the one exception a load raised (its
// type and cause) and that the load left nothing allocated behind; plus the classes the
// matrix runs over, as gtest parameters.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "fuzz/common/KivFuzzSamples.h"
#include "kivbase/persist/KivPersist.h"
#include "platform/fw/CArchive.h"
#include "support/FailingAllocation.h"

namespace kfxrel {

enum class Raised { nothing, archive, memory, other };

/// What one load did.
struct LoadOutcome {
    Raised raised = Raised::nothing;
    int cause = -1;           // the archive exception's cause
    long leaked = 0;          // operator-new blocks the load left alive
    char message[240] = {};   // fixed storage: measuring must not allocate
};

/// Cases run so far by this program (for the totals the reliability report quotes).
long& CaseCount();
/// Loads run with an allocation made to fail, so far.
long& InjectionCount();

namespace detail {

inline void Keep(const char* text, char (&out)[240]) {
    std::strncpy(out, text, sizeof out - 1);
    out[sizeof out - 1] = '\0';
}

template <class F>
LoadOutcome RunOnce(F& load) {
    LoadOutcome out;
    const long before = kfxtest::LiveAllocations();
    try {
        load();
    } catch (const CArchiveException& e) {
        out.raised = Raised::archive;
        out.cause = e.m_cause;
        Keep(e.what(), out.message);
    } catch (const CMemoryException& e) {
        out.raised = Raised::memory;
        Keep(e.what(), out.message);
    } catch (const std::exception& e) {
        out.raised = Raised::other;
        Keep(e.what(), out.message);
    }
    out.leaked = kfxtest::LiveAllocations() - before;
    return out;
}

}  // namespace detail

/// Runs load twice and reports the second run: the first fills what the library keeps once
/// per process (class names for the version converter, member offsets), which is no leak.
/// load creates and destroys every object it uses.
template <class F>
LoadOutcome RunLoad(F load) {
    ++CaseCount();
    detail::RunOnce(load);
    return detail::RunOnce(load);
}

inline std::ostream& operator<<(std::ostream& os, const LoadOutcome& o) {
    static const char* const kRaised[] = {"nothing", "CArchiveException", "CMemoryException", "another exception"};
    os << kRaised[static_cast<int>(o.raised)];
    if (o.raised == Raised::archive) os << " (" << CArchiveException::CauseName(o.cause) << ")";
    if (o.message[0]) os << " \"" << o.message << "\"";
    return os << ", " << o.leaked << " block(s) left allocated";
}

/// Exactly a CArchiveException of that cause, and nothing left allocated.
inline testing::AssertionResult RefusedWith(const LoadOutcome& o, int cause) {
    if (o.raised == Raised::archive && o.cause == cause && o.leaked == 0) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "expected CArchiveException (" << CArchiveException::CauseName(cause)
                                       << ") and no leak, got " << o;
}

/// No exception, and nothing left allocated.
inline testing::AssertionResult Accepted(const LoadOutcome& o) {
    if (o.raised == Raised::nothing && o.leaked == 0) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "expected a clean load, got " << o;
}

struct ClassParam {
    const CRuntimeClass* cls;
};
inline void PrintTo(const ClassParam& p, std::ostream* os) { *os << p.cls->m_lpszClassName; }
inline std::string ParamName(const testing::TestParamInfo<ClassParam>& info) { return info.param.cls->m_lpszClassName; }

inline std::vector<ClassParam> Params(const std::vector<const CRuntimeClass*>& classes) {
    std::vector<ClassParam> out;
    for (const CRuntimeClass* cls : classes) out.push_back({cls});
    return out;
}

/// Classes of AllClasses for which keep is true.
inline std::vector<ClassParam> ClassesWhere(bool (*keep)(const CRuntimeClass*)) {
    std::vector<ClassParam> out;
    for (const CRuntimeClass* cls : KivFuzzAllClasses())
        if (keep(cls)) out.push_back({cls});
    return out;
}

/// What any load may allocate whatever the data says: the object being read and small
/// bookkeeping, never anything sized by a count or length taken from the file.
constexpr size_t kMostBytesForBookkeeping = 4096;

/// The last stored field of the class's own level, or null.
inline const KivFieldDef* LastStoredField(const CRuntimeClass* cls) {
    const KivClassLevel* level = KivFindLevel(cls);
    if (!level) return nullptr;
    const KivFieldDef* last = nullptr;
    for (const KivFieldDef& f : level->fields)
        if (f.IsStored()) last = &f;
    return last;
}

/// The class's record ends with a list stored in the class's own form (a count, values).
inline bool EndsWithOwnFormList(const CRuntimeClass* cls) {
    const KivFieldDef* f = LastStoredField(cls);
    return f && (f->flags & kKivFieldOwnFormat) && f->member == KivMember::custom;
}

/// The class's record ends with a wide string.
inline bool EndsWithText(const CRuntimeClass* cls) {
    const KivFieldDef* f = LastStoredField(cls);
    return f && f->enc == KivEnc::wstr;
}

/// Every registered class, lists included; every list class; every non-list class.
inline std::vector<ClassParam> AllClasses() { return Params(KivFuzzAllClasses()); }
inline std::vector<ClassParam> ListClasses() { return Params(KivFuzzListClasses()); }
inline std::vector<ClassParam> ObjectClasses() { return Params(KivFuzzObjectClasses()); }

}  // namespace kfxrel
