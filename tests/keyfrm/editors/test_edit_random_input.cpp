// kfx edit's editors under random input a person could give, each holding a random track:
// after every event the track stays sorted, keyframes keep distinct places, values stay in
// the track's range, handles stay on their side of their keyframe, and an editor holds the
// mouse exactly while it drags. Every input that ever failed is kept under random-input/
// and replayed. Each editor is one row of kEditors.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>

#include "EditRandomInput.h"
#include "KfxEditHost.h"
#include "keyfrm/tracks/KivFXTracks.h"
#include "platform/ui/Menu.h"
#include "platform/ui/Screen.h"

namespace {

#if KIVFX_SANITIZED_BUILD
constexpr int kEventsPerEditor = 10000;  // the sanitizers make every event many times dearer
#else
constexpr int kEventsPerEditor = 100000;
#endif
// Events given to one random track before the next.
constexpr int kEventsPerTrack = kEventsPerEditor / 10;
// The screen the host covers: small enough to paint fast, large enough for every part.
constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 400;
// Moves land this close to a keyframe's mark or handle half of the time, to grab them.
constexpr int kJitter = 4;

using Track = std::unique_ptr<CKivObList>;
using Rng = std::mt19937_64;

int Uniform(Rng& rng, int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
float UniformF(Rng& rng, float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(rng); }

// Distinct frames in [0, span], sorted.
std::vector<int> DistinctFrames(Rng& rng, int n, int span) {
    std::vector<int> frames;
    while (static_cast<int>(frames.size()) < n) {
        const int f = Uniform(rng, 0, span);
        if (std::find(frames.begin(), frames.end(), f) == frames.end()) frames.push_back(f);
    }
    std::sort(frames.begin(), frames.end());
    return frames;
}

Track RandomScalar(Rng& rng) {
    auto t = std::make_unique<CKivFXInsKeyFrmList>();
    t->SetBaseOnFrame(Uniform(rng, 0, 3) != 0);
    t->MinValue = UniformF(rng, -200, 0);
    t->MaxValue = t->MinValue + UniformF(rng, 1, 600);
    t->DefValue = UniformF(rng, t->MinValue, t->MaxValue);
    t->InsMode = Uniform(rng, 0, 4) == 0 ? 2 : Uniform(rng, 0, 1);  // now and then a kind older projects stored
    t->CtrlMode = Uniform(rng, 0, 2);
    const int span = Uniform(rng, 1, 300);
    for (int f : DistinctFrames(rng, Uniform(rng, 0, std::min(8, span + 1)), span)) {
        auto k = std::make_unique<CKivFXValueKeyFrm>();
        k->Frame = f;
        k->Location = static_cast<double>(f) / span;
        k->Value = UniformF(rng, t->MinValue, t->MaxValue);
        k->PtFore = {UniformF(rng, -50, 50), -static_cast<double>(Uniform(rng, 0, 10))};
        k->PtAfter = {UniformF(rng, -50, 50), static_cast<double>(Uniform(rng, 0, 10))};
        t->AddTail(k.release());
    }
    return t;
}

Track RandomPath(Rng& rng) {
    auto t = std::make_unique<CKivFXPosiKeyFrmList>();
    t->SetBaseOnFrame(Uniform(rng, 0, 1));
    t->InsMode = Uniform(rng, 0, 1);
    const int span = Uniform(rng, 1, 300);
    for (int f : DistinctFrames(rng, Uniform(rng, 0, std::min(6, span + 1)), span)) {
        auto k = std::make_unique<CKivFXPosiKeyFrm>();
        k->Frame = f;
        k->Location = static_cast<double>(f) / span;
        k->PosiX = UniformF(rng, t->MinX, t->MaxX);
        k->PosiY = UniformF(rng, t->MinY, t->MaxY);
        k->PosiZ = UniformF(rng, t->MinZ, t->MaxZ);
        t->AddTail(k.release());
    }
    return t;
}

Track RandomRamp(Rng& rng) {
    auto t = std::make_unique<CKivFXColor32KeyFrmList>();
    for (int f : DistinctFrames(rng, Uniform(rng, 0, 6), 100))
        t->SendKeyFrmValue(f / 100.0, static_cast<ULONG>(Uniform(rng, 0, 0x7FFFFFFF)));
    return t;
}

// The places of a track's keyframes in its own order: Frame or Location.
template <class T>
std::vector<double> Places(const T& t, bool byFrame) {
    std::vector<double> places;
    for (int i = 0; i < t.GetKeyFrmCount(); ++i)
        if (const auto* k = t.GetFXKeyFrm(i)) places.push_back(byFrame ? k->Frame : k->Location);
    return places;
}

void CheckPlaces(const std::vector<double>& places, std::string& fault, const char* by = "location") {
    for (size_t i = 1; i < places.size(); ++i) {
        if (places[i] < places[i - 1]) fault = std::string("keyframes out of order by ") + by + " at " + std::to_string(i);
        if (places[i] == places[i - 1]) fault = std::string("two keyframes share one ") + by + " at " + std::to_string(i);
    }
}

// The dialogs move keyframes by Location and keep the Frames of a frame-placed track in
// step, so both orders hold after every event.
template <class T>
void CheckTimedPlaces(const T& t, std::string& fault) {
    CheckPlaces(Places(t, false), fault);
    if (t.IsBaseOnFrame()) CheckPlaces(Places(t, true), fault, "frame");
}

void CheckScalar(const CKivObList& list, std::string& fault) {
    const auto& t = static_cast<const CKivFXInsKeyFrmList&>(list);
    CheckTimedPlaces(t, fault);
    for (int i = 0; i < t.GetKeyFrmCount(); ++i) {
        const CKivFXValueKeyFrm* k = t.GetFXKeyFrm(i);
        if (!(k->Value >= t.MinValue && k->Value <= t.MaxValue)) fault = "value out of range at " + std::to_string(i);
        if (k->PtFore.PosOffset > 0) fault = "fore handle after its keyframe at " + std::to_string(i);
        if (k->PtAfter.PosOffset < 0) fault = "after handle before its keyframe at " + std::to_string(i);
    }
}

void CheckPath(const CKivObList& list, std::string& fault) {
    const auto& t = static_cast<const CKivFXPosiKeyFrmList&>(list);
    CheckTimedPlaces(t, fault);
    for (int i = 0; i < t.GetKeyFrmCount(); ++i) {
        const CKivFXPosiKeyFrm* k = t.GetFXKeyFrm(i);
        if (!(k->PosiX >= t.MinX && k->PosiX <= t.MaxX && k->PosiY >= t.MinY && k->PosiY <= t.MaxY && k->PosiZ >= t.MinZ &&
              k->PosiZ <= t.MaxZ))
            fault = "position out of range at " + std::to_string(i);
    }
}

void CheckRamp(const CKivObList& list, std::string& fault) {
    CheckPlaces(Places(static_cast<const CKivFXColor32KeyFrmList&>(list), false), fault, "location");
}

struct EditorRow {
    const char* name;
    KfxTrackKindId kind;
    Track (*makeTrack)(Rng&);
    void (*check)(const CKivObList&, std::string&);
};

// One row per editor; an editor joining kfx edit joins here with its track kind's checks.
const EditorRow kEditors[] = {
    {"curve", KfxTrackKindId::scalar, RandomScalar, CheckScalar},
    {"position", KfxTrackKindId::position, RandomPath, CheckPath},
    {"colour", KfxTrackKindId::colour, RandomRamp, CheckRamp},
};

const EditorRow* RowNamed(const std::string& name) {
    for (const EditorRow& row : kEditors)
        if (name == row.name) return &row;
    return nullptr;
}

// Keys a person presses; saving is left out (it writes the disk and is tested by itself).
struct KeyChoice {
    UINT vk;
    UINT modifiers;
};
const KeyChoice kKeys[] = {
    {VK_LEFT, 0}, {VK_RIGHT, 0}, {VK_LEFT, MK_SHIFT}, {VK_RIGHT, MK_SHIFT}, {VK_HOME, 0}, {VK_END, 0},
    {'Z', MK_CONTROL}, {'Z', MK_CONTROL | MK_SHIFT}, {'Y', MK_CONTROL}, {VK_TAB, 0}, {VK_RETURN, 0},
    {VK_ESCAPE, 0}, {VK_F1, 0}, {VK_UP, 0}, {VK_DOWN, 0}, {VK_BACK, 0}, {VK_PRIOR, 0}, {VK_NEXT, 0},
};

/// The host over a random track, and the events it takes.
class Session {
public:
    Session(const EditorRow& row, std::uint64_t seed) : m_row(row), m_rng(seed) {
        m_path = (std::filesystem::temp_directory_path() / ("kfx-random-" + std::to_string(getpid()) + ".kfa")).string();
        m_doc = KfxEditDocument::New(row.kind, m_path);
        *m_doc->Tracks()[0] = *row.makeTrack(m_rng);
        KivScreen::Get().Resize(kScreenWidth, kScreenHeight);
        m_host = std::make_unique<KfxEditHost>(*m_doc, true);
        m_created = m_host->CreateOnScreen(0);
        KivSetPopupMenuHandler([this](const CMenu& menu, CPoint) -> UINT {
            const int n = menu.GetMenuItemCount();
            if (m_choice == 0 || n == 0) return 0;
            return menu.GetMenuItemID(static_cast<int>((m_choice - 1) % static_cast<UINT>(n)));
        });
    }
    ~Session() {
        KivSetPopupMenuHandler(nullptr);
        ReleaseCapture();
        m_host.reset();
        KivScreen::Get().SetModifiers(0);
        std::filesystem::remove(m_path);
    }
    bool Created() const { return m_created; }

    EditEvent Next() {
        EditEvent e;
        const int roll = Uniform(m_rng, 0, 99);
        e.kind = roll < 35 ? EditEvent::move : roll < 50 ? EditEvent::down : roll < 65 ? EditEvent::up
                 : roll < 73 ? EditEvent::rightClick : roll < 93 ? EditEvent::key : EditEvent::character;
        e.pt = Point();
        if (e.kind == EditEvent::rightClick) e.code = static_cast<UINT>(Uniform(m_rng, 0, 8));
        if (e.kind == EditEvent::key) {
            const KeyChoice& k = kKeys[Uniform(m_rng, 0, static_cast<int>(std::size(kKeys)) - 1)];
            e.code = k.vk;
            e.modifiers = k.modifiers;
        }
        if (e.kind == EditEvent::character) e.code = static_cast<UINT>("0123456789.-e"[Uniform(m_rng, 0, 12)]);
        return e;
    }

    void Give(const EditEvent& e) {
        KivScreen& screen = KivScreen::Get();
        switch (e.kind) {
            case EditEvent::move: screen.MouseMove(e.pt); break;
            case EditEvent::down: screen.MouseDown(e.pt); break;
            case EditEvent::up: screen.MouseUp(e.pt); break;
            case EditEvent::rightClick:
                m_choice = e.code;
                screen.MouseDown(e.pt, MK_RBUTTON);
                screen.MouseUp(e.pt, MK_RBUTTON);
                break;
            case EditEvent::key:
                screen.SetModifiers(e.modifiers);
                screen.KeyDown(e.code);
                screen.KeyUp(e.code);
                screen.SetModifiers(0);
                break;
            case EditEvent::character: screen.Char(e.code); break;
        }
        screen.PaintAll();
    }

    /// Whether an editor drag is on, and how many undo steps the host holds: the input
    /// reached the editor and changed the track.
    bool Dragging() const { return m_host->Slot() && m_host->Slot()->IsBusy(); }
    size_t Steps() const { return m_host->History() ? m_host->History()->Size() : 0; }
    bool Drags() const { return m_host->Slot() && !m_host->Slot()->GripPoints().empty(); }

    /// The first broken rule after an event, or empty.
    std::string Fault() const {
        std::string fault;
        const CKivObList* track = m_host->Track();
        if (!track || !m_host->Slot()) return "the host lost its track or editor";
        m_row.check(*track, fault);
        const CWnd* capture = CWnd::GetCapture();
        const bool holds = capture && m_host->Slot()->DragsIn(capture);
        if (m_host->Slot()->IsBusy() != holds)
            fault = m_host->Slot()->IsBusy() ? "a drag without the mouse capture" : "the mouse captured without a drag";
        return fault;
    }

private:
    // Half the time near a keyframe or one of its handles, else anywhere on the screen.
    CPoint Point() {
        const std::vector<CPoint> keys = m_host->Slot() ? m_host->Slot()->GripPoints() : std::vector<CPoint>{};
        if (!keys.empty() && Uniform(m_rng, 0, 1) == 0) {
            const CPoint k = keys[static_cast<size_t>(Uniform(m_rng, 0, static_cast<int>(keys.size()) - 1))];
            // Handles lie along the curve either side; a wider reach finds them.
            const int reach = Uniform(m_rng, 0, 3) == 0 ? 60 : kJitter;
            return CPoint(k.x + Uniform(m_rng, -reach, reach), k.y + Uniform(m_rng, -reach, reach));
        }
        return CPoint(Uniform(m_rng, -10, kScreenWidth + 10), Uniform(m_rng, -10, kScreenHeight + 10));
    }

    const EditorRow& m_row;
    Rng m_rng;
    std::string m_path;
    std::unique_ptr<KfxEditDocument> m_doc;
    std::unique_ptr<KfxEditHost> m_host;
    bool m_created = false;
    UINT m_choice = 0;
};

std::filesystem::path ReplayDir() { return std::filesystem::path(KIVFX_SOURCE_DIR) / "tests/keyfrm/editors/random-input"; }

// Writes what led to a fault where a developer finds it, to be kept under random-input/.
std::string KeepFailure(const EditorRow& row, std::uint64_t seed, const std::vector<EditEvent>& events) {
    const std::filesystem::path out =
        std::filesystem::path(KIVFX_BINARY_DIR) / ("random-input-" + std::string(row.name) + "-" + std::to_string(seed) + ".txt");
    std::ofstream file(out);
    file << row.name << ' ' << seed << '\n';
    for (const EditEvent& e : events) file << EditEventText(e) << '\n';
    return out.string();
}

std::uint64_t SeedFor(size_t row) {
    // KIVFX_RANDOM_SEED varies the runs; by default every build runs the same inputs.
    const char* s = std::getenv("KIVFX_RANDOM_SEED");
    return (s ? std::strtoull(s, nullptr, 10) : 20240601u) + row;
}

}  // namespace

TEST(EditRandomInput, EveryEditorKeepsItsTrackSoundUnderRandomInput) {
    for (size_t r = 0; r < std::size(kEditors); ++r) {
        const EditorRow& row = kEditors[r];
        int dragging = 0;
        size_t steps = 0;
        bool drags = false;
        // A new random track every kEventsPerTrack events.
        for (int t = 0; t < kEventsPerEditor / kEventsPerTrack; ++t) {
            const std::uint64_t seed = SeedFor(r) * 1000 + static_cast<std::uint64_t>(t);
            Session session(row, seed);
            ASSERT_TRUE(session.Created()) << row.name;
            drags = drags || session.Drags();
            std::vector<EditEvent> events;
            for (int i = 0; i < kEventsPerTrack; ++i) {
                events.push_back(session.Next());
                session.Give(events.back());
                dragging += session.Dragging();
                steps = std::max(steps, session.Steps());
                const std::string fault = session.Fault();
                if (!fault.empty()) {
                    FAIL() << row.name << " editor, track " << seed << ", event " << i << " (" << EditEventText(events.back())
                           << "): " << fault << "\nThe input is in " << KeepFailure(row, seed, events) << "; copy it to "
                           << ReplayDir().string();
                }
            }
        }
        EXPECT_GT(steps, 1u) << row.name << ": the input never changed the track";
        if (drags) {
            EXPECT_GT(dragging, kEventsPerEditor / 100) << row.name << ": the input seldom dragged";
        }
        RecordProperty(std::string(row.name) + "_drag_events", dragging);
    }
}

TEST(EditRandomInput, EveryInputThatOnceFailedStillPasses) {
    int replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(ReplayDir())) {
        if (entry.path().extension() != ".txt") continue;
        std::ifstream file(entry.path());
        std::string name;
        std::uint64_t seed = 0;
        file >> name >> seed;
        const EditorRow* row = RowNamed(name);
        ASSERT_NE(row, nullptr) << entry.path() << " names no editor";
        Session session(*row, seed);
        ASSERT_TRUE(session.Created());
        std::string line;
        std::getline(file, line);
        for (int i = 0; std::getline(file, line); ++i) {
            EditEvent e;
            ASSERT_TRUE(ParseEditEvent(line, e)) << entry.path() << ": " << line;
            session.Give(e);
            const std::string fault = session.Fault();
            ASSERT_TRUE(fault.empty()) << entry.path() << ", event " << i << ": " << fault;
        }
        ++replayed;
    }
    RecordProperty("replayed", replayed);
}
