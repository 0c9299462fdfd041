// Position and colour tracks in `kfx edit` until their editors are part of the build: a
// panel that lists the track's keyframes, labelled as a read-only list, with the host's
// numeric edits setting values at the current frame through the track itself.
#pragma once

#include <string>
#include <vector>

#include "KfxEditorSlot.h"

/// The panel: a title saying what it is, a header and one row per keyframe; the row of a
/// keyframe at the current frame is marked. It takes no input.
class KfxKeyFrameListPanel : public CWnd {
public:
    struct Content {
        std::wstring title;
        std::wstring note;
        std::vector<std::wstring> columns;
        std::vector<std::vector<std::wstring>> rows;
        std::vector<COLORREF> swatches;  // one per row when the rows are colours
        int markedRow = -1;
    };
    void SetContent(Content content);
    const Content& GetContent() const { return m_content; }

protected:
    void OnPaint() override;

private:
    Content m_content;
};

/// What the position and colour list slots share; a kind fills in the content and values.
class KfxKeyFrameListSlot : public KfxEditorSlot {
public:
    bool Create(CWnd& host, CKivObList& track, const KfxEditTime& time) override;
    void Layout(const CRect& area) override;
    KfxEditorNotice Route(UINT, WPARAM, LPARAM) override { return {}; }
    void SetTime(const KfxEditTime& time) override;
    bool SendValues(const std::vector<double>& values) override;
    bool IsBusy() const override { return false; }
    void TrackRestored() override { Refresh(); }
    CWnd* Window() override { return &m_panel; }
    std::vector<CPoint> KeyFramePoints() const override { return {}; }
    std::vector<std::pair<std::wstring, std::wstring>> MouseHelp() const override {
        return {{L"Value boxes", L"type a value and Enter: the keyframe at the current frame takes it"}};
    }

protected:
    /// The panel's title, note, columns and rows for the track as it is.
    virtual KfxKeyFrameListPanel::Content Describe() const = 0;
    /// Sets the values at the current frame; true when the track took them.
    virtual bool Send(const std::vector<double>& values) = 0;
    void Refresh();

    CKivObList* m_track = nullptr;
    KfxEditTime m_time;
    KfxKeyFrameListPanel m_panel;
};

class KfxPositionListSlot : public KfxKeyFrameListSlot {
public:
    std::vector<KfxValueField> Fields() const override;
    KfxEditReading Read() const override;

protected:
    KfxKeyFrameListPanel::Content Describe() const override;
    bool Send(const std::vector<double>& values) override;
};

class KfxColourListSlot : public KfxKeyFrameListSlot {
public:
    std::vector<KfxValueField> Fields() const override;
    KfxEditReading Read() const override;

protected:
    KfxKeyFrameListPanel::Content Describe() const override;
    bool Send(const std::vector<double>& values) override;
};
