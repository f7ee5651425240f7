#include "ui/ImageTrackBar.h"

#include "ui/DoubleBuffer.h"
#include "ui/GdiScope.h"
#include "ui/TrackToolTip.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

ImageTrackBar::ImageTrackBar(HWND parent, int x, int y, int width, int height) {
    create(childParams(parent, x, y, width, height));
}

LRESULT ImageTrackBar::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    int x = static_cast<short>(LOWORD(lParam));
    switch (message) {
    case WM_LBUTTONDOWN: onLButtonDown(x); return 0;
    case WM_MOUSEMOVE: onMouseMove(x); return 0;
    case WM_TIMER: onTimer(); return 0;
    case WM_LBUTTONUP: onLButtonUp(x); return 0;
    case WM_CAPTURECHANGED: onCaptureChanged(); return 0;
    case WM_SIZE: onSize(); return 0;
    case WM_ERASEBKGND: return onEraseBackground(reinterpret_cast<HDC>(wParam));
    case WM_GETDLGCODE: {
        const MSG* query = reinterpret_cast<const MSG*>(lParam);
        bool key = query != nullptr && (query->message == WM_KEYDOWN || query->message == WM_CHAR);
        return key ? 0 : DLGC_WANTALLKEYS | DLGC_WANTCHARS;
    }
    case WM_PAINT: onPaint(); return 0;
    case WM_PRINTCLIENT: paint(reinterpret_cast<HDC>(wParam)); return 0;
    default: return Window::handleMessage(message, wParam, lParam);
    }
}

void ImageTrackBar::setImages(int thumbId, int channelId, int filledId) {
    setImages(AlphaImage::fromResource(thumbId), AlphaImage::fromResource(channelId),
              filledId != 0 ? AlphaImage::fromResource(filledId) : nullptr);
}

void ImageTrackBar::setImages(std::unique_ptr<AlphaImage> thumb, std::unique_ptr<AlphaImage> channel,
                              std::unique_ptr<AlphaImage> filled) {
    thumbImage = std::move(thumb);
    channelImage = std::move(channel);
    filledImage = std::move(filled);
}

bool ImageTrackBar::hasPictures() const {
    return thumbImage && !thumbImage->empty() && channelImage && !channelImage->empty();
}

int ImageTrackBar::clientWidth() const {
    RECT client;
    GetClientRect(handle(), &client);
    return client.right;
}

void ImageTrackBar::setRange(int newMinimum, int newMaximum) {
    minimum = newMinimum;
    maximum = std::max(newMaximum, newMinimum);
    if (currentPosition >= minimum && currentPosition <= maximum) return;
    currentPosition = currentPosition < minimum ? minimum : maximum;
    moveThumbTo(thumbXOf(currentPosition));
}

void ImageTrackBar::setPosition(int value, bool notify) {
    value = std::clamp(value, minimum, maximum);
    moveThumbTo(thumbXOf(value));
    if (value == currentPosition) return;
    currentPosition = value;
    if (notify) notifyChange();
}

bool ImageTrackBar::setMarkers(const TrackMarkers& value) {
    if (std::memcmp(&markers, &value, sizeof markers) == 0) return false;
    markers = value;
    return true;
}

void ImageTrackBar::moveThumbTo(int x) {
    if (x == thumbLeft) return;
    thumbLeft = x;
    InvalidateRect(handle(), nullptr, FALSE);
}

int ImageTrackBar::thumbXOf(int value) const {
    if (!hasPictures() || maximum == minimum) return 0;
    double span = clientWidth() - thumbWidth();
    return static_cast<int>(static_cast<double>(value - minimum) * span / (maximum - minimum));
}

void ImageTrackBar::setFromPixel(int pixel, bool notify) {
    if (!hasPictures()) return;
    int span = clientWidth() - thumbWidth();
    // A bar no wider than its thumb has only one place to be.
    if (span <= 0) {
        setPosition(minimum, notify);
        return;
    }
    double value = minimum + (pixel - thumbWidth() * 0.5) * (static_cast<double>(maximum) - minimum) / span;
    value = std::clamp(value, static_cast<double>(minimum), static_cast<double>(maximum));
    setPosition(static_cast<int>(value), notify);
}

int ImageTrackBar::lowerBound() const {
    int lastLap = 0;
    for (int lap : markers.laps) {
        if (lap == 0) break;
        lastLap = lap;
    }
    if (lastLap != 0) return thumbCentreOf(lastLap);
    if (markers.start != 0) return thumbCentreOf(markers.start);
    return 0;
}

std::wstring ImageTrackBar::positionText(int value) const {
    if (formatter) return formatter(value);
    wchar_t text[16];
    std::swprintf(text, 16, L"%d", value);
    return text;
}

void ImageTrackBar::notifyChange() {
    if (listener != nullptr) listener->onChange(this);
}

void ImageTrackBar::onLButtonDown(int x) {
    tracking = true;
    int thumb = thumbWidth();
    bool onThumb = thumbLeft <= x && x <= thumbLeft + thumb;
    if (!onThumb) {
        // The thumb's left edge goes to the click; a restricted bar stops just right of its last marker.
        int pixel = x + thumb / 2;
        if (belowLowerBound(pixel)) pixel = lowerBound() + 1;
        setFromPixel(pixel, false);
    }
    if (listener != nullptr) listener->onBeginTrack(this);
    notifyChange();
    SetCapture(handle());
    SetTimer(handle(), kTrackTimer, kTrackTickMs, nullptr);
    if (toolTip != nullptr) toolTip->activate(handle(), positionText(currentPosition));
}

void ImageTrackBar::onMouseMove(int x) {
    if (GetCapture() != handle()) return;
    int pixel = x + thumbWidth() / 2;
    if (!belowLowerBound(pixel)) setFromPixel(pixel + 1, false);
    if (toolTip == nullptr) return;
    RECT bar;
    GetWindowRect(handle(), &bar);
    int tipX = std::clamp(static_cast<int>(bar.left + pixel), static_cast<int>(bar.left), static_cast<int>(bar.right));
    SendMessageW(toolTip->handle(), TTM_TRACKPOSITION, 0, MAKELPARAM(tipX, bar.top - kToolTipLift));
    toolTip->updateText(handle(), positionText(currentPosition));
}

void ImageTrackBar::onTimer() {
    if (GetCapture() != handle() || !isEnabled())
        KillTimer(handle(), kTrackTimer);
    else
        notifyChange();
}

void ImageTrackBar::onLButtonUp(int x) {
    if (GetCapture() != handle()) return;
    // Cleared first: releasing the capture below must not end the track a second time.
    tracking = false;
    ReleaseCapture();
    int pixel = x + thumbWidth() / 2;
    if (!belowLowerBound(pixel)) setFromPixel(pixel, true);
    endTrack();
}

// The mouse was taken away during a drag (another window captured it, a box came up): the
// track ends where the thumb stands, so the owner resumes what the press had interrupted.
void ImageTrackBar::onCaptureChanged() {
    if (!tracking) return;
    tracking = false;
    KillTimer(handle(), kTrackTimer);
    endTrack();
}

void ImageTrackBar::endTrack() {
    if (toolTip != nullptr) toolTip->deactivate(handle());
    notifyChange();
    if (listener != nullptr) listener->onEndTrack(this);
}

void ImageTrackBar::onSize() {
    thumbLeft = thumbXOf(currentPosition);
    InvalidateRect(handle(), nullptr, TRUE);
    UpdateWindow(handle());
}

LRESULT ImageTrackBar::onEraseBackground(HDC dc) {
    if (channelImage && !channelImage->empty()) return 1;
    RECT client;
    GetClientRect(handle(), &client);
    FillRect(dc, &client, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    return 1;
}

void ImageTrackBar::onPaint() {
    PaintScope scope(handle());
    paint(scope.dc());
}

void ImageTrackBar::paint(HDC target) {
    RECT client;
    GetClientRect(handle(), &client);
    DoubleBuffer buffer(target, client.right, client.bottom);
    HDC dc = buffer.dc();
    // The off-screen bitmap starts out black; what the pictures leave uncovered (or all of
    // it, when a picture is missing) shows the button face as the erased window would.
    FillRect(dc, &client, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    if (!hasPictures()) return;
    if (split)
        drawChannel(dc, client.right, client.bottom);
    else
        channelImage->draw(dc, 0, 0);
    thumbImage->draw(dc, thumbLeft, 0);
    if (GetFocus() == handle()) {
        RECT focus = {1, 1, client.right - 1, client.bottom - 1};
        DrawFocusRect(dc, &focus);
    }
}

void ImageTrackBar::drawChannel(HDC dc, int width, int height) {
    if (!hasPictures()) return;
    int thumb = thumbWidth();
    int channel = channelImage->width();
    if (thumb >= channel) return;
    const AlphaImage& filled = filledImage && !filledImage->empty() ? *filledImage : *channelImage;
    int half = thumb / 2;
    int channelHeight = channelImage->height();
    int middle = channel - thumb;
    filled.draw(dc, 0, 0, half, channelHeight, 0, half, filled.height());
    filled.draw(dc, half, 0, thumbLeft, channelHeight, half, middle, filled.height());
    channelImage->draw(dc, width - half, 0, half, channelHeight, channel - half, half, channelHeight);
    channelImage->draw(dc, thumbLeft + half, 0, width - thumbLeft - 2 * half, channelHeight, half, middle,
                       channelHeight);
}
