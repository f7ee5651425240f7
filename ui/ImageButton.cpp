#include "ui/ImageButton.h"

#include "ui/GdiScope.h"

ImageButton::ImageButton(HWND parent, int x, int y, int width, int height) {
    create(childParams(parent, x, y, width, height));
}

LRESULT ImageButton::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN: onLButtonDown(); return 0;
    case WM_TIMER: onTimer(); return 0;
    case WM_LBUTTONUP: onLButtonUp(LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_CAPTURECHANGED: KillTimer(handle(), kRepeatTimer); return 0;
    case WM_KEYDOWN: onKeyDown(wParam); return 0;
    case WM_KEYUP: onKeyUp(wParam); return 0;
    case WM_CHAR: return 0;
    case WM_GETDLGCODE: return onGetDlgCode(reinterpret_cast<const MSG*>(lParam));
    case WM_SETCURSOR:
        if (onSetCursor()) return TRUE;
        break;  // no cursor of its own: the default handling shows the class's arrow
    case WM_ERASEBKGND: onEraseBackground(reinterpret_cast<HDC>(wParam)); return 1;
    case WM_PAINT: onPaint(); return 0;
    case WM_PRINTCLIENT: paint(reinterpret_cast<HDC>(wParam)); return 0;
    default: break;
    }
    return Window::handleMessage(message, wParam, lParam);
}

void ImageButton::setImages(int normalId, int pressedId, int disabledId) {
    setImages(AlphaImage::fromResource(normalId), pressedId != 0 ? AlphaImage::fromResource(pressedId) : nullptr,
              disabledId != 0 ? AlphaImage::fromResource(disabledId) : nullptr);
}

void ImageButton::setImages(std::unique_ptr<AlphaImage> normal, std::unique_ptr<AlphaImage> pressed,
                            std::unique_ptr<AlphaImage> disabled) {
    normalImage = std::move(normal);
    pressedImage = std::move(pressed);
    disabledImage = std::move(disabled);
}

void ImageButton::onLButtonDown() {
    SetCapture(handle());
    if (edge || (pressedImage && !pressedImage->empty())) repaintNow();
    if (listener != nullptr) listener->onPress(this);
    SetTimer(handle(), kRepeatTimer, static_cast<UINT>(repeatMs), nullptr);
}

void ImageButton::onTimer() {
    if (isDown() && isEnabled()) {
        if (listener != nullptr) listener->onPress(this);
    } else {
        KillTimer(handle(), kRepeatTimer);
    }
}

void ImageButton::onLButtonUp(int x, int y) {
    KillTimer(handle(), kRepeatTimer);
    ReleaseCapture();
    if (edge || (pressedImage && !pressedImage->empty())) repaintNow();
    // The coordinates are taken as unsigned, so a release left of or above the button lies
    // far outside it. A release inside counts even when the press began elsewhere.
    RECT client;
    GetClientRect(handle(), &client);
    bool inside = client.left <= x && x < client.right && client.top <= y && y < client.bottom;
    if (inside && listener != nullptr) listener->onClick(this);
}

void ImageButton::onKeyDown(WPARAM key) {
    if (key == VK_RETURN && !isDown()) onLButtonDown();
}

void ImageButton::onKeyUp(WPARAM key) {
    if (key != VK_RETURN) return;
    ReleaseCapture();
    repaintNow();
    if (listener != nullptr) listener->onClick(this);
}

LRESULT ImageButton::onGetDlgCode(const MSG* query) const {
    if (query != nullptr && (query->message == WM_KEYDOWN || query->message == WM_CHAR) && query->wParam != VK_RETURN)
        return 0;
    return DLGC_WANTALLKEYS | DLGC_WANTCHARS;
}

bool ImageButton::onSetCursor() {
    if (cursor == nullptr) return false;
    SetCursor(cursor);
    return true;
}

void ImageButton::onEraseBackground(HDC dc) {
    RECT client;
    GetClientRect(handle(), &client);
    FillRect(dc, &client, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
}

void ImageButton::onPaint() {
    PaintScope scope(handle());
    paint(scope.dc());
}

void ImageButton::paint(HDC dc) {
    RECT client;
    GetClientRect(handle(), &client);
    bool down = isDown();
    if (edge) DrawEdge(dc, &client, down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);

    if (normalImage && !normalImage->empty()) {
        const AlphaImage* chosen = normalImage.get();
        int top = 0;
        if (!isEnabled() && disabledImage && !disabledImage->empty()) chosen = disabledImage.get();
        if (down) {
            if (pressedImage && !pressedImage->empty())
                chosen = pressedImage.get();
            else if (edge)
                top = 1;
            else
                chosen = nullptr;  // held without a pressed look: only the background shows
        }
        if (chosen != nullptr) chosen->draw(dc, 0, top, client.right, client.bottom);
    } else if (!caption.empty()) {
        drawCaption(dc, client, down);
    }
}

void ImageButton::drawCaption(HDC dc, const RECT& client, bool down) {
    SIZE extent = {};
    GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
    int x = (client.right - extent.cx) / 2;
    int y = (client.bottom - extent.cy) / 2 + (down ? 1 : 0);
    int oldMode = SetBkMode(dc, TRANSPARENT);
    UINT flags = DST_TEXT | (isEnabled() ? 0 : DSS_DISABLED);
    DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(caption.c_str()), static_cast<WPARAM>(caption.size()), x,
               y, extent.cx, extent.cy, flags);
    SetBkMode(dc, oldMode);
}

void ImageButton::repaintNow() {
    InvalidateRect(handle(), nullptr, TRUE);
    UpdateWindow(handle());
}
