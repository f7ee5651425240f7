#include "playback/AlphaImage.h"

#include "base/Exception.h"
#include "playback/ResourceData.h"
#include "playback/decode/ImageDecoder.h"

std::unique_ptr<AlphaImage> AlphaImage::fromResource(int id) {
    auto skin = std::make_unique<AlphaImage>();
    try {
        unsigned long size = 0;
        const void* bytes = findResourceData(L"IMAGE", id, &size);
        skin->set(loadPng(static_cast<const std::uint8_t*>(bytes), size));
    } catch (const Exception&) {
        // A missing picture leaves the place empty; the widget draws nothing there.
    }
    return skin;
}

void AlphaImage::draw(HDC dc, int x, int y) const {
    if (picture) draw(dc, x, y, picture->width(), picture->height(), 0, picture->width(), picture->height());
}

bool AlphaImage::draw(HDC dc, int x, int y, int w, int h) const {
    return picture && draw(dc, x, y, w, h, 0, picture->width(), picture->height());
}

bool AlphaImage::draw(HDC dc, int x, int y, int w, int h, int srcX, int srcW, int srcH) const {
    if (!picture) return false;
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = picture->width();
    header.biHeight = picture->height();
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(((picture->width() * 4 + 3) & ~3) * picture->height());
    return StretchDIBits(dc, x, y, w, h, srcX, 0, srcW, srcH, picture->pixels(), reinterpret_cast<BITMAPINFO*>(&header),
                         DIB_RGB_COLORS, SRCCOPY) > 0;
}
