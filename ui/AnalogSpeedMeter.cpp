#include "ui/AnalogSpeedMeter.h"

#include "ui/GdiScope.h"
#include "ui/PanelReadings.h"

namespace {

constexpr int kDialId = 10041;
constexpr int kFirstNeedleId = 11000;

}  // namespace

AnalogSpeedMeter::AnalogSpeedMeter(HWND parent, const IPanelSource& source)
    : source(source), dial(AlphaImage::fromResource(kDialId)) {
    WindowCreateParams params = childParams(parent, 0, 0, 0, 0);
    params.extendedStyle = WS_EX_CONTROLPARENT;
    create(params);
}

LRESULT AnalogSpeedMeter::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: onEraseBackground(reinterpret_cast<HDC>(wParam)); return 1;
    case WM_PAINT: onPaint(); return 0;
    case WM_PRINTCLIENT: draw(reinterpret_cast<HDC>(wParam), frameToShow()); return 0;
    default: return Window::handleMessage(message, wParam, lParam);
    }
}

void AnalogSpeedMeter::refresh() {
    int frame = frameToShow();
    if (frame == drawnFrame) return;
    WindowDc window(handle());
    if (window.get() != nullptr) draw(window.get(), frame);
}

void AnalogSpeedMeter::reset() {
    remembered = 0;
    InvalidateRect(handle(), nullptr, TRUE);
}

void AnalogSpeedMeter::onEraseBackground(HDC dc) {
    if (!dial->empty()) {
        dial->draw(dc, 0, 0);
        return;
    }
    RECT client;
    GetClientRect(handle(), &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
}

void AnalogSpeedMeter::onPaint() {
    PaintScope scope(handle());
    draw(scope.dc(), frameToShow());
}

void AnalogSpeedMeter::draw(HDC dc, int frame) {
    needleFrame(frame).draw(dc, 0, 0);
    drawnFrame = frame;
}

// Only a speed the dial can show below its end becomes the remembered one, so that a frame
// without speed after a pinned or unmeasured one falls back to the last true reading.
int AnalogSpeedMeter::frameToShow() {
    const FrameRecord* sample = currentSample(source.frameInfo(), source.currentFrame());
    if (sample == nullptr) return remembered;
    if (sample->speed >= kTopSpeed) return kTopSpeed;
    if (sample->speed < 0) return 0;
    remembered = sample->speed;
    return remembered;
}

const AlphaImage& AnalogSpeedMeter::needleFrame(int speed) {
    CachedNeedle* oldest = &needles[0];
    for (CachedNeedle& needle : needles) {
        if (needle.speed == speed) {
            needle.lastUse = ++uses;
            return *needle.picture;
        }
        if (needle.lastUse < oldest->lastUse) oldest = &needle;
    }
    oldest->speed = speed;
    oldest->lastUse = ++uses;
    oldest->picture = AlphaImage::fromResource(kFirstNeedleId + speed);
    return *oldest->picture;
}
