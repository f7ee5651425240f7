#include "ui/CircleChart.h"

#include "archive/RecordCatalog.h"
#include "ui/PanelReadings.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr int kBackgroundId = 10040;
constexpr int kDisabledBackgroundId = 10048;
constexpr int kFirstButtonId = 10049;  // normal, pressed, disabled for each range in turn
constexpr RECT kButtonPlace = {47, 220, 47 + 94, 220 + 22};
constexpr int kButtonStrip = 30;  // the bottom of the chart, where the range button sits
constexpr double kSmallestRange = 1.0;
constexpr double kLargestRange = 3.0;
constexpr double kRangeStep = 0.5;
constexpr int kDotRadius = 4;

constexpr COLORREF kOrange = RGB(255, 165, 0);
constexpr COLORREF kYellow = RGB(255, 255, 0);

// Ten seconds of frames.
int traceWindow(int displayMode) {
    return displayMode == kDisplayContinuous ? 100 : 300;
}

double rangeOf(int button) {
    return kSmallestRange + kRangeStep * button;
}

double finiteOrZero(double value) {
    return std::isfinite(value) ? value : 0.0;
}

// Lines older than bound x u frames take the colour; from orange to the circle's blue-grey.
struct AgeStep {
    int bound;
    COLORREF colour;
};
constexpr AgeStep kAgeSteps[] = {
    {55, 0x60383D}, {50, 0x5B3E47}, {45, 0x564451}, {40, 0x51495B}, {35, 0x4C4F66},
    {30, 0x475570}, {25, 0x425A7A}, {20, 0x3D6084}, {15, 0x38668E}, {10, 0x336C99},
    {9, 0x2D71A3},  {8, 0x2877AD},  {7, 0x237DB7},  {6, 0x1E82C1},  {5, 0x1988CC},
    {4, 0x148ED6},  {3, 0x0F93E0},  {2, 0x0A99EA},  {1, 0x059FF4},  {0, 0x00A5FF},
};

}  // namespace

CircleChart::CircleChart(HWND parent, const IPanelSource& source, double maximumG)
    : source(source),
      background(AlphaImage::fromResource(kBackgroundId)),
      disabledBackground(AlphaImage::fromResource(kDisabledBackgroundId)),
      range(maximumG) {
    WindowCreateParams params = childParams(parent, 0, 0, 0, 0);
    params.extendedStyle = WS_EX_CONTROLPARENT;
    create(params);
    for (int i = 0; i < kRanges; ++i) {
        ImageButton* button = new ImageButton(handle(), kButtonPlace.left, kButtonPlace.top,
                                              kButtonPlace.right - kButtonPlace.left, kButtonPlace.bottom - kButtonPlace.top);
        button->setImages(kFirstButtonId + 3 * i, kFirstButtonId + 3 * i + 1, kFirstButtonId + 3 * i + 2);
        button->setListener(this);
        buttons[static_cast<std::size_t>(i)] = button;
    }
    updateRangeButtons();
}

LRESULT CircleChart::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE: onSize(); return 0;
    case WM_ERASEBKGND: onEraseBackground(reinterpret_cast<HDC>(wParam)); return 1;
    case WM_PAINT: onPaint(); return 0;
    case WM_PRINTCLIENT: paint(reinterpret_cast<HDC>(wParam)); return 0;
    default: return Window::handleMessage(message, wParam, lParam);
    }
}

void CircleChart::refresh(int mode) {
    traceMode = mode;
    WindowDc window(handle());
    if (window.get() != nullptr) paint(window.get(), false);
}

void CircleChart::discardBitmap() {
    trace.reset();
    InvalidateRect(handle(), nullptr, TRUE);
}

void CircleChart::updateRangeButtons() {
    bool enabled = isEnabled();
    for (int i = 0; i < kRanges; ++i) {
        bool shown = enabled && range == rangeOf(i);
        ShowWindow(buttons[static_cast<std::size_t>(i)]->handle(), shown ? SW_SHOW : SW_HIDE);
    }
    for (ImageButton* button : buttons) {
        InvalidateRect(button->handle(), nullptr, TRUE);
        UpdateWindow(button->handle());
    }
}

void CircleChart::onClick(ImageButton* button) {
    if (std::find(buttons.begin(), buttons.end(), button) == buttons.end()) return;
    range = range >= kLargestRange ? kSmallestRange : range + kRangeStep;
    updateRangeButtons();
    WindowDc window(handle());
    if (window.get() != nullptr) paint(window.get());
}

POINT CircleChart::pointOf(const FrameRecord& sample, double maximumG) {
    double lateral = finiteOrZero(sample.gFirst);
    double longitudinal = finiteOrZero(sample.gSecond);
    // The recorder's magnitude belongs to the two components; should a damaged card say
    // otherwise, the larger one keeps the point inside the ring.
    double magnitude = std::max(finiteOrZero(sample.gMagnitude), std::hypot(lateral, longitudinal));
    if (magnitude > maximumG) {
        lateral *= maximumG / magnitude;
        longitudinal *= maximumG / magnitude;
    }
    return POINT{toPixel(kCentre.x + lateral * kRingRadius / maximumG),
                 toPixel(kCentre.y - longitudinal * kRingRadius / maximumG)};
}

COLORREF CircleChart::ageColour(int age, int window, int mode) {
    if (mode == NoPosition || mode == Elsewhere) return kOrange;
    int unit = window / 60;
    for (const AgeStep& step : kAgeSteps)
        if (age > step.bound * unit) return step.colour;
    return kOrange;
}

void CircleChart::onSize() {
    trace.reset();
}

void CircleChart::onEraseBackground(HDC dc) {
    const AlphaImage& picture = currentBackground();
    if (picture.empty()) {
        RECT client;
        GetClientRect(handle(), &client);
        FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    } else {
        picture.draw(dc, 0, 0);
    }
    updateRangeButtons();
}

void CircleChart::onPaint() {
    PaintScope scope(handle());
    paint(scope.dc());
}

void CircleChart::paint(HDC dc, bool whole) {
    RECT client;
    GetClientRect(handle(), &client);
    int width = client.right;
    int height = client.bottom - kButtonStrip;
    if (width <= 0 || height <= 0) return;
    if (!trace.get()) trace.reset(CreateCompatibleBitmap(dc, width, height));
    MemoryDc memory(dc);
    if (!trace.get() || memory.get() == nullptr) return;
    Selection bitmap(memory.get(), trace.get());
    currentBackground().draw(memory.get(), 0, 0);
    SetRectEmpty(&newBounds);
    if (isEnabled()) drawTrace(memory.get());
    // Outside the old and the new trace the window already shows the plain background.
    RECT copied = {0, 0, width, height};
    if (!whole) {
        RECT changed;
        UnionRect(&changed, &traceBounds, &newBounds);
        IntersectRect(&copied, &copied, &changed);
    }
    if (!IsRectEmpty(&copied))
        BitBlt(dc, copied.left, copied.top, copied.right - copied.left, copied.bottom - copied.top, memory.get(),
               copied.left, copied.top, SRCCOPY);
    traceBounds = newBounds;
}

// Widens the bounds of the trace being drawn by a point with the reach of a dot or a line.
void CircleChart::includeInTrace(POINT point) {
    constexpr int kReach = kDotRadius + 2;
    RECT around = {point.x - kReach, point.y - kReach, point.x + kReach + 1, point.y + kReach + 1};
    if (IsRectEmpty(&newBounds))
        newBounds = around;
    else
        UnionRect(&newBounds, &newBounds, &around);
}

void CircleChart::drawTrace(HDC dc) {
    const IVideoInfo* info = source.frameInfo();
    if (info == nullptr) return;
    int frames = info->slotCount();
    int current = source.currentFrame();
    if (traceMode == AtStart) {
        const FrameRecord* first = firstSample(*info);
        if (first != nullptr && info->frameAt(current) == first) drawWholeRecord(dc, *info);
    }
    if (frames <= 0) return;

    int window = traceWindow(source.displayMode());
    int start = current - window;
    if (start < 0 || traceMode == NoPosition || traceMode == Elsewhere) start = 0;
    int last = std::min(current, frames - 1);
    GdiObject pen;
    COLORREF penColour = 0;
    bool havePrevious = false;
    POINT previous = {};
    for (int i = start; i <= last; ++i) {
        const FrameRecord* sample = info->frameAt(i);
        if (sample == nullptr) continue;
        POINT point = pointOf(*sample, range);
        includeInTrace(point);
        if (i == current) {
            GdiObject dotPen(CreatePen(PS_SOLID, 1, kYellow));
            GdiObject dotBrush(CreateSolidBrush(kYellow));
            Selection chosenPen(dc, dotPen.get());
            Selection chosenBrush(dc, dotBrush.get());
            Ellipse(dc, point.x - kDotRadius, point.y - kDotRadius, point.x + kDotRadius, point.y + kDotRadius);
        } else if (i != start && havePrevious) {
            COLORREF colour = ageColour(current - i, window, traceMode);
            // One pen per colour step; each line's selection is undone before the pen may go.
            if (!pen.get() || colour != penColour) {
                pen.reset(CreatePen(PS_SOLID, 2, colour));
                penColour = colour;
            }
            Selection chosen(dc, pen.get());
            MoveToEx(dc, previous.x, previous.y, nullptr);
            LineTo(dc, point.x, point.y);
        }
        previous = point;
        havePrevious = true;
    }
}

void CircleChart::drawWholeRecord(HDC dc, const IVideoInfo& info) {
    std::vector<POINT> points;
    for (int k = 0; k < info.slotCount(); ++k)
        if (const FrameRecord* sample = info.frameAt(k)) points.push_back(pointOf(*sample, range));
    if (points.size() < 2) return;
    for (const POINT& point : points) includeInTrace(point);
    GdiObject pen(CreatePen(PS_SOLID, 2, kOrange));
    Selection chosen(dc, pen.get());
    Polyline(dc, points.data(), static_cast<int>(points.size()));
}

const AlphaImage& CircleChart::currentBackground() const {
    return isEnabled() ? *background : *disabledBackground;
}
