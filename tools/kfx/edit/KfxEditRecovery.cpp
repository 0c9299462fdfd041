#include "KfxEditRecovery.h"

#include "KfxEditHost.h"
#include "platform/fw/CException.h"

#include <sys/stat.h>

#include <csignal>
#include <filesystem>

namespace {

volatile std::sig_atomic_t g_endSignal = 0;

extern "C" void NoteSignal(int sig) { g_endSignal = sig; }

}  // namespace

void KfxWatchEndSignals() {
    struct sigaction action{};
    action.sa_handler = NoteSignal;
    sigemptyset(&action.sa_mask);
    // SA_RESTART: a write in progress (a save) is not cut short by the signal.
    action.sa_flags = SA_RESTART;
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) sigaction(sig, &action, nullptr);
}

int KfxEndSignal() { return g_endSignal; }

void KfxNoteEndSignal(int sig) { g_endSignal = sig; }

std::string KfxRecoveryPath(const std::string& path) {
    std::filesystem::path p(path);
    const std::string ext = p.extension().string();
    p.replace_extension();
    return p.string() + ".recovery" + ext;
}

KfxRecoveryFound KfxFindRecovery(const std::string& path) {
    struct stat recovery{}, file{};
    if (::stat(KfxRecoveryPath(path).c_str(), &recovery) != 0) return KfxRecoveryFound::none;
    if (::stat(path.c_str(), &file) != 0) return KfxRecoveryFound::newer;
    const auto nanos = [](const struct timespec& t) { return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec; };
    // Written in the same tick of the file system's clock counts as newer: a save removes the
    // recovery file, so one written with the file is the later of the two.
    return nanos(recovery.st_mtim) >= nanos(file.st_mtim) ? KfxRecoveryFound::newer : KfxRecoveryFound::older;
}

// ---- The host's side ------------------------------------------------------------------------

void KfxEditHost::EndOnSignal(int sig) {
    m_endSignal = sig;
    m_playing = false;
    if (IsModified()) {
        const std::string recovery = KfxRecoveryPath(m_doc.Path());
        std::string why;
        m_recoveryReport = m_doc.SaveTo(recovery, why) ? "the unsaved changes are in " + recovery
                                                       : "the unsaved changes could not be kept: " + why;
    }
    m_quit = true;
}

bool KfxEditHost::RestoreRecovery() {
    if (!m_recoveryOffered || !m_slot) return false;
    if (m_slot->IsBusy()) {
        Say(L"finish the drag first");
        return false;
    }
    const std::string recovery = KfxRecoveryPath(m_doc.Path());
    std::string why;
    std::vector<int> changed;
    try {
        const std::unique_ptr<KfxEditDocument> saved = KfxEditDocument::Open(recovery);
        changed = m_doc.TakeTracksOf(*saved, why);
    } catch (const KfxError& e) {
        why = e.what();
    } catch (const CMemoryException&) {
        why = "out of memory";
    }
    if (!why.empty()) {
        Say(std::wstring(L"the recovery file cannot be restored: ") + CString::FromUtf8(why).GetString());
        return false;
    }
    m_recoveryOffered = false;
    try {
        for (int track : changed) m_history->Commit(track);
    } catch (const CMemoryException&) {
        m_lastEvent = L"restored, but this cannot be undone: out of memory";
    }
    m_slot->TrackRestored();
    m_list.SetRows(TrackRows());
    m_askedToQuit = false;
    m_lastEvent = L"restored the recovery file (" + std::to_wstring(changed.size()) + L" tracks changed); Ctrl+S saves it";
    UpdateTitle();
    Refresh();
    return true;
}

void KfxEditHost::DiscardRecovery() {
    if (!m_recoveryOffered) return;
    m_recoveryOffered = false;
    std::error_code ignored;
    std::filesystem::remove(KfxRecoveryPath(m_doc.Path()), ignored);
    Say(L"recovery file discarded");
}
