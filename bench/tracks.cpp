// Evaluating tracks, against the animation API that open-source editors use for keyframed
// parameters, on the same keyframes in the same run: InsValue by frame and by location on
// 2, 10 and 1,000 keyframes (linear, and Bezier against the peer's smooth keys), the per-frame
// sampler over 100,000 frames on 2, 100 and 10,000 keyframes, and a view of a track
// (CKivFXTrackView, live and snapshot) on 10, 1,000 and 100,000 keyframes asked at random
// and at rising frames.
//
// `bench_tracks --instructions CASE N` runs one case N times with callgrind's collection
// switched on only around the loop (run it under valgrind --tool=callgrind
// --collect-atstart=no); bench/instructions.py turns that into instructions per evaluation.
#include <benchmark/benchmark.h>
#include <framework/mlt.h>
#include <valgrind/callgrind.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "keyfrm/tracks/CKivFXInsKeyFrmList.h"
#include "keyfrm/tracks/CKivFXTrackView.h"

namespace {

// Keyframes are spread over the frames the sampler visits, so every row uses all of them.
constexpr int kFrames = 100000;
constexpr int kLastFrame = kFrames - 1;
// Probe positions cycle through a fixed pseudo-random table (a power of two for masking).
constexpr size_t kProbes = 4096;
// Values lie well inside the track's range, so clamping never changes them.
constexpr float kValueSpan = 100.0f;

// A small deterministic generator, so both sides see the same numbers on every run.
struct Lcg {
    unsigned long long state;
    unsigned Next() {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<unsigned>(state >> 33);
    }
};

int KeyFrame(int i, int keys) { return static_cast<int>(static_cast<long long>(i) * kLastFrame / (keys - 1)); }

float KeyValue(int i) {
    Lcg g{static_cast<unsigned long long>(i) + 1};
    return (static_cast<float>(g.Next() % 20001) / 10000.0f - 1.0f) * kValueSpan;
}

std::unique_ptr<CKivFXInsKeyFrmList> MakeTrack(int keys, bool bezier) {
    auto track = std::make_unique<CKivFXInsKeyFrmList>();
    track->InsMode = bezier ? 1 : 0;
    track->BaseOnFrame = 1;
    for (int i = 0; i < keys; ++i) {
        auto k = std::make_unique<CKivFXValueKeyFrm>();
        k->Frame = KeyFrame(i, keys);
        k->Location = static_cast<double>(k->Frame) / kLastFrame;
        k->Value = KeyValue(i);
        k->PtFore = {-0.25f * kValueSpan, -5.0};
        k->PtAfter = {0.25f * kValueSpan, 5.0};
        track->AddTail(k.release());
    }
    return track;
}

// The peer's keyframe string: "0=v;99999=v" (linear) or "0~=v;..." (smooth).
std::string PeerString(int keys, bool smooth) {
    std::string s;
    char buf[64];
    for (int i = 0; i < keys; ++i) {
        std::snprintf(buf, sizeof buf, "%s%d%s=%.9g", i ? ";" : "", KeyFrame(i, keys), smooth ? "~" : "", static_cast<double>(KeyValue(i)));
        s += buf;
    }
    return s;
}

class Peer {
public:
    Peer(int keys, bool smooth) : m_props(mlt_properties_new()) { mlt_properties_set(m_props, "v", PeerString(keys, smooth).c_str()); }
    ~Peer() { mlt_properties_close(m_props); }
    Peer(const Peer&) = delete;
    Peer& operator=(const Peer&) = delete;
    double At(int frame) const { return mlt_properties_anim_get_double(m_props, "v", frame, kFrames); }

private:
    mlt_properties m_props;
};

// n pseudo-random frames, the same on every run for one seed.
std::vector<int> RandomFrames(size_t n, unsigned long long seed) {
    std::vector<int> p(n);
    Lcg g{seed};
    for (int& f : p) f = static_cast<int>(g.Next() % kFrames);
    return p;
}

const std::vector<int>& ProbeFrames() {
    static const std::vector<int> probes = RandomFrames(kProbes, 12345);
    return probes;
}

// The views' random frames: a table far larger than any cache, so that a call on 100,000
// keyframes finds no keyframe of an earlier call waiting in one.
constexpr size_t kWideProbes = size_t{1} << 20;
const std::vector<int>& WideProbeFrames() {
    static const std::vector<int> probes = RandomFrames(kWideProbes, 54321);
    return probes;
}

// Call i's frame: at random, or rising one by one through every frame (then from 0 again).
int ViewProbe(size_t i, bool rising) {
    return rising ? static_cast<int>(i % kFrames) : WideProbeFrames()[i & (kWideProbes - 1)];
}

const std::vector<double>& ProbeLocations() {
    static const std::vector<double> probes = [] {
        std::vector<double> p;
        for (int f : ProbeFrames()) p.push_back(static_cast<double>(f) / kLastFrame);
        return p;
    }();
    return probes;
}

// One measured operation, repeated: op(i) is operation number i; cleanup, if any, runs
// after each op outside the measurement (freeing the samples the caller owns).
struct Runner {
    std::function<void(size_t)> op;
    std::function<void()> cleanup;
};

struct Case {
    std::string name;
    int evaluationsPerOp;  // samples made by one op (1 for InsValue)
    std::function<Runner()> setup;
};

void FreeAll(CObList& out) {
    while (!out.IsEmpty()) delete out.RemoveHead();
}

std::vector<Case> Cases() {
    std::vector<Case> cases;
    for (int keys : {2, 10, 1000})
        for (bool bezier : {false, true}) {
            const std::string suffix = "/" + std::to_string(keys) + (bezier ? "/bezier" : "/linear");
            cases.push_back({"InsValueFrame_Library" + suffix, 1, [=] {
                                 std::shared_ptr<CKivFXInsKeyFrmList> t = MakeTrack(keys, bezier);
                                 t->InsValue(0);  // the first call makes the snapshot
                                 return Runner{[t](size_t i) { benchmark::DoNotOptimize(t->InsValue(ProbeFrames()[i & (kProbes - 1)])); }, {}};
                             }});
            cases.push_back({"InsValueLocation_Library" + suffix, 1, [=] {
                                 std::shared_ptr<CKivFXInsKeyFrmList> t = MakeTrack(keys, bezier);
                                 t->InsValue(0.0);
                                 return Runner{[t](size_t i) { benchmark::DoNotOptimize(t->InsValue(ProbeLocations()[i & (kProbes - 1)])); }, {}};
                             }});
            cases.push_back({"InsValue_Peer" + suffix, 1, [=] {
                                 auto p = std::make_shared<Peer>(keys, bezier);
                                 p->At(0);
                                 return Runner{[p](size_t i) { benchmark::DoNotOptimize(p->At(ProbeFrames()[i & (kProbes - 1)])); }, {}};
                             }});
        }
    for (int keys : {10, 1000, 100000})
        for (bool rising : {false, true}) {
            const std::string suffix = "/" + std::to_string(keys) + (rising ? "/rising" : "/random");
            WideProbeFrames();  // made here, not inside a measured loop
            for (KivFXViewReads reads : {KivFXViewReads::Live, KivFXViewReads::Snapshot})
                cases.push_back({(reads == KivFXViewReads::Live ? "View_Library" : "ViewSnapshot_Library") + suffix, 1, [=] {
                                     std::shared_ptr<CKivFXInsKeyFrmList> t = MakeTrack(keys, false);
                                     auto view = std::make_shared<CKivFXTrackView<CKivFXInsKeyFrmList>>(*t, reads);
                                     view->InsValue(0);  // the first call by frame sorts the keyframes
                                     return Runner{[t, view, rising](size_t i) { benchmark::DoNotOptimize(view->InsValue(ViewProbe(i, rising))); }, {}};
                                 }});
            // The search alone (no keyframe read): what the keys' layout costs.
            cases.push_back({"ViewBracket_Library" + suffix, 1, [=] {
                                 std::shared_ptr<CKivFXInsKeyFrmList> t = MakeTrack(keys, false);
                                 auto view = std::make_shared<CKivFXTrackView<CKivFXInsKeyFrmList>>(*t);
                                 view->InsValue(0);
                                 return Runner{[t, view, rising](size_t i) { benchmark::DoNotOptimize(view->Bracket(ViewProbe(i, rising))); }, {}};
                             }});
            cases.push_back({"View_Peer" + suffix, 1, [=] {
                                 auto p = std::make_shared<Peer>(keys, false);
                                 p->At(0);
                                 return Runner{[p, rising](size_t i) { benchmark::DoNotOptimize(p->At(ViewProbe(i, rising))); }, {}};
                             }});
        }
    for (int keys : {2, 100, 10000}) {
        const std::string suffix = "/" + std::to_string(keys);
        cases.push_back({"SampleFrames_Library" + suffix, kFrames, [=] {
                             std::shared_ptr<CKivFXInsKeyFrmList> t = MakeTrack(keys, false);
                             auto out = std::make_shared<CObList>();
                             return Runner{[t, out](size_t) { t->BuildInsValueKF(out.get(), 0, kLastFrame); }, [out] { FreeAll(*out); }};
                         }});
        // The same with the caller's freeing of the 100,000 samples inside the measurement.
        cases.push_back({"SampleFramesAndFree_Library" + suffix, kFrames, [=] {
                             std::shared_ptr<CKivFXInsKeyFrmList> t = MakeTrack(keys, false);
                             auto out = std::make_shared<CObList>();
                             return Runner{[t, out](size_t) {
                                               t->BuildInsValueKF(out.get(), 0, kLastFrame);
                                               FreeAll(*out);
                                           },
                                           {}};
                         }});
        cases.push_back({"SampleFrames_Peer" + suffix, kFrames, [=] {
                             auto p = std::make_shared<Peer>(keys, false);
                             auto out = std::make_shared<std::vector<double>>(kFrames);
                             return Runner{[p, out](size_t) {
                                               for (int f = 0; f < kFrames; ++f) (*out)[static_cast<size_t>(f)] = p->At(f);
                                               benchmark::DoNotOptimize(out->data());
                                           },
                                           {}};
                         }});
    }
    return cases;
}

int CountInstructions(const std::string& name, size_t n) {
    for (const Case& c : Cases()) {
        if (c.name != name) continue;
        const Runner r = c.setup();
        if (!r.cleanup) {
            CALLGRIND_TOGGLE_COLLECT;
            for (size_t i = 0; i < n; ++i) r.op(i);
            CALLGRIND_TOGGLE_COLLECT;
        }
        for (size_t i = 0; r.cleanup && i < n; ++i) {
            CALLGRIND_TOGGLE_COLLECT;
            r.op(i);
            CALLGRIND_TOGGLE_COLLECT;
            r.cleanup();
        }
        std::printf("%s: %zu operations of %d evaluations\n", name.c_str(), n, c.evaluationsPerOp);
        return 0;
    }
    std::fprintf(stderr, "bench_tracks: no case named %s\n", name.c_str());
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--instructions") == 0) return CountInstructions(argv[2], std::strtoull(argv[3], nullptr, 10));
    if (argc == 2 && std::strcmp(argv[1], "--list-cases") == 0) {
        for (const Case& c : Cases()) std::printf("%s %d\n", c.name.c_str(), c.evaluationsPerOp);
        return 0;
    }
    for (const Case& c : Cases()) {
        benchmark::RegisterBenchmark(("BM_" + c.name).c_str(), [c](benchmark::State& state) {
            const Runner r = c.setup();
            size_t i = 0;
            for (auto _ : state) {
                r.op(i++);
                if (r.cleanup) {
                    state.PauseTiming();
                    r.cleanup();
                    state.ResumeTiming();
                }
            }
            state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * c.evaluationsPerOp);
        });
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
