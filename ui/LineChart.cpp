#include "ui/LineChart.h"

#include "archive/RecordCatalog.h"
#include "ui/PanelReadings.h"

#include <algorithm>
#include <cmath>
#include <cwchar>

namespace {

constexpr int kLeftEndId = 359;
constexpr int kMiddleId = 360;
constexpr int kRightEndId = 361;
constexpr int kGridLines = 5;
constexpr int kTop = 13;
constexpr int kBitmapWidthMargin = 45;
constexpr int kBitmapHeightMargin = 18;

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGridGrey = RGB(128, 128, 128);
constexpr COLORREF kEventRed = RGB(255, 0, 0);
constexpr COLORREF kGOrange = RGB(255, 165, 0);
constexpr COLORREF kSpeedRed = RGB(255, 128, 128);
constexpr COLORREF kCursorYellow = RGB(255, 255, 0);

// No recorder logs more than about 11 G or 180 km/h; wilder values from a damaged card are
// held here so that the scales and their labels stay within the strip.
constexpr double kLargestG = 20.0;
constexpr int kLargestSpeed = 999;

int framesPerSecond(int displayMode) {
    return displayMode == kDisplayContinuous ? 10 : 30;
}

double chartG(const FrameRecord& sample) {
    double g = sample.gMagnitude;
    return std::isfinite(g) ? std::clamp(g, -kLargestG, kLargestG) : 0.0;
}

int chartSpeed(const FrameRecord& sample) {
    return std::clamp(sample.speed, -kLargestSpeed, kLargestSpeed);
}

std::wstring formatted(const wchar_t* pattern, double value) {
    wchar_t text[32];
    std::swprintf(text, 32, pattern, value);
    return text;
}

std::wstring formatted(const wchar_t* pattern, int value) {
    wchar_t text[32];
    std::swprintf(text, 32, pattern, value);
    return text;
}

// x of frame k when frames 0 .. frames-1 span the plot from left to right.
int frameX(const RECT& plot, std::int64_t k, int frames) {
    if (frames == 1) return plot.left;
    return plot.left + static_cast<int>(k * (plot.right - plot.left) / (frames - 1));
}

void drawLine(HDC dc, int x0, int y0, int x1, int y1) {
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

}  // namespace

std::wstring LineChart::Scale::gLabel(int line) const {
    return formatted(L"%+4.2lf", gMax - line * (gMax - gMin) / (kGridLines - 1));
}

std::wstring LineChart::Scale::speedLabel(int line) const {
    return formatted(L"%3d", (kGridLines - 1 - line) * speedTop / (kGridLines - 1));
}

LineChart::Scale LineChart::scaleOf(const IVideoInfo* info) {
    double largestG = 0.5;
    int largestSpeed = 10;
    if (info != nullptr) {
        for (int k = 0; k < info->slotCount(); ++k) {
            const FrameRecord* sample = info->frameAt(k);
            if (sample == nullptr) continue;
            largestG = std::max(largestG, chartG(*sample));
            largestSpeed = std::max(largestSpeed, chartSpeed(*sample));
        }
    }
    Scale scale;
    scale.gMax = std::ceil(2 * largestG) / 2;
    scale.gMin = scale.gMax <= 0.5 ? 0.1 : 0.0;
    scale.speedTop = ((largestSpeed - 1) / 40) * 40 + 40;
    return scale;
}

LineChart::LineChart(HWND parent, const IPanelSource& source)
    : source(source),
      backgroundBrush(CreateSolidBrush(kBlack)),
      font(CreateFontW(13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_CHARACTER_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_MODERN, L"ＭＳ ゴシック")),
      leftEnd(AlphaImage::fromResource(kLeftEndId)),
      middle(AlphaImage::fromResource(kMiddleId)),
      rightEnd(AlphaImage::fromResource(kRightEndId)) {
    {
        WindowDc screen(nullptr);
        Selection chosen(screen.get(), font.get());
        gLabelExtent = textExtent(screen.get(), L"+0.00");
        speedLabelExtent = textExtent(screen.get(), L"999");
    }
    WindowCreateParams params = childParams(parent, 0, 0, 0, 0);
    params.extendedStyle = WS_EX_CONTROLPARENT;
    create(params);
}

LRESULT LineChart::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE: onSize(LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_ERASEBKGND: onEraseBackground(reinterpret_cast<HDC>(wParam)); return 1;
    case WM_PAINT: onPaint(); return 0;
    case WM_PRINTCLIENT: paint(reinterpret_cast<HDC>(wParam)); return 0;
    default: return Window::handleMessage(message, wParam, lParam);
    }
}

void LineChart::refreshCursor() {
    if (!isEnabled()) return;
    int column = cursorColumn();
    if (graph.get() && column == drawnCursor) return;
    WindowDc window(handle());
    if (window.get() == nullptr) return;
    if (!graph.get() || drawnCursor == kNoCursor) {
        paint(window.get());
        return;
    }
    // Only the strip under the old cursor is copied back from the graph: a frame costs a
    // few hundred pixels instead of the whole strip.
    MemoryDc memory(window.get());
    if (memory.get() == nullptr) return;
    {
        Selection bitmap(memory.get(), graph.get());
        BITMAP size = {};
        GetObjectW(graph.get(), sizeof size, &size);
        int left = std::max(drawnCursor - 2 - kBitmapX, 0);
        int right = std::min(drawnCursor + 3 - kBitmapX, static_cast<int>(size.bmWidth));
        if (right > left)
            BitBlt(window.get(), left + kBitmapX, kBitmapY, right - left, size.bmHeight, memory.get(), left, 0, SRCCOPY);
    }
    drawCursor(window.get(), column);
}

void LineChart::invalidateGraph() {
    graph.reset();
    if (isEnabled()) InvalidateRect(handle(), nullptr, TRUE);
}

void LineChart::onSize(int width, int height) {
    plotArea.left = gLabelExtent.cx + 10;
    plotArea.top = kTop;
    plotArea.right = width - speedLabelExtent.cx - 55;
    plotArea.bottom = height - gLabelExtent.cy - 23;
    graph.reset();
}

void LineChart::onEraseBackground(HDC dc) {
    RECT client;
    GetClientRect(handle(), &client);
    if (leftEnd->empty() || middle->empty() || rightEnd->empty()) {
        FillRect(dc, &client, static_cast<HBRUSH>(backgroundBrush.get()));
        return;
    }
    int middleWidth = client.right - rightEnd->width() - leftEnd->width();
    if (middleWidth > 0) middle->draw(dc, leftEnd->width(), 0, middleWidth, middle->height());
    rightEnd->draw(dc, client.right - rightEnd->width(), 0);
    leftEnd->draw(dc, 0, 0);
}

void LineChart::onPaint() {
    PaintScope scope(handle());
    paint(scope.dc());
}

void LineChart::paint(HDC dc) {
    RECT client;
    GetClientRect(handle(), &client);
    int width = client.right - kBitmapWidthMargin;
    int height = client.bottom - kBitmapHeightMargin;
    if (width <= 0 || height <= 0) return;
    MemoryDc memory(dc);
    if (memory.get() == nullptr) return;
    bool fresh = !graph.get();
    if (fresh) graph.reset(CreateCompatibleBitmap(dc, width, height));
    if (!graph.get()) return;
    Selection bitmap(memory.get(), graph.get());
    if (fresh) {
        RECT whole = {0, 0, width, height};
        FillRect(memory.get(), &whole, static_cast<HBRUSH>(backgroundBrush.get()));
        drawGraph(memory.get());
    }
    BitBlt(dc, kBitmapX, kBitmapY, width, height, memory.get(), 0, 0, SRCCOPY);
    drawCursor(dc, cursorColumn());
}

void LineChart::drawGraph(HDC dc) {
    Selection chosenFont(dc, font.get());
    COLORREF oldColour = SetTextColor(dc, kWhite);
    int oldMode = SetBkMode(dc, TRANSPARENT);

    const IVideoInfo* info = source.frameInfo();
    int frames = info != nullptr ? std::max(info->slotCount(), 0) : 0;
    Scale scale = scaleOf(info);
    drawGrid(dc, scale);
    drawSeconds(dc, frames, framesPerSecond(source.displayMode()));
    if (info != nullptr) {
        int timeWidth = drawTimes(dc, *info);
        drawEventLine(dc, *info, timeWidth);
    }
    {
        Selection white(dc, GetStockObject(WHITE_PEN));
        drawLine(dc, plotArea.left, plotArea.top, plotArea.left, plotArea.bottom);
        drawLine(dc, plotArea.left, plotArea.bottom, plotArea.right, plotArea.bottom);
    }
    if (info != nullptr) drawCurves(dc, *info, scale);

    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldColour);
}

void LineChart::drawGrid(HDC dc, const Scale& scale) {
    GdiObject pen(CreatePen(PS_DOT, 1, kGridGrey));
    Selection chosen(dc, pen.get());
    int labelHalf = speedLabelExtent.cy / 2;
    for (int i = 0; i < kGridLines; ++i) {
        int y = plotArea.top + i * (plotArea.bottom - plotArea.top) / (kGridLines - 1);
        drawLine(dc, plotArea.left, y, plotArea.right, y);
        drawText(dc, 5, y - labelHalf, scale.gLabel(i));
        drawText(dc, plotArea.right, y - labelHalf, scale.speedLabel(i));
    }
}

// A vertical grid line every second; labels only as often as they fit side by side.
void LineChart::drawSeconds(HDC dc, int frames, int rate) {
    GdiObject pen(CreatePen(PS_DOT, 1, kGridGrey));
    Selection chosen(dc, pen.get());
    int span = plotArea.right - plotArea.left;
    double perSecond = frames > 0 ? static_cast<double>(rate) * span / frames : 0.0;
    int needed = textExtent(dc, formatted(L"%d", frames / rate)).cx + 2;
    int every = 1;
    if (perSecond < needed) every = perSecond > 0 ? static_cast<int>(std::ceil(needed / perSecond)) : frames / rate + 1;
    bool labelled = false;
    int previousRight = 0;
    for (int f = 0; f <= frames; f += rate) {
        int x = frames > 0 ? plotArea.left + static_cast<int>(static_cast<std::int64_t>(f) * span / frames) : plotArea.left;
        drawLine(dc, x, plotArea.top, x, plotArea.bottom);
        int second = f / rate;
        if (second % every != 0) continue;
        std::wstring label = formatted(L"%d", second);
        int labelWidth = textExtent(dc, label).cx;
        int labelLeft = x - labelWidth / 2;
        if (labelled && labelLeft <= previousRight) continue;
        drawText(dc, labelLeft, plotArea.bottom + 4, label);
        previousRight = labelLeft + labelWidth;
        labelled = true;
    }
}

// The start and end times above the plot; returns the width of the end time, 0 when none.
int LineChart::drawTimes(HDC dc, const IVideoInfo& info) {
    std::wstring start = clockText(info.firstTime());
    if (!start.empty()) drawText(dc, plotArea.left, 0, start);
    std::wstring end = clockText(info.lastTime());
    if (end.empty()) return 0;
    int width = textExtent(dc, L"00:00:00").cx;
    drawText(dc, plotArea.right - width, 0, end);
    return width;
}

void LineChart::drawEventLine(HDC dc, const IVideoInfo& info, int timeWidth) {
    const FrameRecord* event = info.eventFrame();
    int frames = info.slotCount();
    if (event == nullptr || frames <= 0 || info.recordKind() == 0) return;
    int x = frameX(plotArea, std::clamp(info.eventIndex(), 0, frames - 1), frames);
    {
        GdiObject pen(CreatePen(PS_SOLID, 1, kEventRed));
        Selection chosen(dc, pen.get());
        drawLine(dc, x, plotArea.top, x, plotArea.bottom - 1);
    }
    // The event time goes above its line unless it would run into the start or end time.
    std::wstring time = clockText(event->dateTime);
    if (time.empty()) return;
    if (plotArea.left + timeWidth + 10 < x - timeWidth / 2 && x < plotArea.right - timeWidth - 10)
        drawText(dc, x - textExtent(dc, time).cx / 2, 0, time);
}

void LineChart::drawCurves(HDC dc, const IVideoInfo& info, const Scale& scale) {
    int frames = info.slotCount();
    int first = 0;
    while (first < frames && info.frameAt(first) == nullptr) ++first;
    if (first >= frames) return;
    double height = plotArea.bottom - plotArea.top;
    double gSpan = scale.gMax - scale.gMin;

    {
        GdiObject pen(CreatePen(PS_SOLID, 2, kGOrange));
        Selection chosen(dc, pen.get());
        int saved = SaveDC(dc);
        // A scale that does not start at 0 G leaves the smallest values below the plot.
        if (scale.gMin > 0)
            IntersectClipRect(dc, plotArea.left, plotArea.top, plotArea.right, plotArea.bottom);
        MoveToEx(dc, plotArea.left,
                 plotArea.top + toPixel(height * (scale.gMax - chartG(*info.frameAt(first))) / gSpan), nullptr);
        for (int k = first + 1; k < frames; ++k) {
            const FrameRecord* sample = info.frameAt(k);
            if (sample == nullptr) continue;
            LineTo(dc, frameX(plotArea, k, frames), plotArea.top + toPixel((scale.gMax - chartG(*sample)) * height / gSpan));
        }
        RestoreDC(dc, saved);
    }

    GdiObject pen(CreatePen(PS_SOLID, 2, kSpeedRed));
    Selection chosen(dc, pen.get());
    double top = scale.speedTop;
    MoveToEx(dc, plotArea.left, plotArea.top + toPixel((top - chartSpeed(*info.frameAt(first))) * height / top), nullptr);
    for (int k = first + 1; k < frames; ++k) {
        const FrameRecord* sample = info.frameAt(k);
        if (sample == nullptr) continue;
        LineTo(dc, frameX(plotArea, k, frames), plotArea.top + toPixel((top - chartSpeed(*sample)) * height / top));
    }
}

int LineChart::cursorColumn() const {
    const IVideoInfo* info = source.frameInfo();
    int frames = info != nullptr ? info->slotCount() : 0;
    if (frames <= 0) return kNoCursor;
    int current = std::clamp(source.currentFrame(), 0, frames - 1);
    return (frames == 1 ? plotArea.right : frameX(plotArea, current, frames)) + kBitmapX;
}

void LineChart::drawCursor(HDC dc, int column) {
    drawnCursor = column;
    if (column == kNoCursor) return;
    GdiObject pen(CreatePen(PS_SOLID, 2, kCursorYellow));
    Selection chosen(dc, pen.get());
    drawLine(dc, column, plotArea.top + kBitmapY, column, plotArea.bottom + kBitmapY - 1);
}

void LineChart::drawText(HDC dc, int x, int y, const std::wstring& text) {
    TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

SIZE LineChart::textExtent(HDC dc, const std::wstring& text) const {
    SIZE extent = {};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    return extent;
}
