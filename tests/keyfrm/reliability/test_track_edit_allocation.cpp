// Editing and sampling tracks, and the list functions, with allocation N failing for every N
// the operation needs. Each operation either completes as it does with memory to spare or
// raises CMemoryException, and then the track holds the same keyframe objects in the same
// order with the same values and selection; the samplers may instead leave the samples made
// so far in the caller's list. Nothing leaks either way. Operations said to allocate
// nothing are held to that.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ReliabilityChecks.h"
#include "keyfrm/core/KivFXKeyFrmList.h"
#include "keyfrm/tracks/KivFXTracks.h"

using kfxrel::Raised;

namespace {

// What an operation promises when memory runs out.
enum class Promise {
    allocatesNothing,  // cannot fail: not a single allocation
    neverFails,        // allocates, but manages without (the evaluation cache)
    unchanged,         // completes, or raises with the track exactly as it was
    samples,           // the track as it was; out holds only samples the sampler made
    evenSamples,       // the same, and the samples made are at their constructor defaults
};

// Room for the answers a query records without allocating.
constexpr size_t kMostResults = 256;

// What an operation is handed besides its track, all made before allocations may fail.
template <class Track, class K>
struct Scratch {
    CObList out;                                     // a sampler's output
    std::unique_ptr<K> spare = std::make_unique<K>();  // a keyframe to insert, the caller's until then
    std::unique_ptr<Track> source;                   // what an assignment copies
    std::vector<double> results;                     // what a query answers, room made beforehand

    Scratch() { results.reserve(kMostResults); }
    ~Scratch() {
        while (!out.IsEmpty()) delete out.RemoveHead();
    }
};

template <class Track, class K>
struct Edit {
    const char* name;
    Promise promise;
    std::function<void(Track&, Scratch<Track, K>&)> run;
};

// A track's observable state: its elements by identity, their selection, and its values.
template <class Track>
struct State {
    std::vector<const CObject*> elements;
    std::vector<int> selected;
    std::unique_ptr<Track> values = std::make_unique<Track>();

    explicit State(const Track& t) {
        for (POSITION pos = t.GetHeadPosition(); pos;) {
            const CObject* o = t.GetNext(pos);
            elements.push_back(o);
            selected.push_back(static_cast<const CKivFXBaseKeyFrm*>(o)->IsSelect());
        }
        *values = t;
    }
    bool SameValues(const State& other) const { return selected == other.selected && values->Compare(other.values.get()) == 0; }
    bool SameObjects(const State& other) const { return elements == other.elements && SameValues(other); }
};

// The samples a sampler left in out, as copies.
std::unique_ptr<CKivObList> CopiesOf(const CObList& out) {
    auto copies = std::make_unique<CKivObList>();
    for (POSITION pos = out.GetHeadPosition(); pos;) copies->AddTail(static_cast<CKivObject*>(out.GetNext(pos))->MakeCopy());
    return copies;
}

// How one run with allocation `allowed` failing went.
struct Run {
    kfxrel::LoadOutcome outcome;
    bool refused = false;          // an allocation was refused
    bool asWithMemory = false;     // completed: the track (and samples) as the clean run left them
    bool asBefore = false;         // raised: the track exactly as before the call
    bool formerLetGo = false;      // the sampler took the caller's former element out of out, undestroyed
    bool onlySamples = true;       // out holds nothing but samples of the track's keyframe class
    bool samplesAtDefaults = true; // ... each equal to a new keyframe of that class
};

template <class Track, class K>
class EditUnderFailure {
public:
    EditUnderFailure(std::function<std::unique_ptr<Track>()> make, const Edit<Track, K>& edit) : m_make(std::move(make)), m_edit(edit) {}

    // The clean run: the state it leaves and the allocations it makes (after one run that
    // fills what is kept once per process).
    long Prepare() {
        Once(-1);
        long attempts = 0;
        auto [track, scratch] = Fresh();
        {
            const kfxtest::FailingAllocation count(-1);
            m_edit.run(*track, *scratch);
            attempts = count.Attempts();
        }
        m_after = std::make_unique<State<Track>>(*track);
        m_samples = CopiesOf(scratch->out);
        m_results = scratch->results;
        return attempts;
    }

    Run Once(long allowed) {
        Run run;
        run.outcome = kfxrel::RunLoad([&] {
            auto [track, scratch] = Fresh();
            const State<Track> before(*track);
            CObject* former = new CKivFXValueKeyFrm;  // in out as a caller's element would be
            scratch->out.AddTail(former);
            const auto check = [&](bool raised) {
                const POSITION at = scratch->out.Find(former);
                run.formerLetGo = !at;
                if (at) scratch->out.RemoveAt(at);
                delete former;
                const K fresh;
                for (POSITION pos = scratch->out.GetHeadPosition(); pos;) {
                    const CObject* o = scratch->out.GetNext(pos);
                    run.onlySamples &= o->IsKindOf(K::GetThisClass());
                    run.samplesAtDefaults &= run.onlySamples && static_cast<const K*>(o)->Compare(&fresh) == 0;
                }
                if (raised) {
                    run.asBefore = State<Track>(*track).SameObjects(before);
                } else if (m_after) {
                    run.asWithMemory = State<Track>(*track).SameValues(*m_after) && CopiesOf(scratch->out)->Compare(m_samples.get()) == 0 &&
                                       scratch->results == m_results;
                }
            };
            try {
                const kfxtest::FailingAllocation fail(allowed);
                const struct Note {
                    Run& run;
                    const kfxtest::FailingAllocation& fail;
                    ~Note() { run.refused = fail.Refused(); }
                } note{run, fail};
                m_edit.run(*track, *scratch);
            } catch (const CMemoryException&) {
                check(true);
                throw;
            }
            check(false);
        });
        if (allowed >= 0) ++kfxrel::InjectionCount();
        return run;
    }

private:
    std::pair<std::unique_ptr<Track>, std::unique_ptr<Scratch<Track, K>>> Fresh() {
        auto scratch = std::make_unique<Scratch<Track, K>>();
        scratch->source = m_make();
        scratch->source->DeleteHead();  // another track to copy: one keyframe fewer
        return {m_make(), std::move(scratch)};
    }

    std::function<std::unique_ptr<Track>()> m_make;
    const Edit<Track, K>& m_edit;
    std::unique_ptr<State<Track>> m_after;
    std::unique_ptr<CKivObList> m_samples;
    std::vector<double> m_results;
};

template <class Track, class K>
void ExpectEveryAllocationHandled(const char* fixture, std::function<std::unique_ptr<Track>()> make,
                                  const std::vector<Edit<Track, K>>& edits) {
    for (const Edit<Track, K>& edit : edits) {
        SCOPED_TRACE(std::string(fixture) + ", " + edit.name);
        EditUnderFailure<Track, K> under(make, edit);
        const long attempts = under.Prepare();
        if (edit.promise == Promise::allocatesNothing) {
            EXPECT_EQ(attempts, 0) << "said to allocate nothing";
        }
        for (long allowed = 0; allowed < attempts; ++allowed) {
            const Run run = under.Once(allowed);
            const std::string at = "allocation " + std::to_string(allowed) + " of " + std::to_string(attempts);
            ASSERT_EQ(run.outcome.leaked, 0) << at << ": " << run.outcome;
            ASSERT_TRUE(run.outcome.raised == Raised::nothing || run.outcome.raised == Raised::memory) << at << ": " << run.outcome;
            ASSERT_TRUE(run.onlySamples) << at << ": out holds something the sampler did not make";
            if (edit.promise == Promise::samples || edit.promise == Promise::evenSamples) {
                ASSERT_TRUE(run.formerLetGo) << at << ": out was emptied first";
            }
            if (run.outcome.raised == Raised::nothing) {
                ASSERT_TRUE(run.asWithMemory) << at << ": completed, so as with memory to spare";
                continue;
            }
            ASSERT_TRUE(run.refused) << at;
            ASSERT_NE(edit.promise, Promise::neverFails) << at << ": " << run.outcome;
            ASSERT_TRUE(run.asBefore) << at << ": the same keyframes, order, values and selection as before the call";
            if (edit.promise == Promise::evenSamples) {
                ASSERT_TRUE(run.samplesAtDefaults) << at << ": nothing is filled before every sample is made";
            }
        }
    }
}

// ---- the fixtures: ten keyframes fill the list's first block of nodes, so that adding one
// more needs a new block; every third is selected ----

constexpr int kKeys = 10;
constexpr int kShuffled[kKeys] = {3, 7, 0, 9, 1, 5, 2, 8, 4, 6};

double LocationOf(int i) { return i / static_cast<double>(kKeys - 1); }
int FrameOf(int i) { return i * 10; }

template <class Track, class Fill>
std::unique_ptr<Track> Keyed(bool shuffled, Fill fill) {
    auto t = std::make_unique<Track>();
    for (int n = 0; n < kKeys; ++n) {
        const int i = shuffled ? kShuffled[n] : n;
        auto* k = fill(*t, i);
        k->Location = LocationOf(i);
        k->Frame = FrameOf(i);
        k->SetSelect(i % 3 == 0);
    }
    return t;
}

std::unique_ptr<CKivFXInsKeyFrmList> ScalarTrack(bool shuffled) {
    auto t = Keyed<CKivFXInsKeyFrmList>(shuffled, [](CObList& list, int i) {
        auto* k = new CKivFXValueKeyFrm;
        k->Value = static_cast<float>(i * i);
        k->PtFore = {-1.0f, -0.05};
        k->PtAfter = {2.0f, 0.05};
        list.AddTail(k);
        return k;
    });
    t->InsMode = shuffled ? 1 : 0;  // the shuffled track is a frame-based Bezier curve
    t->BaseOnFrame = shuffled ? 1 : 0;
    return t;
}

std::unique_ptr<CKivFXPosiKeyFrmList> PositionTrack(bool shuffled) {
    auto t = Keyed<CKivFXPosiKeyFrmList>(shuffled, [](CObList& list, int i) {
        auto* k = new CKivFXPosiKeyFrm;
        k->PosiX = static_cast<float>(i);
        k->PosiY = static_cast<float>(-2 * i);
        k->PosiZ = static_cast<float>(i * i);
        k->After = {1.0f, 0.5f, 0.0f};
        list.AddTail(k);
        return k;
    });
    t->InsMode = shuffled ? 1 : 0;
    t->BaseOnFrame = shuffled ? 1 : 0;
    return t;
}

std::unique_ptr<CKivFXColor32KeyFrmList> ColourTrack(bool shuffled) {
    return Keyed<CKivFXColor32KeyFrmList>(shuffled, [](CObList& list, int i) {
        auto* k = new CKivFXColor32KeyFrm;
        k->Color = 0xFF000000u | static_cast<DWORD>(i * 0x1A2B3C);
        list.AddTail(k);
        return k;
    });
}

std::unique_ptr<CKivObList> PlainList(bool shuffled) {
    return Keyed<CKivObList>(shuffled, [](CObList& list, int) {
        auto* k = new CKivFXValueKeyFrm;
        list.AddTail(k);
        return k;
    });
}

// ---- the operations ----

constexpr double kNewLocation = 0.55;  // between two keyframes of the fixtures
constexpr int kNewFrame = 55;
constexpr ULONG kEvenSamples = 37;

// What every kind of list shares: the list functions, deletion, assignment.
template <class Track, class K>
std::vector<Edit<Track, K>> ListEdits() {
    using S = Scratch<Track, K>;
    return {
        {"KivFXKeyFrmTaxisList", Promise::unchanged, [](Track& t, S&) { KivFXKeyFrmTaxisList(&t); }},
        {"KivFXKeyFrmTryInsertKF", Promise::unchanged,
         [](Track& t, S& s) {
             s.spare->Location = kNewLocation;
             if (KivFXKeyFrmTryInsertKF(&t, s.spare.get())) s.spare.release();
         }},
        {"ReverseList", Promise::allocatesNothing, [](Track& t, S&) { t.ReverseList(); }},
        {"DeleteAll", Promise::allocatesNothing, [](Track& t, S&) { t.DeleteAll(); }},
        {"assignment", Promise::unchanged, [](Track& t, S& s) { t = *s.source; }},
    };
}

// What the three tracks share: selection, deletion, setting and adding by location, evaluation.
template <class Track, class K, class Set>
std::vector<Edit<Track, K>> TrackEdits(Set setAt) {
    using S = Scratch<Track, K>;
    std::vector<Edit<Track, K>> edits = ListEdits<Track, K>();
    std::vector<Edit<Track, K>> more = {
        {"DeleteKeyFrm", Promise::allocatesNothing, [](Track& t, S&) { t.DeleteKeyFrm(t.GetFXKeyFrm(4)); }},
        {"DeleteSelectKeyFrm", Promise::allocatesNothing, [](Track& t, S&) { t.DeleteSelectKeyFrm(); }},
        {"SetSelectKF and UnSelectKF", Promise::allocatesNothing,
         [](Track& t, S&) {
             t.SetSelectKF(t.GetFXKeyFrm(5), 1);
             t.UnSelectKF();
         }},
        {"SendKeyFrmValue where a keyframe is", Promise::allocatesNothing, [setAt](Track& t, S&) { setAt(t, LocationOf(2)); }},
        {"SendKeyFrmValue at a new location", Promise::unchanged, [setAt](Track& t, S&) { setAt(t, kNewLocation); }},
        {"AddKeyFrm at a location", Promise::unchanged, [](Track& t, S&) { t.AddKeyFrm(kNewLocation); }},
        {"BuildInsValueKF evenly", Promise::evenSamples, [](Track& t, S& s) { t.BuildInsValueKF(&s.out, kEvenSamples); }},
    };
    edits.insert(edits.end(), more.begin(), more.end());
    return edits;
}

// What the scalar and position tracks add: frames, and the per-frame sampler.
template <class Track, class K, class SetFrame>
void AddFrameEdits(std::vector<Edit<Track, K>>& edits, SetFrame setAt) {
    using S = Scratch<Track, K>;
    std::vector<Edit<Track, K>> more = {
        {"SendKeyFrmValue at a new frame", Promise::unchanged, [setAt](Track& t, S&) { setAt(t, kNewFrame); }},
        {"AddKeyFrm at a frame", Promise::unchanged, [](Track& t, S&) { t.AddKeyFrm(kNewFrame); }},
        {"MakeReverse", Promise::allocatesNothing, [](Track& t, S&) { t.MakeReverse(0, FrameOf(kKeys - 1)); }},
        {"OffsetFrame", Promise::allocatesNothing, [](Track& t, S&) { t.OffsetFrame(-7); }},
        {"IsNeedInsKF", Promise::allocatesNothing, [](Track& t, S& s) { s.results.push_back(t.IsNeedInsKF(1)); }},
        {"GetKFMinRange", Promise::unchanged, [](Track& t, S& s) { s.results.push_back(t.GetKFMinRange()); }},
        {"BuildInsValueKF by frames", Promise::samples, [](Track& t, S& s) { t.BuildInsValueKF(&s.out, 95, -3); }},
    };
    edits.insert(edits.end(), more.begin(), more.end());
}

}  // namespace

TEST(TrackEditsWithoutMemory, ScalarTrack) {
    using T = CKivFXInsKeyFrmList;
    using K = CKivFXValueKeyFrm;
    auto edits = TrackEdits<T, K>([](T& t, double x) { t.SendKeyFrmValue(x, 42.0f); });
    AddFrameEdits<T, K>(edits, [](T& t, int f) { t.SendKeyFrmValue(f, 42.0f); });
    edits.push_back({"ZoomRangeValue", Promise::allocatesNothing, [](T& t, Scratch<T, K>&) { t.ZoomRangeValue(1.5f); }});
    edits.push_back({"InsValue", Promise::neverFails, [](T& t, Scratch<T, K>& s) {
                         for (int i = -1; i <= 2 * kKeys; ++i) {
                             s.results.push_back(t.InsValue(i / (2.0 * (kKeys - 1))));
                             s.results.push_back(t.InsValue(i * 5));
                         }
                     }});
    ExpectEveryAllocationHandled<T, K>("in order", [] { return ScalarTrack(false); }, edits);
    ExpectEveryAllocationHandled<T, K>("shuffled", [] { return ScalarTrack(true); }, edits);
}

TEST(TrackEditsWithoutMemory, PositionTrack) {
    using T = CKivFXPosiKeyFrmList;
    using K = CKivFXPosiKeyFrm;
    auto edits = TrackEdits<T, K>([](T& t, double x) { t.SendKeyFrmValue(x, 1.0f, 2.0f, 3.0f); });
    AddFrameEdits<T, K>(edits, [](T& t, int f) { t.SendKeyFrmValue(f, 1.0f, 2.0f, 3.0f); });
    edits.push_back({"OffsetPosi", Promise::allocatesNothing, [](T& t, Scratch<T, K>&) { t.OffsetPosi(1.0f, -1.0f, 0.5f); }});
    ExpectEveryAllocationHandled<T, K>("in order", [] { return PositionTrack(false); }, edits);
    ExpectEveryAllocationHandled<T, K>("shuffled", [] { return PositionTrack(true); }, edits);
}

TEST(TrackEditsWithoutMemory, ColourTrack) {
    using T = CKivFXColor32KeyFrmList;
    using K = CKivFXColor32KeyFrm;
    auto edits = TrackEdits<T, K>([](T& t, double x) { t.SendKeyFrmValue(x, BYTE{1}, BYTE{2}, BYTE{3}, BYTE{4}); });
    ExpectEveryAllocationHandled<T, K>("in order", [] { return ColourTrack(false); }, edits);
    ExpectEveryAllocationHandled<T, K>("shuffled", [] { return ColourTrack(true); }, edits);
}

TEST(TrackEditsWithoutMemory, ListFunctionsOnAPlainList) {
    using T = CKivObList;
    using K = CKivFXValueKeyFrm;
    const auto edits = ListEdits<T, K>();
    ExpectEveryAllocationHandled<T, K>("in order", [] { return PlainList(false); }, edits);
    ExpectEveryAllocationHandled<T, K>("shuffled", [] { return PlainList(true); }, edits);
}
