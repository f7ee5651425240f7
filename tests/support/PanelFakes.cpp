#include "support/PanelFakes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

FakeRecord::FakeRecord(int count) : slots(static_cast<std::size_t>(count)) {}

FrameRecord& FakeRecord::sample(int index) {
    std::unique_ptr<FrameRecord>& slot = slots.at(static_cast<std::size_t>(index));
    if (!slot) slot = std::make_unique<FrameRecord>();
    return *slot;
}

FrameRecord& FakeRecord::sample(int index, int speed, double lateral, double longitudinal) {
    FrameRecord& made = sample(index);
    made.speed = speed;
    made.gFirst = lateral;
    made.gSecond = longitudinal;
    made.gMagnitude = std::sqrt(lateral * lateral + longitudinal * longitudinal);
    return made;
}

const FrameRecord* FakeRecord::frameAt(int index) const {
    if (index < 0 || index >= slotCount()) return nullptr;
    return slots[static_cast<std::size_t>(index)].get();
}

CapturedPixels composedPictures(int width, int height, const std::vector<PicturePlace>& pictures) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP canvas = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(dc, canvas);
    for (const PicturePlace& place : pictures) AlphaImage::fromResource(place.id)->draw(dc, place.x, place.y);
    SelectObject(dc, previous);
    DeleteDC(dc);
    CapturedPixels result = bitmapPixels(canvas);
    DeleteObject(canvas);
    return result;
}

CapturedPixels windowPixels(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    HDC source = GetDC(window);
    HDC dc = CreateCompatibleDC(source);
    HBITMAP copy = CreateCompatibleBitmap(source, client.right, client.bottom);
    HGDIOBJ previous = SelectObject(dc, copy);
    BitBlt(dc, 0, 0, client.right, client.bottom, source, 0, 0, SRCCOPY);
    SelectObject(dc, previous);
    DeleteDC(dc);
    ReleaseDC(window, source);
    CapturedPixels result = bitmapPixels(copy);
    DeleteObject(copy);
    return result;
}

int differingPixels(const CapturedPixels& a, const CapturedPixels& b, int x0, int y0, int x1, int y1) {
    if (a.width != b.width || a.height != b.height) {
        ADD_FAILURE() << "comparing " << a.width << " x " << a.height << " pixels with " << b.width << " x " << b.height;
        return a.width * a.height + b.width * b.height + 1;
    }
    int count = 0;
    for (int y = std::max(y0, 0); y < std::min(y1, a.height); ++y)
        for (int x = std::max(x0, 0); x < std::min(x1, a.width); ++x)
            if (a.at(x, y) != b.at(x, y)) ++count;
    return count;
}

int differingPixels(const CapturedPixels& a, const CapturedPixels& b) {
    return differingPixels(a, b, 0, 0, a.width, a.height);
}

int pixelsOf(const CapturedPixels& pixels, std::uint32_t colour, int x0, int y0, int x1, int y1) {
    int count = 0;
    for (int y = std::max(y0, 0); y < std::min(y1, pixels.height); ++y)
        for (int x = std::max(x0, 0); x < std::min(x1, pixels.width); ++x)
            if (pixels.at(x, y) == colour) ++count;
    return count;
}
