// Shared pieces of the window system tests: a fixture that gives every test a clean
// screen, a window that records its messages, and pixel helpers.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "platform/ui/DC.h"
#include "platform/ui/Menu.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Wnd.h"

/// A clean 320 x 240 screen, no capture, no focus holder of a previous test, no menu handler.
class UiTest : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }
    static void Reset() {
        ReleaseCapture();
        KivSetPopupMenuHandler(nullptr);
        KivScreen::Get().Resize(320, 240);
        KivScreen::Get().PaintAll();
    }
};

struct RecordedMessage {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};

/// Records every message it gets, and paints its client area in one colour.
class RecordingWnd : public CWnd {
public:
    explicit RecordingWnd(COLORREF fill = RGB(255, 255, 255)) : m_fill(fill) {}
    std::vector<RecordedMessage> messages;
    COLORREF m_fill;
    CRect lastPaintRect;

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        messages.push_back({msg, wParam, lParam});
        return CWnd::WindowProc(msg, wParam, lParam);
    }
    int Count(UINT msg) const {
        int n = 0;
        for (const auto& m : messages) n += m.msg == msg;
        return n;
    }
    const RecordedMessage* Last(UINT msg) const {
        for (auto it = messages.rbegin(); it != messages.rend(); ++it)
            if (it->msg == msg) return &*it;
        return nullptr;
    }
    BOOL CreateChild(CWnd* parent, const CRect& r, UINT id = 0, DWORD extraStyle = 0) {
        return Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | extraStyle, r, parent, id);
    }
    BOOL CreateTop(const CRect& r, DWORD extraStyle = 0) {
        return CreateEx(0, nullptr, nullptr, WS_POPUP | WS_VISIBLE | extraStyle, r, nullptr, 0);
    }

protected:
    void OnPaint() override {
        CPaintDC dc(this);
        lastPaintRect = dc.m_ps.rcPaint;
        CRect client;
        GetClientRect(&client);
        dc.FillSolidRect(&client, m_fill);
    }
};

/// A 32-bit bitmap in a memory DC, white until drawn on.
struct MemCanvas {
    CDC dc;
    CBitmap bmp;
    MemCanvas(int w, int h) {
        dc.CreateCompatibleDC(nullptr);
        bmp.CreateCompatibleBitmap(&dc, w, h);
        dc.SelectObject(&bmp);
        dc.FillSolidRect(0, 0, w, h, RGB(255, 255, 255));
    }
    std::vector<KivPixel> Pixels() const { return bmp.Surface()->pixels; }
    /// Points that are not white.
    std::vector<CPoint> Ink(COLORREF background = RGB(255, 255, 255)) const {
        std::vector<CPoint> out;
        const KivSurface& s = *bmp.Surface();
        for (int y = 0; y < s.height; ++y)
            for (int x = 0; x < s.width; ++x)
                if (KivColorFromPixel(s.At(x, y)) != background) out.emplace_back(x, y);
        return out;
    }
};
