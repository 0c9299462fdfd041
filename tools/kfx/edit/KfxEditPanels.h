// The host window's own small windows: the list of the file's tracks, the status line and
// the list of keys F1 shows.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/Wnd.h"

/// WM_COMMAND code the track list sends its parent when a person picks a track.
constexpr UINT kTrackListPicked = 1;

/// One row per track ("2  position  3 keyframes"); the chosen one is highlighted. A click on
/// a row picks it: the parent gets WM_COMMAND (the list's id, kTrackListPicked).
class KfxTrackListPanel : public CWnd {
public:
    /// Pixels per row.
    static constexpr int kRowHeight = 22;

    void SetRows(std::vector<std::wstring> rows);
    void SetChosen(int row);
    int GetChosen() const { return m_chosen; }
    /// The row a person last clicked, -1 for none.
    int GetPicked() const { return m_picked; }

protected:
    void OnPaint() override;
    void OnLButtonDown(UINT flags, CPoint point) override;

private:
    std::vector<std::wstring> m_rows;
    int m_chosen = -1;
    int m_picked = -1;
};

/// One line of text on the bottom edge: where the current frame is and what just happened.
class KfxStatusLine : public CWnd {
public:
    void SetText(const std::wstring& text);
    const std::wstring& GetText() const { return m_text; }

protected:
    void OnPaint() override;

private:
    std::wstring m_text;
};

/// The keys and mouse actions, in two columns, over the editor while F1 shows it.
class KfxHelpPanel : public CWnd {
public:
    void SetLines(std::vector<std::pair<std::wstring, std::wstring>> lines);

protected:
    void OnPaint() override;
    void OnLButtonDown(UINT flags, CPoint point) override;

private:
    std::vector<std::pair<std::wstring, std::wstring>> m_lines;
};
