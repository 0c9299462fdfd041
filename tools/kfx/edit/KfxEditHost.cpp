#include "KfxEditHost.h"

#include <algorithm>
#include <climits>
#include <cwchar>
#include <filesystem>

#include "KfxEditRecovery.h"
#include "platform/fw/CException.h"
#include "platform/ui/DC.h"
#include "platform/ui/Screen.h"

namespace {

// The help panel's greatest size, and its distance from the editor's edges.
constexpr int kHelpWidth = 620;
constexpr int kHelpLineHeight = 19;
constexpr int kHelpMargin = 10;

std::wstring Wide(const std::string& utf8) { return CString::FromUtf8(utf8).GetString(); }

std::wstring Fixed(double v, int decimals) {
    wchar_t buf[64];
    std::swprintf(buf, sizeof buf / sizeof buf[0], L"%.*f", decimals, v);
    return buf;
}

std::vector<std::pair<std::wstring, std::wstring>> KeyHelp() {
    return {{L"Left / Right", L"previous / next frame (with Shift: 10 frames)"},
            {L"Home / End", L"story in / story out"},
            {L"Up / Down", L"previous / next track"},
            {L"Tab", L"into the value boxes (type, then Enter); Tab again leaves them"},
            {L"Space", L"play from the current frame; again (or Escape) stops"},
            {L"1 / 2 / 3 / 4", L"linear / ease in / ease out / ease in-out handles"},
            {L"Ctrl+C / Ctrl+V", L"copy the selected keyframes / paste at the current frame"},
            {L"Ctrl+S", L"save, in the file's own format"},
            {L"Ctrl+Z", L"undo the last change, on whichever track"},
            {L"Ctrl+Shift+Z, Ctrl+Y", L"redo"},
            {L"Wheel / Shift+wheel", L"zoom the time around the pointer / scroll the curve"},
            {L"R / D", L"restore / discard a recovery file, when offered"},
            {L"F1", L"show or hide this list"},
            {L"Escape", L"stop playing; hide this list; quit (asks once when unsaved)"}};
}

}  // namespace

KfxEditHost::KfxEditHost(KfxEditDocument& doc, bool unsavedFromStart)
    : m_doc(doc), m_unsavedFromStart(unsavedFromStart), m_history(std::make_unique<KfxUndoHistory>(doc.Tracks())) {}

KfxEditHost::~KfxEditHost() {
    // The editor's windows go before the host's, while their parent still exists.
    m_edits.clear();
    m_slot.reset();
    if (m_hWnd) DestroyWindow();
}

bool KfxEditHost::CreateOnScreen(int track) {
    if (track < 0 || track >= static_cast<int>(m_doc.Tracks().size())) return false;
    if (!CreateEx(0, nullptr, nullptr, WS_POPUP | WS_VISIBLE | WS_MAXIMIZE | WS_CLIPCHILDREN, CRect(), nullptr, 0))
        return false;
    const DWORD child = WS_CHILD | WS_VISIBLE;
    if (!m_list.CreateEx(0, nullptr, nullptr, child, CRect(), this, kTrackListId) ||
        !m_status.CreateEx(0, nullptr, nullptr, child, CRect(), this, 0) ||
        !m_help.CreateEx(0, nullptr, nullptr, WS_CHILD, CRect(), this, 0))
        return false;
    if (!SelectTrack(track)) return false;
    SetFocus();
    // Never silently: a recovery file is offered until it is restored or discarded (or a save
    // puts newer work in its place), an older one too: the person decides what it holds.
    const KfxRecoveryFound recovery = KfxFindRecovery(m_doc.Path());
    m_recoveryOffered = recovery != KfxRecoveryFound::none;
    m_recoveryOlder = recovery == KfxRecoveryFound::older;
    Refresh();
    return true;
}

bool KfxEditHost::SelectTrack(int track) {
    const auto& tracks = m_doc.Tracks();
    if (track < 0 || track >= static_cast<int>(tracks.size()) || !m_hWnd) return false;
    if (m_slot && m_slot->IsBusy()) return false;
    CKivObList& t = *tracks[static_cast<size_t>(track)];
    std::unique_ptr<KfxEditorSlot> slot = KfxMakeEditorSlot(t);
    if (!slot) return false;
    m_edits.clear();
    m_slot.reset();
    m_track = track;
    m_time = KfxStoryOf(t);
    if (!slot->Create(*this, t, m_time)) return false;
    m_slot = std::move(slot);
    MakeValueEdits();
    auto help = KeyHelp();
    for (auto& line : m_slot->MouseHelp()) help.push_back(std::move(line));
    m_help.SetLines(std::move(help));
    m_help.BringWindowToTop();
    m_list.SetRows(TrackRows());
    m_list.SetChosen(track);
    m_lastEvent = L"editing track " + std::to_wstring(track + 1) + L" in the " + KfxEditorNameFor(t);
    m_playing = false;
    // The window that had the keys may have gone with the old editor: the host takes them,
    // or no key would reach anyone until the next click.
    SetFocus();
    Layout();
    Refresh();
    UpdateTitle();
    return true;
}

CKivObList* KfxEditHost::Track() const {
    const auto& tracks = m_doc.Tracks();
    return m_track >= 0 && m_track < static_cast<int>(tracks.size()) ? tracks[static_cast<size_t>(m_track)] : nullptr;
}


CKivAquaEdit* KfxEditHost::ValueEdit(int i) const {
    return i >= 0 && i < static_cast<int>(m_edits.size()) ? m_edits[static_cast<size_t>(i)].get() : nullptr;
}

bool KfxEditHost::IsHelpShown() const { return m_help.m_hWnd && (m_help.GetStyle() & WS_VISIBLE); }

bool KfxEditHost::IsModified() const {
    return m_unsavedFromStart || m_history->IsModified();
}

std::vector<std::wstring> KfxEditHost::TrackRows() const {
    std::vector<std::wstring> rows;
    const auto& tracks = m_doc.Tracks();
    for (size_t i = 0; i < tracks.size(); ++i)
        rows.push_back(std::to_wstring(i + 1) + L"  " + Wide(KfxTrackKind(*tracks[i])) + L"  " +
                       std::to_wstring(tracks[i]->GetCount()) + L" keyframes");
    return rows;
}

// ---- Layout and painting --------------------------------------------------------------

CRect KfxEditHost::TrackListArea() const {
    CRect c;
    GetClientRect(&c);
    return CRect(0, 0, std::min<int>(kTrackListWidth, c.right), std::max<int>(0, c.bottom - kStatusHeight));
}

CRect KfxEditHost::EditorArea() const {
    CRect c;
    GetClientRect(&c);
    const int left = std::min<int>(kTrackListWidth, c.right);
    return CRect(left, 0, std::max<int>(left, c.right), std::max<int>(0, c.bottom - kStatusHeight - ValueRowHeight()));
}

CRect KfxEditHost::ValueRow() const {
    const CRect editor = EditorArea();
    return CRect(editor.left, editor.bottom, editor.right, editor.bottom + ValueRowHeight());
}

int KfxEditHost::ValueRowHeight() const {
    // An editor that shows its own values takes the row of the host's numeric edits too.
    return m_slot && !m_slot->HostEdits() ? 0 : kValueRowHeight;
}

void KfxEditHost::Layout() {
    if (!m_hWnd || !m_list.m_hWnd) return;
    CRect c;
    GetClientRect(&c);
    const CRect list = TrackListArea();
    m_list.MoveWindow(&list, TRUE);
    m_status.MoveWindow(0, std::max<int>(0, c.bottom - kStatusHeight), c.Width(), kStatusHeight, TRUE);
    const CRect editor = EditorArea();
    if (m_slot) m_slot->Layout(editor);
    const CRect row = ValueRow();
    for (size_t i = 0; i < m_edits.size(); ++i) {
        const int x = row.left + kGap + static_cast<int>(i) * (kValueEditWidth + kGap);
        m_edits[i]->MoveWindow(x, row.top + kGap / 2, kValueEditWidth, row.Height() - kGap, TRUE);
    }
    const int helpHeight = static_cast<int>(KeyHelp().size() + (m_slot ? m_slot->MouseHelp().size() : 0)) * kHelpLineHeight + 2 * kHelpMargin;
    const int w = std::min(kHelpWidth, std::max(0, editor.Width() - 2 * kHelpMargin));
    const int h = std::min(helpHeight, std::max(0, editor.Height() - 2 * kHelpMargin));
    m_help.MoveWindow(editor.left + (editor.Width() - w) / 2, editor.top + (editor.Height() - h) / 2, w, h, TRUE);
    Invalidate(TRUE);
}

void KfxEditHost::OnSize(UINT, int, int) {
    Default();
    Layout();
}

void KfxEditHost::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));
}

void KfxEditHost::MakeValueEdits() {
    if (!m_slot->HostEdits()) return;
    const std::vector<KfxValueField> fields = m_slot->Fields();
    for (size_t i = 0; i < fields.size(); ++i) {
        AquaEdit_Describ d = KivAquaEditDescrib(fields[i].label, static_cast<int>(kFirstValueEditId + i));
        d.dMin = fields[i].min;
        d.dMax = fields[i].max;
        d.ePrecision = static_cast<AquaEdit_Precision_Type>(std::clamp(fields[i].decimals, 0, 3));
        auto edit = std::make_unique<CKivAquaEdit>();
        if (edit->AutoCreate(this, CRect(), d)) m_edits.push_back(std::move(edit));
    }
}

// ---- Readings, title and status ---------------------------------------------------------

void KfxEditHost::Refresh() {
    if (!m_slot) return;
    const KfxEditReading r = m_slot->Read();
    const std::vector<KfxValueField> fields = m_slot->Fields();
    std::wstring values;
    for (size_t i = 0; i < r.values.size() && i < fields.size(); ++i) {
        if (i < m_edits.size()) {
            m_edits[i]->SetValue(r.values[i], 0);
            m_edits[i]->SetValueState(r.onKeyFrame ? CKivAquaEdit::CE_VALUE_KEYFRAME : CKivAquaEdit::CE_VALUE_NORMAL);
        }
        values += (i ? L", " : L"") + std::wstring(fields[i].label) + L" " + Fixed(r.values[i], fields[i].decimals);
    }
    std::wstring text = L"Frame " + std::to_wstring(m_time.frame) + L" of " + std::to_wstring(m_time.storyIn) + L".." +
                        std::to_wstring(m_time.storyOut) + L" (location " + Fixed(m_time.Location(), 3) + L")   " + values +
                        (r.onKeyFrame ? L"   on a keyframe" : L"   between keyframes");
    if (!m_lastEvent.empty()) text += L"   |   " + m_lastEvent;
    if (m_recoveryOffered)
        text = (m_recoveryOlder ? L"An OLDER RECOVERY FILE (from before this file was last saved) is there: R restores it, "
                                  L"D discards it, a save removes it   |   "
                                : L"A RECOVERY FILE newer than this file is there: R restores it, D discards it   |   ") +
               text;
    m_status.SetText(text);
}

void KfxEditHost::Say(const std::wstring& what) {
    m_lastEvent = what;
    Refresh();
}

void KfxEditHost::UpdateTitle() {
    const std::wstring name = Wide(std::filesystem::path(m_doc.Path()).filename().string());
    const std::wstring title = (IsModified() ? L"*" : L"") + name + L" - kfx edit";
    CString now;
    GetWindowText(now);
    if (title != now.GetString()) SetWindowText(title.c_str());
}

// ---- Changes, undo, save, quit ------------------------------------------------------------

void KfxEditHost::Committed() {
    try {
        m_history->Commit(m_track);
    } catch (const CMemoryException&) {
        m_lastEvent = L"this change cannot be undone: out of memory";
    }
    m_askedToQuit = false;
    m_list.SetRows(TrackRows());
    UpdateTitle();
    Refresh();
}

void KfxEditHost::ValuesTyped() {
    if (!m_slot) return;
    std::vector<double> values;
    for (const auto& edit : m_edits) values.push_back(edit->GetValue());
    if (m_slot->SendValues(values)) {
        m_lastEvent = L"value set at frame " + std::to_wstring(m_time.frame);
        Committed();
    } else {
        Say(L"the value was not taken here");
    }
}

void KfxEditHost::TrackRestored() {
    m_slot->TrackRestored();
    m_list.SetRows(TrackRows());
    UpdateTitle();
    Refresh();
}

bool KfxEditHost::Undo() { return StepHistory(false); }

bool KfxEditHost::Redo() { return StepHistory(true); }

bool KfxEditHost::StepHistory(bool redo) {
    const wchar_t* verb = redo ? L"redo" : L"undo";
    if (!m_slot) return false;
    if (m_slot->IsBusy()) {
        Say(L"finish the drag first");
        return false;
    }
    // The step's track is shown first, so a person sees what the step changes.
    const int track = redo ? m_history->RedoTrack() : m_history->UndoTrack();
    if (track < 0) {
        Say(std::wstring(L"nothing to ") + verb);
        return false;
    }
    if (track != m_track && !SelectTrack(track)) return false;
    try {
        if (!(redo ? m_history->Redo() : m_history->Undo())) return false;
    } catch (const CMemoryException&) {
        Say(std::wstring(L"cannot ") + verb + L": out of memory");
        return false;
    }
    m_lastEvent = std::wstring(redo ? L"redone" : L"undone") + L" on track " + std::to_wstring(track + 1);
    TrackRestored();
    return true;
}

bool KfxEditHost::Save() {
    std::string why;
    if (!m_doc.Save(why)) {
        Say(L"NOT SAVED: " + Wide(why));
        return false;
    }
    m_unsavedFromStart = false;
    m_history->MarkSaved();
    // What the recovery file kept is in the file now.
    std::error_code ignored;
    std::filesystem::remove(KfxRecoveryPath(m_doc.Path()), ignored);
    m_recoveryOffered = false;
    m_askedToQuit = false;
    UpdateTitle();
    Say(L"saved " + Wide(m_doc.Path()));
    return true;
}

void KfxEditHost::RequestQuit() {
    if (!IsModified() || m_askedToQuit) {
        m_quit = true;
        return;
    }
    m_askedToQuit = true;
    Say(L"UNSAVED CHANGES: Escape (or close) again quits without saving; Ctrl+S saves");
}

void KfxEditHost::OnClose() { RequestQuit(); }

void KfxEditHost::ToggleHelp() { m_help.ShowWindow(IsHelpShown() ? SW_HIDE : SW_SHOW); }

void KfxEditHost::StepFrame(int delta) {
    GoToFrame(static_cast<int>(std::clamp<long long>(static_cast<long long>(m_time.frame) + delta, INT_MIN, INT_MAX)));
}

void KfxEditHost::GoToFrame(int frame) {
    if (!m_slot || !m_time.MoveTo(frame)) return;
    m_slot->SetTime(m_time);
    Refresh();
}

// ---- Messages and keys ---------------------------------------------------------------

LRESULT KfxEditHost::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    // The host answers for all its windows: it knows which are value boxes and where a
    // press would start a drag.
    if (msg == WM_SETCURSOR) return static_cast<LRESULT>(CursorAt(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))));
    if (msg == WM_COMMAND) {
        const UINT id = LOWORD(static_cast<DWORD_PTR>(wParam));
        const UINT code = HIWORD(static_cast<DWORD_PTR>(wParam));
        if (id == kTrackListId && code == kTrackListPicked) {
            SelectTrack(m_list.GetPicked());
            return 0;
        }
        if (id >= kFirstValueEditId && id < kFirstValueEditId + m_edits.size()) {
            if (code == CEN_VALUE_CHANGED) ValuesTyped();
            return 0;
        }
    }
    if (m_slot && (msg >= kFirstRegisteredMessage || msg == WM_COMMAND)) {
        const KfxEditorNotice notice = m_slot->Route(msg, wParam, lParam);
        if (notice.handled) {
            if (!notice.detail.empty()) m_lastEvent = notice.detail;
            if (notice.frameMoved) m_time.MoveTo(notice.frame);
            if (notice.finished)
                Committed();
            else
                Refresh();
            return 0;
        }
    }
    return CWnd::WindowProc(msg, wParam, lParam);
}

CKivAquaEdit* KfxEditHost::ValueEditOf(HWND h) const {
    if (!h) return nullptr;
    for (const auto& edit : m_edits)
        if (edit->m_hWnd == h) return edit.get();
    return m_slot ? m_slot->ValueBox(h) : nullptr;
}

BOOL KfxEditHost::PreTranslateMessage(MSG* msg) {
    if (msg->message == WM_MOUSEWHEEL) {
        const auto turned = static_cast<short>(HIWORD(static_cast<DWORD_PTR>(msg->wParam)));
        const UINT keys = LOWORD(static_cast<DWORD_PTR>(msg->wParam));
        const int steps = turned / WHEEL_DELTA != 0 ? turned / WHEEL_DELTA : (turned > 0 ? 1 : -1);
        Wheel(CPoint(GET_X_LPARAM(msg->lParam), GET_Y_LPARAM(msg->lParam)), steps, (keys & MK_SHIFT) != 0);
        return TRUE;
    }
    if (msg->message == WM_LBUTTONDOWN || msg->message == WM_RBUTTONDOWN) {
        // A click anywhere but a value box takes the keys back (and ends any typing there).
        if (!ValueEditOf(msg->hwnd) && GetFocus() != this) SetFocus();
        return FALSE;
    }
    return msg->message == WM_KEYDOWN && OnShortcut(static_cast<UINT>(msg->wParam));
}

bool KfxEditHost::OnShortcut(UINT vk) {
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    CWnd* focus = GetFocus();
    CKivAquaEdit* const box = focus ? ValueEditOf(focus->m_hWnd) : nullptr;
    const bool inEdit = box != nullptr;
    const bool typing = inEdit && box->IsTyping();
    if (ctrl) {
        if (vk != 'S' && vk != 'Z' && vk != 'Y' && vk != 'C' && vk != 'V') return false;
        // Typed text is taken first, as leaving the box would.
        if (inEdit) SetFocus();
        if (vk == 'S') Save();
        else if (vk == 'C' || vk == 'V') OnFeatureKey(vk, true);
        else if (vk == 'Y' || shift) Redo();
        else Undo();
        return true;
    }
    if (vk == VK_F1) {
        ToggleHelp();
        return true;
    }
    // Enter takes the typed value, as leaving the box does, and gives the keys back.
    if (inEdit && vk == VK_RETURN) {
        SetFocus();
        return true;
    }
    // While text is typed, Escape and Backspace drop or change it.
    if (typing) return false;
    if (vk == VK_ESCAPE) {
        if (m_playing)
            StopPlaying();
        else if (IsHelpShown())
            ToggleHelp();
        else
            RequestQuit();
        return true;
    }
    if (vk == VK_TAB) {
        size_t next = 0;
        while (inEdit && next < m_edits.size() && m_edits[next].get() != focus) ++next;
        if (inEdit) ++next;
        if (next < m_edits.size())
            m_edits[next]->SetFocus();
        else
            SetFocus();
        return true;
    }
    // Arrows and the page keys in a value box change its value.
    if (inEdit) return false;
    if (OnFeatureKey(vk, false)) return true;
    switch (vk) {
        case VK_LEFT: StepFrame(shift ? -kBigStep : -1); return true;
        case VK_RIGHT: StepFrame(shift ? kBigStep : 1); return true;
        case VK_HOME:
            GoToFrame(m_time.storyIn);
            // Playing goes on from story in.
            if (m_playing) {
                m_playFrom = m_time.frame;
                m_playStart = Clock::now();
            }
            return true;
        case VK_END: GoToFrame(m_time.storyOut); return true;
        case VK_UP: SelectTrack(m_track - 1); return true;
        case VK_DOWN: SelectTrack(m_track + 1); return true;
        default: return false;
    }
}
