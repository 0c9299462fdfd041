// Demo part: one track of each kind (a Bezier curve by frames, a path in space by frames,
// a colour ramp by location), sampled to CSV next to the project files.
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "KfxDemoParts.h"
#include "KfxProject.h"
#include "KfxSample.h"
#include "keyfrm/tracks/KivFXTracks.h"

namespace {

// The demo's effect runs over frames 0..100; keyframes also carry the matching location.
constexpr int kLastFrame = 100;

void SampleToCsv(KfxDemoContext& demo, CKivObList& track, const KfxSampling& how, const char* name) {
    const std::filesystem::path path = demo.dir / name;
    char* text = nullptr;
    size_t size = 0;
    std::FILE* out = ::open_memstream(&text, &size);
    if (!out) return demo.Fail(path.string() + ": cannot make the samples");
    KfxWriteSamples(track, how, out);
    const bool made = std::fclose(out) == 0;
    const std::unique_ptr<char, decltype(&std::free)> owned(text, &std::free);
    if (!made) return demo.Fail(path.string() + ": cannot make the samples");
    if (!demo.Write(name, std::string(text, size))) return;
    demo.Report(KfxTrackKind(track) + " track: " + std::to_string(track.GetCount()) + " keyframes, samples in " + path.string());
}

std::unique_ptr<CKivFXInsKeyFrmList> CurveTrack() {
    auto t = std::make_unique<CKivFXInsKeyFrmList>();
    t->SetBaseOnFrame(1);
    t->InsMode = 1;
    t->MinValue = 0.0f;
    t->MaxValue = 100.0f;
    struct Key {
        int frame;
        float value, fore, after;
    };
    for (const Key& k : {Key{0, 0.0f, 0.0f, 30.0f}, Key{25, 80.0f, -10.0f, 10.0f}, Key{60, 20.0f, 15.0f, -15.0f}, Key{kLastFrame, 100.0f, -40.0f, 0.0f}}) {
        CKivFXValueKeyFrm* key = t->SendKeyFrmValue(k.frame, k.value);
        key->Location = static_cast<double>(k.frame) / kLastFrame;
        key->PtFore.ValueOffset = k.fore;
        key->PtAfter.ValueOffset = k.after;
    }
    return t;
}

std::unique_ptr<CKivFXPosiKeyFrmList> PathTrack() {
    auto t = std::make_unique<CKivFXPosiKeyFrmList>();
    t->SetBaseOnFrame(1);
    t->InsMode = 1;
    t->MaxZ = 40.0f;
    struct Key {
        int frame;
        float x, y, z;
    };
    // Added in this order so that each new keyframe's handles follow the path made so far.
    for (const Key& k : {Key{0, 0.0f, 0.0f, 0.0f}, Key{kLastFrame, 400.0f, 0.0f, 60.0f}, Key{40, 200.0f, 150.0f, 10.0f}}) {
        CKivFXPosiKeyFrm* key = t->SendKeyFrmValue(k.frame, k.x, k.y, k.z);
        key->Location = static_cast<double>(k.frame) / kLastFrame;
    }
    return t;
}

std::unique_ptr<CKivFXColor32KeyFrmList> ColourRamp() {
    auto t = std::make_unique<CKivFXColor32KeyFrmList>();
    t->SendKeyFrmValue(0.0, BYTE{255}, BYTE{0}, BYTE{0}, BYTE{255});
    t->SendKeyFrmValue(0.5, BYTE{0}, BYTE{200}, BYTE{0}, BYTE{128});
    t->SendKeyFrmValue(1.0, BYTE{0}, BYTE{0}, BYTE{255}, BYTE{255});
    return t;
}

}  // namespace

void KfxDemoTracks(KfxDemoContext& demo) {
    KfxSampling frames;
    frames.byFrames = true;
    frames.to = kLastFrame;
    KfxSampling even;
    even.count = kLastFrame + 1;

    auto curve = CurveTrack();
    auto path = PathTrack();
    auto ramp = ColourRamp();
    SampleToCsv(demo, *curve, frames, "track-curve.csv");
    SampleToCsv(demo, *path, frames, "track-path.csv");
    SampleToCsv(demo, *ramp, even, "track-colour.csv");
    // As elements of the project: AddTail(CObList*) would add a track's keyframes instead.
    demo.project.AddTail(static_cast<CObject*>(curve.release()));
    demo.project.AddTail(static_cast<CObject*>(path.release()));
    demo.project.AddTail(static_cast<CObject*>(ramp.release()));
}
