// kfx demo [DIR]: builds a sample project, writes it in both formats, reads both back
// and checks they equal the original, then reports.
#include <cstdio>
#include <filesystem>
#include <memory>

#include "KfxCommands.h"
#include "KfxDemoParts.h"
#include "KfxProject.h"

namespace {

constexpr const char* kDefaultDir = "kfx-demo";

bool CheckRoundTrip(const std::string& path, CKivObList& original) {
    CKivObList loaded;
    KfxLoad(path, loaded);
    const bool same = loaded.Compare(&original) == 0;
    std::printf("  %-28s %s (%d objects, %ju bytes)\n", path.c_str(), same ? "reads back equal" : "DIFFERS",
                static_cast<int>(loaded.GetCount()), static_cast<uintmax_t>(std::filesystem::file_size(path)));
    return same;
}

}  // namespace

void KfxDemoContext::Report(const std::string& line) const { std::printf("  %s\n", line.c_str()); }

void KfxDemoContext::Fail(const std::string& message) {
    std::printf("  FAILED: %s\n", message.c_str());
    ok = false;
}

bool KfxDemoContext::Write(const std::string& name, const std::string& text) {
    try {
        KfxWriteFile((dir / name).string(), std::span(reinterpret_cast<const BYTE*>(text.data()), text.size()));
        return true;
    } catch (const KfxError& e) {
        Fail(e.what());
        return false;
    }
}

namespace {

int Run(const std::filesystem::path& dir) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) return KfxFail(dir.string() + ": cannot create the folder: " + ec.message());

    CKivObList project;
    KfxDemoContext demo{project, dir};
    std::printf("kfx demo: building the project in %s\n", dir.string().c_str());
    for (auto part : {KfxDemoValueKeyFrames, KfxDemoTracks, KfxDemoEffects, KfxDemoSoftEffects, KfxDemoEditors}) part(demo);
    std::printf("kfx demo: %d objects, writing both formats\n", static_cast<int>(project.GetCount()));

    const std::string kfa = (dir / "demo.kfa").string();
    const std::string xml = (dir / "demo.xml").string();
    KfxSave(kfa, project);
    KfxSave(xml, project);
    bool ok = demo.ok;
    ok = CheckRoundTrip(kfa, project) && ok;
    ok = CheckRoundTrip(xml, project) && ok;
    std::printf("kfx demo: %s\n", ok ? "all checks passed" : "CHECKS FAILED");
    return ok ? kKfxOk : kKfxCheckFailed;
}

KfxRun Declare(CLI::App& command) {
    auto dir = std::make_shared<std::string>(kDefaultDir);
    command.footer(std::string("Builds a sample project of keyframes, writes it to DIR/demo.kfa and DIR/demo.xml,\n"
                               "reads both back and checks that they equal what was written. Exit code 3 if a\n"
                               "check fails."));
    command.add_option("DIR", *dir, "the folder to write into")->capture_default_str();
    return [dir] { return Run(*dir); };
}

const KfxRegistration kDemo({"demo", "build a sample project, write it in both formats and check it reads back", Declare});

}  // namespace
