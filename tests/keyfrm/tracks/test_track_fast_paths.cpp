// The tracks' fast paths against the plain rule on random tracks, sorted and unsorted, with
// equal keys, keys out of range, NaN, foreign elements and edits between calls: the cache
// (filled, sorted or scanning), the per-frame sampler's single pass and the concurrent
// readers' walk must all answer exactly as the reference bracket does, and the reference
// exactly as bracketing with KivFXKeyFrmCalcRangeKF.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <bit>
#include <climits>
#include <cmath>
#include <random>
#include <thread>

#include "TrackBuilders.h"
#include "TrackReference.h"
#include "keyfrm/tracks/CKivFXTrackView.h"
#include "support/FailingAllocation.h"

namespace {

// Enough tracks and probes to meet every shape below many times, yet quick.
constexpr int kTracks = 300;

class RandomTracks {
public:
    explicit RandomTracks(unsigned seed) : m_rng(seed) {}

    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_rng); }
    bool Chance(int percent) { return Int(1, 100) <= percent; }
    float Value() { return static_cast<float>(Int(-400, 400)) / 8.0f; }

    double Location() {
        if (Chance(3)) return std::nan("");
        if (Chance(3)) return Chance(50) ? INFINITY : 2e9;
        return static_cast<double>(Int(-4, 20)) / 16.0;  // -0.25 .. 1.25, often equal
    }

    int Frame() {
        if (Chance(4)) {
            const int far[] = {INT_MIN, -1073741823, 1073741823, INT_MAX, 2000000000};
            return far[Int(0, 4)];
        }
        return Int(-20, 120);
    }

    // A scalar track of 0..40 keyframes, sorted by one key or left as made.
    std::unique_ptr<CKivFXInsKeyFrmList> Scalar() {
        auto t = std::make_unique<CKivFXInsKeyFrmList>();
        t->InsMode = Int(0, 1);
        t->MinValue = Value();
        t->MaxValue = Chance(80) ? t->MinValue + 30.0f : t->MinValue - 5.0f;
        t->DefValue = Value();
        const int sizes[] = {0, 1, 2, 3, 5, 8, 40};
        const int n = sizes[Int(0, 6)];
        for (int i = 0; i < n; ++i) {
            if (Chance(5)) kfxtest::AppendColour(*t, Location(), 0xFF000000u);
            kfxtest::Append(*t, {Location(), Frame(), Value(), Value(), Value()});
        }
        if (Chance(50)) {
            t->SetBaseOnFrame(Int(0, 1));
            KivFXKeyFrmTaxisList(t.get());
        }
        return t;
    }

    std::vector<double> LocationProbes(const CObList& t) {
        std::vector<double> p{-1.0, 0.0, 0.5, 1.0, 1.5, std::nan(""), std::nextafter(1.0, 0.0)};
        std::vector<double> keys;
        for (POSITION pos = t.GetHeadPosition(); pos;)
            keys.push_back(static_cast<CKivFXBaseKeyFrm*>(t.GetNext(pos))->Location);
        for (size_t i = 0; i < keys.size(); ++i) {
            p.push_back(keys[i]);
            p.push_back(std::nextafter(keys[i], 0.0));
            if (i) p.push_back((keys[i] + keys[i - 1]) / 2);
        }
        for (int i = 0; i < 8; ++i) p.push_back(static_cast<double>(Int(-100, 1100)) / 1000.0);
        return p;
    }

    std::vector<int> FrameProbes(const CObList& t) {
        std::vector<int> p{INT_MIN, -1, 0, 50, INT_MAX, -1073741823, 1073741823};
        for (POSITION pos = t.GetHeadPosition(); pos;) {
            const CObject* o = t.GetNext(pos);
            if (!o->IsKindOf(RUNTIME_CLASS(CKivFXInsValueKeyFrm))) continue;
            const int f = static_cast<const CKivFXInsValueKeyFrm*>(o)->Frame;
            p.push_back(f);
            if (f > INT_MIN) p.push_back(f - 1);
            if (f < INT_MAX) p.push_back(f + 1);
        }
        for (int i = 0; i < 8; ++i) p.push_back(Int(-30, 130));
        return p;
    }

private:
    std::mt19937 m_rng;
};

bool Same(float a, float b) { return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b); }

// Every probe twice: the first calls on a snapshot scan, later ones use the sorted keys.
void ExpectScalarMatches(const CKivFXInsKeyFrmList& t, RandomTracks& r, const char* when) {
    const auto locations = r.LocationProbes(t);
    const auto frames = r.FrameProbes(t);
    for (int round = 0; round < 2; ++round) {
        for (double x : locations)
            ASSERT_TRUE(Same(t.InsValue(x), kfxref::ScalarAt(t, x))) << when << ": location " << x << ", " << t.GetKeyFrmCount() << " keys";
        for (int f : frames) ASSERT_TRUE(Same(t.InsValue(f), kfxref::ScalarAt(t, f))) << when << ": frame " << f;
    }
}

// The reference's bracket as the value rule reads it: a lone neighbour is that keyframe's own value.
std::array<const CKivFXInsValueKeyFrm*, 2> AsValueRule(const KivFXBracket& b) {
    if (b.previous && b.next) return {b.previous, b.next};
    return {b.previous ? b.previous : b.next, nullptr};
}

CKivFXValueKeyFrm* AnyKey(CKivFXInsKeyFrmList& t, RandomTracks& r) {
    return t.IsEmpty() ? nullptr : t.GetFXKeyFrm(r.Int(0, static_cast<int>(t.GetKeyFrmCount()) - 1));
}

// Changes made between two calls, as hosts and editors make them: keys written directly
// (the list's modification count unchanged), elements replaced through the reference the
// list hands out, and structural changes. "none" lets the cache sort and serve unchanged.
struct Edit {
    const char* name;
    void (*apply)(CKivFXInsKeyFrmList& t, RandomTracks& r);
};
const Edit kEdits[] = {
    {"none", [](CKivFXInsKeyFrmList&, RandomTracks&) {}},
    {"a location written", [](CKivFXInsKeyFrmList& t, RandomTracks& r) {
         if (auto* k = AnyKey(t, r)) k->Location = r.Location();
     }},
    {"a frame written", [](CKivFXInsKeyFrmList& t, RandomTracks& r) {
         if (auto* k = AnyKey(t, r)) k->Frame = r.Frame();
     }},
    {"two keys exchanged", [](CKivFXInsKeyFrmList& t, RandomTracks& r) {
         auto* a = AnyKey(t, r);
         auto* b = AnyKey(t, r);
         if (a && b) std::swap(a->Location, b->Location), std::swap(a->Frame, b->Frame);
     }},
    {"an element replaced in place", [](CKivFXInsKeyFrmList& t, RandomTracks& r) {
         if (t.IsEmpty()) return;
         const POSITION pos = t.FindIndex(r.Int(0, static_cast<int>(t.GetCount()) - 1));
         auto fresh = std::make_unique<CKivFXValueKeyFrm>();
         fresh->Location = r.Location();
         fresh->Frame = r.Frame();
         delete t.GetAt(pos);
         t.GetAt(pos) = fresh.release();
     }},
    {"a foreign element replaced by a keyframe", [](CKivFXInsKeyFrmList& t, RandomTracks& r) {
         kfxtest::AppendColour(t, r.Location(), 0u);
         const POSITION tail = t.GetTailPosition();
         delete t.GetAt(tail);
         t.GetAt(tail) = new CKivFXValueKeyFrm;
     }},
    {"an append", [](CKivFXInsKeyFrmList& t, RandomTracks& r) { kfxtest::Append(t, {r.Location(), r.Frame(), r.Value()}); }},
    {"a removal", [](CKivFXInsKeyFrmList& t, RandomTracks&) {
         if (!t.IsEmpty()) t.DeleteAt(t.GetHeadPosition());
     }},
    {"reversed", [](CKivFXInsKeyFrmList& t, RandomTracks&) { t.ReverseList(); }},
    {"re-sorted", [](CKivFXInsKeyFrmList& t, RandomTracks& r) {
         t.SetBaseOnFrame(r.Int(0, 1));
         KivFXKeyFrmTaxisList(&t);
     }},
};

// Each probe through the cache against the reference, and the reference against bracketing
// with the list function over the track's own keyframes.
template <class Key>
void ExpectCacheMatches(const CKivFXTrackKeys& cache, const CKivFXInsKeyFrmList& t, kfxref::Borrowed<CKivFXValueKeyFrm>& plain,
                        const std::vector<Key>& probes, const char* edit) {
    for (Key pos : probes) {
        const KivFXBracket want = KivFXTrackBracket(t, RUNTIME_CLASS(CKivFXValueKeyFrm), pos);
        const KivFXBracket got = cache.Find(t, pos);
        ASSERT_TRUE(got.previous == want.previous && got.next == want.next) << "after " << edit << ": at " << pos;
        const auto rule = kfxref::Bracket(plain, pos);
        ASSERT_EQ(AsValueRule(want), (std::array<const CKivFXInsValueKeyFrm*, 2>{rule[0], rule[1]})) << "at " << pos;
    }
}

}  // namespace

TEST(TrackFastPaths, CacheAnswersAsTheReferenceOnEveryCall) {
    RandomTracks r(2026);
    for (int i = 0; i < kTracks; ++i) {
        auto t = r.Scalar();
        const CKivFXTrackKeys cache(RUNTIME_CLASS(CKivFXValueKeyFrm));
        for (int step = 0; step < 12; ++step) {
            const Edit& edit = kEdits[r.Int(0, static_cast<int>(std::size(kEdits)) - 1)];
            edit.apply(*t, r);
            kfxref::Borrowed<CKivFXValueKeyFrm> plain(*t);
            // Several calls in a row by one key, then by the other, in a random order, so
            // that the cache is met stale, current and sorted, and sorted by the other key.
            const auto locations = r.LocationProbes(*t);
            const auto frames = r.FrameProbes(*t);
            const bool locationsFirst = r.Chance(50);
            for (int pass = 0; pass < 2; ++pass) {
                if ((pass == 0) == locationsFirst)
                    ExpectCacheMatches(cache, *t, plain, locations, edit.name);
                else
                    ExpectCacheMatches(cache, *t, plain, frames, edit.name);
            }
        }
    }
}

TEST(TrackFastPaths, ScalarValuesEqualThePlainRule) {
    RandomTracks r(20261207);
    for (int i = 0; i < kTracks; ++i) {
        auto t = r.Scalar();
        ExpectScalarMatches(*t, r, "fresh");
    }
}

TEST(TrackFastPaths, EditsBetweenCallsAreSeen) {
    RandomTracks r(7);
    for (int i = 0; i < kTracks; ++i) {
        auto t = r.Scalar();
        if (t->GetKeyFrmCount() < 2) continue;
        ExpectScalarMatches(*t, r, "before");
        // Keys written directly, as hosts and editors do.
        CKivFXValueKeyFrm* k = t->GetFXKeyFrm(r.Int(0, static_cast<int>(t->GetKeyFrmCount()) - 1));
        if (k) {
            k->Location = r.Location();
            k->Frame = r.Frame();
            ExpectScalarMatches(*t, r, "after a key moved");
        }
        // An element replaced through the reference the list hands out, the old one destroyed.
        const POSITION pos = t->FindIndex(0);
        auto fresh = std::make_unique<CKivFXValueKeyFrm>();
        fresh->Location = r.Location();
        fresh->Frame = r.Frame();
        fresh->Value = r.Value();
        delete t->GetAt(pos);
        t->GetAt(pos) = fresh.release();
        ExpectScalarMatches(*t, r, "after a replacement in place");
        // Structural changes.
        kfxtest::Append(*t, {r.Location(), r.Frame(), r.Value()});
        ExpectScalarMatches(*t, r, "after an append");
        t->DeleteAt(t->GetHeadPosition());
        ExpectScalarMatches(*t, r, "after a removal");
        t->ReverseList();
        ExpectScalarMatches(*t, r, "after reversing");
    }
}

TEST(TrackFastPaths, ConcurrentReadersGetTheSameAnswers) {
    RandomTracks r(99);
    auto t = r.Scalar();
    while (t->GetKeyFrmCount() < 8) kfxtest::Append(*t, {r.Location(), r.Frame(), r.Value()});
    const auto frames = r.FrameProbes(*t);
    std::vector<float> expected;
    for (int f : frames) expected.push_back(kfxref::ScalarAt(*t, f));
    std::atomic<int> mismatches{0};
    std::vector<std::thread> readers;
    for (int n = 0; n < 4; ++n)
        readers.emplace_back([&] {
            for (int round = 0; round < 200; ++round)
                for (size_t i = 0; i < frames.size(); ++i)
                    if (!Same(t->InsValue(frames[i]), expected[i])) ++mismatches;
        });
    for (auto& th : readers) th.join();
    EXPECT_EQ(mismatches.load(), 0);
}

TEST(TrackFastPaths, FrameSamplesEqualTheValueAtEachFrame) {
    RandomTracks r(11);
    kfxtest::SampleList out;
    for (int i = 0; i < kTracks; ++i) {
        auto t = r.Scalar();
        const int from = r.Int(-30, 60), to = r.Int(-30, 150);
        ASSERT_EQ(t->BuildInsValueKF(out.Fresh(), from, to), 1);
        const auto values = out.Values();
        ASSERT_EQ(values.size(), static_cast<size_t>(std::abs(to - from) + 1));
        for (size_t k = 0; k < values.size(); ++k) {
            const int f = std::min(from, to) + static_cast<int>(k);
            ASSERT_TRUE(Same(values[k], kfxref::ScalarAt(*t, f))) << "frame " << f << " of track " << i;
        }
    }
}

TEST(TrackFastPaths, EvenSamplesEqualTheSegmentRules) {
    RandomTracks r(13);
    kfxtest::SampleList out;
    for (int i = 0; i < kTracks; ++i) {
        auto t = r.Scalar();
        // Only keyframes that map inside the samples: others raise, tested elsewhere.
        for (POSITION pos = t->GetHeadPosition(); pos;) {
            auto* k = static_cast<CKivFXBaseKeyFrm*>(t->GetNext(pos));
            if (!(k->Location >= 0.0 && k->Location <= 1.0)) k->Location = 0.5;
        }
        const ULONG n = static_cast<ULONG>(r.Int(1, 40));
        ASSERT_EQ(t->BuildInsValueKF(out.Fresh(), n), 1);
        const auto got = out.Values();
        const auto want = kfxref::ScalarEven(*t, n);
        for (size_t k = 0; k < got.size(); ++k) ASSERT_TRUE(Same(got[k], want[k])) << "sample " << k << " of " << n << ", track " << i;
    }
}

TEST(TrackFastPaths, PositionAndColourValuesEqualThePlainRule) {
    RandomTracks r(17);
    for (int i = 0; i < kTracks / 2; ++i) {
        CKivFXPosiKeyFrmList p;
        CKivFXColor32KeyFrmList c;
        p.InsMode = r.Int(0, 1);
        const int n = r.Int(0, 12);
        for (int k = 0; k < n; ++k) {
            CKivFXPosiKeyFrm* key = kfxtest::AppendPosi(p, {r.Location(), r.Frame(), r.Value(), r.Value(), r.Value()});
            key->After = {r.Value(), r.Value(), r.Value()};
            key->Fore = {r.Value(), r.Value(), r.Value()};
            kfxtest::AppendColour(c, r.Location(), static_cast<DWORD>(r.Int(0, INT_MAX)) * 2u + 1u);
        }
        for (int round = 0; round < 2; ++round) {
            for (double x : r.LocationProbes(p)) {
                std::array<float, 3> v;
                p.InsValue(x, v[0], v[1], v[2]);
                ASSERT_EQ(v, kfxref::PathAt(p, x)) << "location " << x;
                ULONG colour = 0;
                c.InsValue(x, colour);
                ASSERT_EQ(colour, kfxref::ColourAt(c, x)) << "location " << x;
            }
            for (int f : r.FrameProbes(p)) {
                std::array<float, 3> v;
                p.InsValue(f, v[0], v[1], v[2]);
                ASSERT_EQ(v, kfxref::PathAt(p, f)) << "frame " << f;
            }
        }
    }
}

// ---- the evaluation view ----

namespace {

// Equal bits, or NaN on both sides (a NaN's payload is not part of any promise).
bool SameBits(float a, float b) { return Same(a, b) || (a != a && b != b); }

// A random track of one kind: 0..300 keyframes of its class, sorted or not, with equal keys,
// extreme keys, NaN, and now and then an element of another class.
template <class Track>
std::unique_ptr<Track> RandomTrack(RandomTracks& r) {
    auto t = std::make_unique<Track>();
    if constexpr (!std::is_same_v<Track, CKivFXColor32KeyFrmList>) t->InsMode = r.Int(0, 1), t->BaseOnFrame = r.Int(0, 1);
    if constexpr (std::is_same_v<Track, CKivFXInsKeyFrmList>) t->MinValue = -20.0f, t->MaxValue = r.Chance(80) ? 20.0f : -30.0f;
    const int sizes[] = {0, 1, 2, 3, 7, 40, 150};
    const int n = sizes[r.Int(0, 6)];
    for (int i = 0; i < n; ++i) {
        if (r.Chance(3)) kfxtest::AppendPosi(*t, {r.Location(), r.Frame(), 1, 2, 3});  // foreign to scalar and colour tracks
        const double location = r.Location();
        const int frame = r.Frame();
        if constexpr (std::is_same_v<Track, CKivFXInsKeyFrmList>)
            kfxtest::Append(*t, {location, frame, r.Value(), r.Value(), r.Value()});
        else if constexpr (std::is_same_v<Track, CKivFXPosiKeyFrmList>) {
            CKivFXPosiKeyFrm* k = kfxtest::AppendPosi(*t, {location, frame, r.Value(), r.Value(), r.Value()});
            k->After = {r.Value(), r.Value(), r.Value()};
            k->Fore = {r.Value(), r.Value(), r.Value()};
        }
        else
            kfxtest::AppendColour(*t, location, static_cast<DWORD>(r.Int(0, INT_MAX)) * 2u + 1u);
    }
    if (r.Chance(50)) KivFXKeyFrmTaxisList(t.get());
    return t;
}

// The view's answer against the track's InsValue, the plain rule and the reference bracket.
template <class Track, class Key>
void ExpectViewMatches(CKivFXTrackView<Track>& view, const Track& t, Key pos, const char* edit) {
    using K = std::remove_pointer_t<decltype(t.GetFXKeyFrm(0))>;
    const KivFXBracket want = KivFXTrackBracket(t, K::GetThisClass(), pos);
    const KivFXBracket got = view.Bracket(pos);
    ASSERT_TRUE(got.previous == want.previous && got.next == want.next) << "after " << edit << ": bracket at " << pos;
    if constexpr (std::is_same_v<Track, CKivFXInsKeyFrmList>) {
        const float v = view.InsValue(pos);
        ASSERT_TRUE(SameBits(v, t.InsValue(pos)) && SameBits(v, kfxref::ScalarAt(t, pos))) << "after " << edit << ": at " << pos;
    } else if constexpr (std::is_same_v<Track, CKivFXPosiKeyFrmList>) {
        std::array<float, 3> v, w;
        view.InsValue(pos, v[0], v[1], v[2]);
        t.InsValue(pos, w[0], w[1], w[2]);
        const auto plain = kfxref::PathAt(t, pos);
        for (int c = 0; c < 3; ++c) ASSERT_TRUE(SameBits(v[c], w[c]) && SameBits(v[c], plain[c])) << "after " << edit << ": at " << pos;
    } else {
        ULONG v = 0, w = 0;
        view.InsValue(pos, v);
        t.InsValue(pos, w);
        ASSERT_TRUE(v == w && v == kfxref::ColourAt(t, pos)) << "after " << edit << ": at " << pos;
    }
}

// Probes in a random order, then rising (sorted, then every frame of a stretch one by one).
template <class Track>
void ExpectViewMatchesEverywhere(CKivFXTrackView<Track>& view, const Track& t, RandomTracks& r, const char* edit) {
    auto locations = r.LocationProbes(t);
    std::shuffle(locations.begin(), locations.end(), std::mt19937(static_cast<unsigned>(r.Int(0, INT_MAX))));
    for (double x : locations) ExpectViewMatches(view, t, x, edit);
    std::sort(locations.begin(), locations.end());
    for (double x : locations) ExpectViewMatches(view, t, x, edit);
    if constexpr (!std::is_same_v<Track, CKivFXColor32KeyFrmList>) {
        auto frames = r.FrameProbes(t);
        std::shuffle(frames.begin(), frames.end(), std::mt19937(static_cast<unsigned>(r.Int(0, INT_MAX))));
        for (int f : frames) ExpectViewMatches(view, t, f, edit);
        for (int f = r.Int(-30, 20), end = f + 120; f < end; ++f) ExpectViewMatches(view, t, f, edit);
        // A run of frames at once: each run between two keys must end where the next key
        // starts, past the last key and with one keyframe or none too.
        const int from = r.Int(-30, 20);
        view.AtFrames(from, 150, [&](std::int64_t i, const auto& v) {
            const int f = from + static_cast<int>(i);
            if constexpr (std::is_same_v<Track, CKivFXInsKeyFrmList>) {
                ASSERT_TRUE(SameBits(v, t.InsValue(f))) << "after " << edit << ": AtFrames at " << f;
            } else {
                std::array<float, 3> w;
                t.InsValue(f, w[0], w[1], w[2]);
                for (int c = 0; c < 3; ++c) ASSERT_TRUE(SameBits(v[c], w[c])) << "after " << edit << ": AtFrames at " << f;
            }
        });
    }
}

// Every way a track changes through its operations, the list functions and the list, each
// made while a view of it lives; "a key written, then told" is the host keeping its promise.
template <class Track>
void EditThroughAnOperation(Track& t, RandomTracks& r, const char*& name) {
    using K = std::remove_pointer_t<decltype(t.GetFXKeyFrm(0))>;
    K* any = t.GetFXKeyFrm(r.Int(0, std::max(0, t.GetKeyFrmCount() - 1)));
    constexpr bool kFramed = !std::is_same_v<Track, CKivFXColor32KeyFrmList>;
    switch (r.Int(0, 13)) {
        case 0: name = "nothing"; break;
        case 1:
            name = "AddKeyFrm by location";
            t.AddKeyFrm(static_cast<double>(r.Int(0, 16)) / 16.0);
            break;
        case 2:
            name = "AddKeyFrm by frame";
            if constexpr (kFramed) t.AddKeyFrm(r.Int(-20, 120));
            break;
        case 3:
            name = "SendKeyFrmValue on an existing key";
            if (any) {
                if constexpr (std::is_same_v<Track, CKivFXInsKeyFrmList>) t.SendKeyFrmValue(any->Location, r.Value());
                if constexpr (std::is_same_v<Track, CKivFXPosiKeyFrmList>) t.SendKeyFrmValue(any->Frame, r.Value(), 0.0f, 1.0f);
                if constexpr (std::is_same_v<Track, CKivFXColor32KeyFrmList>) t.SendKeyFrmValue(any->Location, 0x80402010u);
            }
            break;
        case 4:
            name = "DeleteKeyFrm";
            t.DeleteKeyFrm(any);
            break;
        case 5:
            name = "DeleteSelectKeyFrm";
            t.SetSelectKF(any, 1);
            t.DeleteSelectKeyFrm();
            break;
        case 6:
            name = "MakeReverse";
            if constexpr (kFramed) t.MakeReverse(r.Int(-5, 5), r.Int(50, 150));
            break;
        case 7:
            name = "OffsetFrame";
            if constexpr (kFramed) t.OffsetFrame(r.Int(-9, 9));
            break;
        case 8:
            name = "ZoomRangeValue or OffsetPosi";
            if constexpr (std::is_same_v<Track, CKivFXInsKeyFrmList>) t.ZoomRangeValue(-1.5f);
            if constexpr (std::is_same_v<Track, CKivFXPosiKeyFrmList>) t.OffsetPosi(1.0f, -2.0f, 0.5f);
            break;
        case 9:
            name = "KivFXKeyFrmInsertKF and KivFXKeyFrmTaxisList";
            if (any) any->Location = r.Location(), any->Frame = r.Frame();  // then sorted through the list function
            KivFXKeyFrmInsertKF(&t, new K);
            KivFXKeyFrmTaxisList(&t);
            break;
        case 10:
            name = "ReverseList";
            t.ReverseList();
            break;
        case 11:
            name = "an element replaced with SetAt";
            if (!t.IsEmpty()) {
                const POSITION pos = t.GetTailPosition();
                CObject* old = t.GetAt(pos);
                t.SetAt(pos, new K);
                delete old;
            }
            break;
        case 12:
            name = "operator= from a random track";
            t = *RandomTrack<Track>(r);
            break;
        default:
            name = "a key written, then told";
            if (any) any->Location = r.Location(), any->Frame = r.Frame();
            t.NoteKeyFrmChange();
            break;
    }
}

template <class Track>
void ViewScenario(unsigned seed, KivFXViewReads reads) {
    RandomTracks r(seed);
    for (int i = 0; i < kTracks / 5; ++i) {
        auto t = RandomTrack<Track>(r);
        CKivFXTrackView<Track> view(*t, reads);
        const char* edit = "building";
        for (int step = 0; step < 6; ++step) {
            ExpectViewMatchesEverywhere(view, *t, r, edit);
            EditThroughAnOperation(*t, r, edit);
        }
    }
}

}  // namespace

// Both forms: the Snapshot's copies must be taken again after every operation.
TEST(TrackView, AnswersAsTheTrackAcrossEveryOperation) {
    for (KivFXViewReads reads : {KivFXViewReads::Live, KivFXViewReads::Snapshot}) {
        SCOPED_TRACE(reads == KivFXViewReads::Live ? "live" : "snapshot");
        ViewScenario<CKivFXInsKeyFrmList>(25, reads);
        ViewScenario<CKivFXPosiKeyFrmList>(2025, reads);
        ViewScenario<CKivFXColor32KeyFrmList>(202512, reads);
    }
}

// The search reads keys in blocks of a cache line (16 frames, 8 locations) under a top
// array: lengths where the last block is full, holds one key, or the top has one entry, each
// probed at every key and between, in an order that jumps (so each call searches afresh).
TEST(TrackView, SearchesEveryLengthAroundItsBlocks) {
    for (int n : {1, 2, 7, 8, 9, 15, 16, 17, 31, 32, 33, 64, 65, 129, 257}) {
        auto t = std::make_unique<CKivFXInsKeyFrmList>();
        for (int i = 0; i < n; ++i) kfxtest::Append(*t, {i / (2.0 * n), 2 * i, static_cast<float>(i), 0.0f, 0.0f});
        CKivFXTrackView<CKivFXInsKeyFrmList> view(*t);
        const int probes = 4 * n + 4;  // frame -1 .. 4n + 2 as halves: every key and every gap
        for (int j = 0; j < probes; ++j) {
            const int i = j % 2 ? probes - 1 - j / 2 : j / 2;  // first, last, second, one before last ...
            const int frame = i - 1;
            const double location = (i - 1) / (4.0 * n);
            const KivFXBracket byFrame = view.Bracket(frame), wantFrame = KivFXTrackBracket(*t, CKivFXValueKeyFrm::GetThisClass(), frame);
            const KivFXBracket byLocation = view.Bracket(location), wantLocation = KivFXTrackBracket(*t, CKivFXValueKeyFrm::GetThisClass(), location);
            ASSERT_TRUE(byFrame.previous == wantFrame.previous && byFrame.next == wantFrame.next) << n << " keys, frame " << frame;
            ASSERT_TRUE(byLocation.previous == wantLocation.previous && byLocation.next == wantLocation.next) << n << " keys, location " << location;
        }
    }
}

// A value written directly shows at a live view's next call; to a Snapshot it is a promise
// broken (a debug build stops) until the track is told.
TEST(TrackView, AValueWrittenDirectlyIsLiveOrAPromise) {
    auto t = kfxtest::Scalar({{0.0, 0, 1.0f}, {1.0, 10, 2.0f}});
    CKivFXTrackView<CKivFXInsKeyFrmList> live(*t), snapshot(*t, KivFXViewReads::Snapshot);
    ASSERT_EQ(snapshot.InsValue(5), live.InsValue(5));
    t->GetFXKeyFrm(1)->Value = 4.0f;
    EXPECT_EQ(live.InsValue(5), t->InsValue(5));
#ifndef NDEBUG
    EXPECT_DEATH(snapshot.InsValue(5), "value or handle");
#endif
    t->NoteKeyFrmChange();
    EXPECT_EQ(snapshot.InsValue(5), t->InsValue(5));
}

namespace {

// A Bezier track whose frames run a key a frame, then leave gaps wider than a bucket, crowd
// (keys shared), spread again, and (far) end with one key so far off that a view makes no
// buckets for them.
std::unique_ptr<CKivFXInsKeyFrmList> GappedTrack(bool far) {
    auto t = std::make_unique<CKivFXInsKeyFrmList>();
    std::vector<int> frames;
    for (int i = 0; i < 300; ++i) frames.push_back(i);
    for (int i = 0; i < 20; ++i) frames.push_back(700 + 40 * i);
    for (int i = 0; i < 30; ++i) frames.push_back(1500 + i / 2);
    for (int i = 0; i < 200; ++i) frames.push_back(1600 + 3 * i);
    if (far) frames.push_back(50000000);
    for (int f : frames) kfxtest::Append(*t, {0.5, f, static_cast<float>(f % 97), 1.0f, -2.0f});
    t->InsMode = 1;
    return t;
}

constexpr int kGappedLast = 2200;  // past the last key but the far one

}  // namespace

// Frames reach their keys straight through buckets of frames when the keys are spread
// evenly enough: every frame around the gapped track's keys probed in an order that jumps,
// then all of them as one rising run, in both forms, against the reference and InsValue.
TEST(TrackView, FindsFramesThroughBucketsAroundGapsAndCrowds) {
    for (KivFXViewReads reads : {KivFXViewReads::Live, KivFXViewReads::Snapshot})
        for (int far : {0, 1}) {
            SCOPED_TRACE(testing::Message() << (reads == KivFXViewReads::Live ? "live" : "snapshot") << ", far " << far);
            auto t = GappedTrack(far);
            CKivFXTrackView<CKivFXInsKeyFrmList> view(*t, reads);
            const int probes = kGappedLast + 4;
            for (int j = 0; j < probes; ++j) {
                const int frame = (j % 2 ? probes - 1 - j / 2 : j / 2) - 2;
                const KivFXBracket got = view.Bracket(frame), want = KivFXTrackBracket(*t, CKivFXValueKeyFrm::GetThisClass(), frame);
                ASSERT_TRUE(got.previous == want.previous && got.next == want.next) << "frame " << frame;
                ASSERT_TRUE(SameBits(view.InsValue(frame), t->InsValue(frame))) << "frame " << frame;
            }
            view.AtFrames(-2, probes, [&](std::int64_t i, float v) {
                ASSERT_TRUE(SameBits(v, t->InsValue(static_cast<int>(i) - 2))) << "AtFrames at " << i - 2;
            });
        }
}

// Without memory to sort (and copy) a view answers through the track in both forms, failing
// at every allocation in turn, and builds itself at the first call that has memory again.
TEST(TrackView, AnswersWithoutMemoryAndBuildsWhenItReturns) {
    auto t = GappedTrack(false);
    const int frames[] = {-1, 0, 150, 299, 300, 1000, 1507, 1700, 2500};
    std::vector<float> want;
    for (int f : frames) want.push_back(t->InsValue(f));
    for (KivFXViewReads reads : {KivFXViewReads::Live, KivFXViewReads::Snapshot}) {
        for (long allowed = 0;; ++allowed) {
            CKivFXTrackView<CKivFXInsKeyFrmList> view(*t, reads);
            std::vector<float> got;
            got.reserve(2 * std::size(frames));
            bool refused = false;
            {
                const kfxtest::FailingAllocation fail(allowed);
                for (int f : frames) got.push_back(view.InsValue(f));
                refused = fail.Refused();
            }
            for (int f : frames) got.push_back(view.InsValue(f));
            for (std::size_t i = 0; i < got.size(); ++i)
                ASSERT_TRUE(SameBits(got[i], want[i % want.size()])) << "allowed " << allowed << ", call " << i;
            if (!refused) break;
        }
    }
}

#ifndef NDEBUG
TEST(TrackViewDeathTest, AKeyWrittenDirectlyStopsADebugBuild) {
    auto t = kfxtest::Scalar({{0.0, 0, 1.0f}, {1.0, 10, 2.0f}});
    CKivFXTrackView<CKivFXInsKeyFrmList> view(*t);
    view.InsValue(5);
    t->GetFXKeyFrm(1)->Frame = 20;  // the promise broken: no operation, no NoteKeyFrmChange
    EXPECT_DEATH(view.InsValue(5), "written directly");
}
#endif
