#include "ui/LapDialog.h"

#include "resources/resource.h"
#include "ui/DoubleBuffer.h"
#include "ui/GdiScope.h"
#include "ui/ImageButton.h"
#include "ui/LapFigures.h"
#include "ui/StopWatch.h"

#include <cwchar>

namespace {

constexpr int kContinuousMode = 2;
const wchar_t* const kCharacters = L"0123456789\u2032\u2033-:";
constexpr int kGlyphIds[] = {10133, 10134, 10135, 10136, 10137, 10138, 10139,
                             10140, 10141, 10142, 10143, 10144, 10145, 10146};
constexpr int kBlankAdvance = 9;
constexpr int kRowX = 20;
constexpr int kFirstRowY = 22;
constexpr int kRowStep = 17;
constexpr int kTotalX = 59;
constexpr int kTotalY = 205;

}  // namespace

LapDialog::LapDialog(StopWatch& stopwatch)
    : Dialog(IDD_LAP_LIST), stopwatch(stopwatch), background(AlphaImage::fromResource(kBackgroundId)),
      glyphs(kCharacters, kGlyphIds, kBlankAdvance) {}

INT_PTR LapDialog::dialogProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        closer = new ImageButton(handle(), 58, 243, 94, 22);
        closer->setImages(10129, 10130, 10131);
        closer->setListener(this);
        return 1;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) close();
        return 1;
    case WM_PAINT: onPaint(); return 1;
    case kRefreshMessage: redraw(); return 1;
    case WM_ERASEBKGND: drawTable(reinterpret_cast<HDC>(wParam)); return 1;
    case WM_PRINTCLIENT: drawTable(reinterpret_cast<HDC>(wParam)); return 1;
    default: return 0;
    }
}

void LapDialog::close() {
    HWND window = handle();
    if (window == nullptr || !IsWindow(window)) return;
    DestroyWindow(window);
    stopwatch.lapListClosed();
}

std::wstring LapDialog::rowText(int row) const {
    wchar_t text[64];
    if (row > stopwatch.lapCount()) {
        std::swprintf(text, 64, L"%2d:  --\u2032 --\u2033 -  -", row);
        return text;
    }
    std::swprintf(text, 64, L"%2d:  %ls %3d", row, LapFigures::timeText(stopwatch.lapTime(row)).c_str(),
                  stopwatch.lapAverageSpeed(row));
    return text;
}

std::wstring LapDialog::totalText() const {
    int laps = stopwatch.lapCount();
    if (stopwatch.isMeasuring() || laps == 0) return L"--\u2032 --\u2033 -  -";
    int sum = 0;
    for (int lap = 1; lap <= laps; ++lap) sum += stopwatch.lapAverageSpeed(lap);
    // The plain mean of the laps' averages, not weighted by their times.
    wchar_t text[64];
    std::swprintf(text, 64, L"%ls %3d", LapFigures::timeText(stopwatch.totalTime()).c_str(), sum / laps);
    return text;
}

void LapDialog::drawTable(HDC target) {
    RECT client;
    GetClientRect(handle(), &client);
    DoubleBuffer buffer(target, client.right, client.bottom);
    HDC dc = buffer.dc();
    // The dialog's size comes from its font: what the table's picture leaves over is black.
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    background->draw(dc, 0, 0);
    for (int row = 1; row <= kRows; ++row) glyphs.draw(dc, kRowX, kFirstRowY + kRowStep * (row - 1), rowText(row));
    glyphs.draw(dc, kTotalX, kTotalY, totalText());
}

void LapDialog::onPaint() {
    PaintScope scope(handle());
    drawTable(scope.dc());
}

void LapDialog::redraw() {
    WindowDc window(handle());
    if (window.get() != nullptr) drawTable(window.get());
}
