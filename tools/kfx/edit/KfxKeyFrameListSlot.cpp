#include "KfxKeyFrameListSlot.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "keyfrm/tracks/KivFXTracks.h"
#include "platform/ui/DC.h"

namespace {

// Panel layout in pixels: inset from its edges, height of a text line, colour swatch size.
constexpr int kInset = 10;
constexpr int kLineHeight = 18;
constexpr int kSwatch = 12;
constexpr COLORREF kPanelBack = RGB(250, 250, 246);
constexpr COLORREF kNoteText = RGB(110, 110, 110);
constexpr COLORREF kRule = RGB(200, 200, 200);
// The row of the keyframe at the current frame, in the amber the numeric edits use.
constexpr COLORREF kMarkedRow = RGB(255, 214, 120);

std::wstring Number(double v) {
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 6);
    return std::wstring(buf, r.ptr);
}

std::wstring Whole(long long v) { return std::to_wstring(v); }

CKivFXPosiKeyFrmList& Path(CKivObList* t) { return *static_cast<CKivFXPosiKeyFrmList*>(t); }
CKivFXColor32KeyFrmList& Ramp(CKivObList* t) { return *static_cast<CKivFXColor32KeyFrmList*>(t); }

BYTE ToByte(double v) { return static_cast<BYTE>(std::clamp(std::lround(v), 0L, 255L)); }

}  // namespace

// ---- The panel ------------------------------------------------------------------------

void KfxKeyFrameListPanel::SetContent(Content content) {
    m_content = std::move(content);
    if (m_hWnd) Invalidate(TRUE);
}

void KfxKeyFrameListPanel::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    KivSaveDC saved(dc);
    dc.SelectStockObject(DEFAULT_GUI_FONT);
    dc.SetBkMode(TRANSPARENT);
    dc.FillSolidRect(&client, kPanelBack);
    dc.Draw3dRect(&client, kRule, kRule);

    int y = kInset;
    auto line = [&](const std::wstring& text, COLORREF ink) {
        dc.SetTextColor(ink);
        CRect r(kInset, y, client.right - kInset, y + kLineHeight);
        dc.DrawText(text.c_str(), &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        y += kLineHeight;
    };
    line(m_content.title, GetSysColor(COLOR_WINDOWTEXT));
    line(m_content.note, kNoteText);
    y += kLineHeight / 2;

    const size_t columns = std::max<size_t>(1, m_content.columns.size());
    const int width = (client.Width() - 2 * kInset) / static_cast<int>(columns);
    auto row = [&](const std::vector<std::wstring>& cells, COLORREF swatch, bool hasSwatch) {
        for (size_t c = 0; c < cells.size() && c < columns; ++c) {
            CRect r(kInset + static_cast<int>(c) * width, y, kInset + static_cast<int>(c + 1) * width, y + kLineHeight);
            if (c == 0 && hasSwatch) {
                dc.FillSolidRect(r.left, r.top + (kLineHeight - kSwatch) / 2, kSwatch, kSwatch, swatch);
                r.left += kSwatch + 4;
            }
            dc.DrawText(cells[c].c_str(), &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        }
        y += kLineHeight;
    };
    dc.SetTextColor(kNoteText);
    row(m_content.columns, 0, false);
    dc.FillSolidRect(kInset, y, client.Width() - 2 * kInset, 1, kRule);
    dc.SetTextColor(GetSysColor(COLOR_WINDOWTEXT));
    for (size_t i = 0; i < m_content.rows.size(); ++i) {
        if (y + 2 * kLineHeight > client.bottom - kInset && i + 1 < m_content.rows.size()) {
            dc.SetTextColor(kNoteText);
            row({L"... and " + Whole(static_cast<long long>(m_content.rows.size() - i)) + L" more"}, 0, false);
            break;
        }
        if (static_cast<int>(i) == m_content.markedRow)
            dc.FillSolidRect(kInset, y, client.Width() - 2 * kInset, kLineHeight, kMarkedRow);
        const bool swatch = i < m_content.swatches.size();
        row(m_content.rows[i], swatch ? m_content.swatches[i] : 0, swatch);
    }
    if (m_content.rows.empty()) {
        dc.SetTextColor(kNoteText);
        row({L"(no keyframes yet)"}, 0, false);
    }
}

// ---- What both list slots share -----------------------------------------------------

bool KfxKeyFrameListSlot::Create(CWnd& host, CKivObList& track, const KfxEditTime& time) {
    m_track = &track;
    m_time = time;
    if (!m_panel.CreateEx(0, nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1), &host, 0)) return false;
    Refresh();
    return true;
}

void KfxKeyFrameListSlot::Layout(const CRect& area) { m_panel.MoveWindow(&area, TRUE); }

void KfxKeyFrameListSlot::SetTime(const KfxEditTime& time) {
    m_time = time;
    Refresh();
}

bool KfxKeyFrameListSlot::SendValues(const std::vector<double>& values) {
    if (!m_track || values.size() != Fields().size()) return false;
    const bool taken = Send(values);
    Refresh();
    return taken;
}

void KfxKeyFrameListSlot::Refresh() {
    if (m_track) m_panel.SetContent(Describe());
}

// ---- Position tracks ------------------------------------------------------------------

std::vector<KfxValueField> KfxPositionListSlot::Fields() const {
    const CKivFXPosiKeyFrmList& t = Path(m_track);
    return {KfxValueField{L"X", std::min(t.MinX, t.MaxX), std::max(t.MinX, t.MaxX), 1},
            KfxValueField{L"Y", std::min(t.MinY, t.MaxY), std::max(t.MinY, t.MaxY), 1},
            KfxValueField{L"Z", std::min(t.MinZ, t.MaxZ), std::max(t.MinZ, t.MaxZ), 1}};
}

KfxEditReading KfxPositionListSlot::Read() const {
    CKivFXPosiKeyFrmList& t = Path(m_track);
    float x = 0, y = 0, z = 0;
    KfxEditReading r;
    if (t.IsBaseOnFrame()) {
        t.InsValue(m_time.frame, x, y, z);
        r.onKeyFrame = KivFXKeyFrmIsPoint(m_time.frame, &t) != 0;
    } else {
        t.InsValue(m_time.Location(), x, y, z);
        r.onKeyFrame = KivFXKeyFrmIsPoint(m_time.Location(), &t) != 0;
    }
    r.values = {x, y, z};
    return r;
}

bool KfxPositionListSlot::Send(const std::vector<double>& v) {
    CKivFXPosiKeyFrmList& t = Path(m_track);
    const float x = static_cast<float>(v[0]), y = static_cast<float>(v[1]), z = static_cast<float>(v[2]);
    return (t.IsBaseOnFrame() ? t.SendKeyFrmValue(m_time.frame, x, y, z) : t.SendKeyFrmValue(m_time.Location(), x, y, z)) != nullptr;
}

KfxKeyFrameListPanel::Content KfxPositionListSlot::Describe() const {
    const CKivFXPosiKeyFrmList& t = Path(m_track);
    KfxKeyFrameListPanel::Content c;
    c.title = L"Position keyframes: a read-only list";
    c.note = L"This build has no position editor yet. Type X, Y and Z at the current frame below.";
    c.columns = {L"#", L"frame", L"location", L"x", L"y", L"z"};
    for (int i = 0; i < t.GetKeyFrmCount(); ++i) {
        const CKivFXPosiKeyFrm* k = t.GetFXKeyFrm(i);
        if (!k) continue;
        const bool here = t.IsBaseOnFrame() ? k->Frame == m_time.frame : k->Location == m_time.Location();
        if (here) c.markedRow = static_cast<int>(c.rows.size());
        c.rows.push_back({Whole(i + 1), Whole(k->Frame), Number(k->Location), Number(k->PosiX), Number(k->PosiY), Number(k->PosiZ)});
    }
    return c;
}

// ---- Colour tracks ---------------------------------------------------------------------

std::vector<KfxValueField> KfxColourListSlot::Fields() const {
    return {KfxValueField{L"R", 0, 255, 0}, KfxValueField{L"G", 0, 255, 0}, KfxValueField{L"B", 0, 255, 0},
            KfxValueField{L"A", 0, 255, 0}};
}

KfxEditReading KfxColourListSlot::Read() const {
    CKivFXColor32KeyFrmList& t = Ramp(m_track);
    BYTE r = 255, g = 255, b = 255, a = 255;
    t.InsValue(m_time.Location(), r, g, b, a);
    KfxEditReading reading;
    reading.values = {double(r), double(g), double(b), double(a)};
    reading.onKeyFrame = KivFXKeyFrmIsPoint(m_time.Location(), &t) != 0;
    return reading;
}

bool KfxColourListSlot::Send(const std::vector<double>& v) {
    CKivFXColor32KeyFrmList& t = Ramp(m_track);
    return t.SendKeyFrmValue(m_time.Location(), ToByte(v[0]), ToByte(v[1]), ToByte(v[2]), ToByte(v[3])) != nullptr;
}

KfxKeyFrameListPanel::Content KfxColourListSlot::Describe() const {
    const CKivFXColor32KeyFrmList& t = Ramp(m_track);
    KfxKeyFrameListPanel::Content c;
    c.title = L"Colour keyframes: a read-only list";
    c.note = L"This build has no colour editor yet. Type R, G, B and A at the current location below.";
    c.columns = {L"#", L"location", L"red", L"green", L"blue", L"alpha"};
    for (int i = 0; i < t.GetKeyFrmCount(); ++i) {
        const CKivFXColor32KeyFrm* k = t.GetFXKeyFrm(i);
        if (!k) continue;
        const tagCOLOR32 col = k->GetColor32();
        if (k->Location == m_time.Location()) c.markedRow = static_cast<int>(c.rows.size());
        c.rows.push_back({Whole(i + 1), Number(k->Location), Whole(col.red), Whole(col.green), Whole(col.blue), Whole(col.alpha)});
        c.swatches.push_back(RGB(col.red, col.green, col.blue));
    }
    return c;
}
