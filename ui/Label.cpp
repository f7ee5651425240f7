#include "ui/Label.h"

#include "ui/GdiScope.h"

Label::Label(HWND existingControl) {
    attach(existingControl);
}

LRESULT Label::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: onEraseBackground(reinterpret_cast<HDC>(wParam)); return 1;
    case WM_PAINT: onPaint(); return 0;
    case WM_PRINTCLIENT: paint(reinterpret_cast<HDC>(wParam)); return 0;
    default: return Window::handleMessage(message, wParam, lParam);
    }
}

POINT Label::placeText(int alignment, SIZE text, SIZE client) {
    if (alignment < TopLeft || alignment > BottomRight) alignment = TopLeft;
    int column = alignment % 3;
    int row = alignment / 3;
    POINT at;
    at.x = column == 0 ? 0 : column == 1 ? (client.cx - text.cx) / 2 : client.cx - text.cx;
    at.y = row == 0 ? 0 : row == 1 ? (client.cy - text.cy) / 2 : client.cy - text.cy;
    return at;
}

void Label::onEraseBackground(HDC dc) {
    RECT client;
    GetClientRect(handle(), &client);
    FillRect(dc, &client, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
}

void Label::onPaint() {
    PaintScope scope(handle());
    paint(scope.dc());
}

void Label::paint(HDC dc) {
    RECT client;
    GetClientRect(handle(), &client);
    if (image && !image->empty())
        image->draw(dc, (client.right - image->width()) / 2, (client.bottom - image->height()) / 2);
    else if (!text.empty())
        drawText(dc, client);
}

void Label::drawText(HDC dc, const RECT& client) {
    int saved = SaveDC(dc);
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(handle(), WM_GETFONT, 0, 0));
    if (font != nullptr) SelectObject(dc, font);
    SIZE extent = {};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    POINT at = placeText(alignment, extent, SIZE{client.right, client.bottom});
    SetTextColor(dc, colour);
    SetBkMode(dc, TRANSPARENT);
    UINT flags = DST_TEXT | (isEnabled() ? 0 : DSS_DISABLED);
    DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(text.c_str()), static_cast<WPARAM>(text.size()), at.x,
               at.y, extent.cx, extent.cy, flags);
    // Puts back the font, colour and mode as the caller's DC had them.
    RestoreDC(dc, saved);
}
