#include "ui/SpeedMeter.h"

#include "ui/DoubleBuffer.h"
#include "ui/GdiScope.h"
#include "ui/PanelReadings.h"

#include <algorithm>
#include <cwchar>

namespace {

constexpr int kBackgroundId = 10064;
constexpr int kFirstDigitId = 10070;
constexpr int kDashId = 10080;
constexpr int kFirstCellX = 20;
constexpr int kCellWidth = 32;
constexpr int kDigitsY = 60;
// Three cells: a wilder speed than the picture has room for shows as the largest that fits.
constexpr int kLargestShown = 999;

}  // namespace

SpeedMeter::SpeedMeter(HWND parent, const IPanelSource& source)
    : source(source), background(AlphaImage::fromResource(kBackgroundId)), digits(kFirstDigitId, L"-", {kDashId}) {
    WindowCreateParams params = childParams(parent, 0, 0, 0, 0);
    params.extendedStyle = WS_EX_CONTROLPARENT;
    create(params);
}

LRESULT SpeedMeter::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: return 1;  // the paint covers the whole meter
    case WM_PAINT: onPaint(); return 0;
    case WM_PRINTCLIENT: draw(reinterpret_cast<HDC>(wParam), textNow()); return 0;
    default: return Window::handleMessage(message, wParam, lParam);
    }
}

std::wstring SpeedMeter::speedText(int speed) {
    if (speed < 0) return L"  -";
    wchar_t text[8];
    std::swprintf(text, 8, L"%3d", std::min(speed, kLargestShown));
    return text;
}

void SpeedMeter::refresh() {
    std::wstring text = textNow();
    if (text == drawnText) return;
    WindowDc window(handle());
    if (window.get() != nullptr) draw(window.get(), text);
}

void SpeedMeter::onPaint() {
    PaintScope scope(handle());
    draw(scope.dc(), textNow());
}

std::wstring SpeedMeter::textNow() {
    const FrameRecord* sample = currentSample(source.frameInfo(), source.currentFrame());
    int speed = sample != nullptr ? sample->speed : lastShown;
    if (speed >= 0) lastShown = speed;
    return speedText(speed);
}

void SpeedMeter::draw(HDC dc, const std::wstring& text) {
    RECT client;
    GetClientRect(handle(), &client);
    DoubleBuffer buffer(dc, client.right, client.bottom);
    HDC target = buffer.dc();
    if (background->empty())
        FillRect(target, &client, GetSysColorBrush(COLOR_BTNFACE));
    else
        background->draw(target, 0, 0);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (const AlphaImage* glyph = digits.find(text[i]))
            glyph->draw(target, kFirstCellX + kCellWidth * static_cast<int>(i), kDigitsY);
    }
    if (text != drawnText) SetWindowTextW(handle(), spokenText(text).c_str());
    drawnText = text;
}

std::wstring SpeedMeter::spokenText(const std::wstring& cells) {
    std::size_t first = cells.find_first_not_of(L' ');
    return first == std::wstring::npos ? std::wstring() : cells.substr(first) + L" km/h";
}
