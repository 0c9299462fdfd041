// Demo part: one keyframe of every soft (2-D) effect, one of every effect object and a
// colour array, a few of them given values of their own so the files show every stored form;
// then a slide animation sampled frame by frame into slide.csv, and a movie keyframe's
// frame cache file written, drawn back, checked and removed.
#include <charconv>
#include <filesystem>
#include <sstream>
#include <memory>
#include <string>

#include "KfxDemoParts.h"
#include "keyfrm/KivFXKeyFrmStartup.h"
#include "keyfrm/effectobj/KivFXEffectObj.h"
#include "keyfrm/softfx/KivFXSoft.h"

namespace {

// Gives the objects that store more than their version words something to show.
void Customise(CObject* object) {
    if (auto* alpha = dynamic_cast<CKivSoftFXAlphaKeyFrm*>(object)) {
        for (double shade : {0.0, 0.25, 0.75, 1.0}) alpha->ShadeColor.Add(shade);
    } else if (auto* flow = dynamic_cast<CKivEffectColorFlowObj*>(object)) {
        flow->FlowSpeed = -5;
        flow->FXBegin = 0.25;
        flow->Flow.Add(CKivColor32(0xFF3366CCu), 1);
    } else if (auto* shine = dynamic_cast<CKivEffectShineLightObj*>(object)) {
        shine->ShineDir = 3;
        shine->ShineRadius = 24;
    } else if (auto* colors = dynamic_cast<CKivColor32Array*>(object)) {
        for (DWORD packed : {0xFFFF0000u, 0xFF00FF00u, 0x800000FFu}) colors->Add(CKivColor32(packed), 1);
    }
}

// ---- the slide animation ----

constexpr ULONG kSlideFrames = 51;  // two seconds of 25-frame video, both ends included

struct SlideKey {
    double location, x, y, width, height, blur, alpha;
};
// A picture flying in from the left at half size, growing, mirrored on its way out.
constexpr SlideKey kSlideKeys[] = {
    {0.0, -0.5, 0.5, 0.5, 0.5, 0.0, 0.0},
    {0.3, 0.3, 0.3, 0.75, 0.75, 0.5, 1.0},
    {0.7, 0.7, 0.6, 1.0, 1.0, 0.0, 1.0},
    {1.0, 1.5, 0.5, -0.5, 0.5, 1.0, 0.25},
};

using SlideField = double CKivSoftFXSlideKeyFrm::*;
constexpr std::pair<const char*, SlideField> kSlideColumns[] = {
    {"CoordX", &CKivSoftFXSlideKeyFrm::CoordX},
    {"CoordY", &CKivSoftFXSlideKeyFrm::CoordY},
    {"Width", &CKivSoftFXSlideKeyFrm::Width},
    {"Height", &CKivSoftFXSlideKeyFrm::Height},
    {"BlurHorzDegree", &CKivSoftFXSlideKeyFrm::BlurHorzDegree},
    {"BlurHorzAngle", &CKivSoftFXSlideKeyFrm::BlurHorzAngle},
    {"BlurVertDegree", &CKivSoftFXSlideKeyFrm::BlurVertDegree},
    {"BlurVertAngle", &CKivSoftFXSlideKeyFrm::BlurVertAngle},
    {"AValue", &CKivSoftFXSlideKeyFrm::AValue},
};

// The shortest text that reads back to the same double.
std::string Number(double v) {
    char buf[32];
    return std::string(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}

// The location whose frame (nFrames x location, truncated) is frame: the frame's middle,
// so rounding cannot move it to the frame before.
double LocationOfFrame(ULONG frame) { return (frame + 0.5) / kSlideFrames; }

void AddSlideAnimation(KfxDemoContext& demo) {
    CKivObList keys;
    for (const SlideKey& k : kSlideKeys) {
        auto key = std::make_unique<CKivSoftFXSlideKeyFrm>();
        key->Location = k.location;
        key->CoordX = k.x;
        key->CoordY = k.y;
        key->Width = k.width;
        key->Height = k.height;
        key->BlurHorzDegree = k.blur;
        key->BlurHorzAngle = 0.25;
        key->AValue = k.alpha;
        key->SetHandle(0, 0.5, -0.5);
        keys.AddTail(key.release());
    }

    const std::filesystem::path csvPath = demo.dir / "slide.csv";
    std::ostringstream csv;
    csv << "frame,location";
    for (const auto& column : kSlideColumns) csv << ',' << column.first;
    csv << '\n';
    CKivSoftFXSlideKeyFrm at;
    for (ULONG frame = 0; frame < kSlideFrames; ++frame) {
        if (!CKivSoftFXSlideKeyFrm::GetKeyFrameData(kSlideFrames, &keys, LocationOfFrame(frame), &at, 1))
            return demo.Fail("the slide animation cannot be interpolated");
        csv << frame << ',' << Number(LocationOfFrame(frame));
        for (const auto& column : kSlideColumns) csv << ',' << Number(at.*column.second);
        csv << '\n';
    }
    if (!demo.Write(csvPath.filename().string(), csv.str())) return;

    // The last frame is the last key's own, its width clamped to a mirrored full size.
    if (at.CoordX != 1.5 || at.Width != -0.5 || at.AValue != 0.25) demo.Fail("the slide animation misses its last key");
    demo.Report("slide animation: " + std::to_string(keys.GetCount()) + " keyframes over " + std::to_string(kSlideFrames) +
                " frames, sampled into " + csvPath.filename().string());
    while (!keys.IsEmpty()) demo.project.AddTail(keys.RemoveHead());
}

// ---- the movie keyframe's frame cache ----

// A small picture placed inside a small screen, away from its corner.
constexpr int kPictureWidth = 64;
constexpr int kPictureHeight = 48;
constexpr int kScreenSize = 100;
const CRect kPicturePlace(20, 30, 20 + kPictureWidth, 30 + kPictureHeight);

void CheckMovieCache(KfxDemoContext& demo) {
    CKivMemBlock picture, screen;
    if (!picture.InitBlock(CSize(kPictureWidth, kPictureHeight), nullptr, 0) || !screen.InitBlock(CSize(kScreenSize, kScreenSize), nullptr, 0))
        return demo.Fail("no memory for the movie pictures");
    for (int y = 0; y < kPictureHeight; ++y)
        for (int x = 0; x < kPictureWidth; ++x)
            picture.GetAddress()[y * kPictureWidth + x] = {static_cast<BYTE>(4 * x), static_cast<BYTE>(5 * y), 0x80, 0xFF};
    screen.ClearBlock(nullptr, tagCOLOR32::FromDWORD(0xFF000000));

    std::filesystem::path cacheFile;
    {
        CKivSoftFXMovieKeyFrm movie;
        if (!movie.MakeOneFrameFile(&picture, 1, 0)) return demo.Fail("cannot create a frame cache file");
        cacheFile = movie.MovieKFMFile.ToUtf8();
        const auto bytes = std::filesystem::file_size(cacheFile);
        if (!movie.GetOneFrameFromFile(&screen, kPicturePlace)) return demo.Fail("cannot read the frame cache file back");
        for (int y = 0; y < kPictureHeight; ++y)
            for (int x = 0; x < kPictureWidth; ++x)
                if (!(screen.GetAddress()[(kPicturePlace.top + y) * kScreenSize + kPicturePlace.left + x] ==
                      picture.GetAddress()[y * kPictureWidth + x]))
                    return demo.Fail("the frame cache gives back another picture");
        demo.Report("movie frame cache: " + std::to_string(kPictureWidth) + " x " + std::to_string(kPictureHeight) +
                    " picture, " + std::to_string(bytes) + " bytes in " + cacheFile.filename().string() +
                    ", drawn back exactly");
    }
    if (std::filesystem::exists(cacheFile)) demo.Fail(cacheFile.string() + " outlived its keyframe");
}

}  // namespace

void KfxDemoSoftEffects(KfxDemoContext& demo) {
    const auto soft = KivFXSoftPersistClasses();
    const auto objects = KivFXEffectObjPersistClasses();
    int added = 0;
    for (auto part : {soft, objects})
        for (const KivFXPersistClass& c : part) {
            std::unique_ptr<CObject> object(c.runtimeClass->CreateObject());
            if (!object) return demo.Fail(std::string("cannot create ") + c.runtimeClass->m_lpszClassName);
            if (auto* key = dynamic_cast<CKivFXBaseKeyFrm*>(object.get())) key->Location = added / static_cast<double>(soft.size());
            Customise(object.get());
            demo.project.AddTail(object.release());
            ++added;
        }
    auto colors = std::make_unique<CKivColor32Array>();
    Customise(colors.get());
    demo.project.AddTail(colors.release());
    demo.Report(std::to_string(soft.size()) + " soft effect keyframes, " + std::to_string(objects.size()) +
                " effect objects and a colour array");

    // The working buffers effects build on Open (not stored).
    CKivEffectShineLightObj shine;
    CKivEffectColorFlowObj flow;
    if (!shine.Open() || !flow.Open()) return demo.Fail("an effect object does not open");
    const CSize strip = flow.FlowBlock.GetSize();
    demo.Report("shine table of " + std::to_string(shine.ShineRadius) + " weights, " + std::to_string(shine.ShineTable[0]) +
                " down to " + std::to_string(shine.ShineTable[shine.ShineRadius - 1]) + "; colour-flow strip " +
                std::to_string(strip.cx) + " x " + std::to_string(strip.cy));

    AddSlideAnimation(demo);
    CheckMovieCache(demo);
}
