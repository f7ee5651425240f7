#pragma once
// The strip under the picture in event and continuous mode: the whole record as two line
// graphs over time, G in orange and speed in light red, over a dotted grid with both
// scales, the seconds, the start and end times and a red line at the event. A yellow
// cursor marks the frame on screen. The graph is drawn once per record into a bitmap; a
// frame change only copies that bitmap and draws the cursor over it.
#include "playback/AlphaImage.h"
#include "ui/GdiScope.h"
#include "ui/IPanelSource.h"
#include "ui/Window.h"

#include <memory>
#include <string>

class LineChart : public Window {
public:
    static constexpr int kBitmapX = 20;  // where the graph bitmap sits in the window
    static constexpr int kBitmapY = 7;

    // The two scales of a record: G from gMin at the bottom to gMax at the top, speed from
    // 0 to speedTop km/h.
    struct Scale {
        double gMax = 0.5;
        double gMin = 0.1;
        int speedTop = 40;
        // The labels of the five grid lines, top to bottom.
        std::wstring gLabel(int line) const;
        std::wstring speedLabel(int line) const;
    };

    explicit LineChart(HWND parent, const IPanelSource& source);

    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // After every frame change, while enabled: moves the cursor at once (the graph is drawn
    // first when it is not cached).
    void refreshCursor();
    // The record changed: the graph is drawn again at the next paint (repainted now when enabled).
    void invalidateGraph();

    // The plot area inside the graph bitmap.
    const RECT& plot() const { return plotArea; }
    bool hasCachedGraph() const { return graph.get() != nullptr; }

    static Scale scaleOf(const IVideoInfo* info);

private:
    void onSize(int width, int height);
    void onEraseBackground(HDC dc);
    void onPaint();
    void paint(HDC dc);
    void drawGraph(HDC dc);
    void drawGrid(HDC dc, const Scale& scale);
    void drawSeconds(HDC dc, int frames, int rate);
    int drawTimes(HDC dc, const IVideoInfo& info);
    void drawEventLine(HDC dc, const IVideoInfo& info, int timeWidth);
    void drawCurves(HDC dc, const IVideoInfo& info, const Scale& scale);
    // Window column of the cursor for the frame on screen; kNoCursor without a record.
    int cursorColumn() const;
    void drawCursor(HDC dc, int column);
    void drawText(HDC dc, int x, int y, const std::wstring& text);
    SIZE textExtent(HDC dc, const std::wstring& text) const;

    const IPanelSource& source;
    GdiObject backgroundBrush;
    GdiObject font;
    GdiObject graph;  // the cached graph bitmap; null when it must be drawn again
    RECT plotArea = {};
    static constexpr int kNoCursor = -1;
    int drawnCursor = kNoCursor;  // the column where the window shows the cursor
    SIZE gLabelExtent = {};
    SIZE speedLabelExtent = {};
    std::unique_ptr<AlphaImage> leftEnd;
    std::unique_ptr<AlphaImage> middle;
    std::unique_ptr<AlphaImage> rightEnd;
};
