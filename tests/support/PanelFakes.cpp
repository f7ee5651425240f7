#include "support/PanelFakes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

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

namespace {

// What draw puts on a bitmap of width x height compatible with dc (the screen's when null).
CapturedPixels drawnOnBitmap(HDC dc, int width, int height, const std::function<void(HDC)>& draw) {
    HDC memory = CreateCompatibleDC(dc);
    HDC screen = dc != nullptr ? nullptr : GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc != nullptr ? dc : screen, width, height);
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    draw(memory);
    SelectObject(memory, previous);
    DeleteDC(memory);
    CapturedPixels result = bitmapPixels(bitmap);
    DeleteObject(bitmap);
    return result;
}

}  // namespace

CapturedPixels composedPictures(int width, int height, const std::vector<PicturePlace>& pictures) {
    return drawnOnBitmap(nullptr, width, height, [&](HDC dc) {
        RECT whole = {0, 0, width, height};
        FillRect(dc, &whole, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        for (const PicturePlace& place : pictures) AlphaImage::fromResource(place.id)->draw(dc, place.x, place.y);
    });
}

CapturedPixels windowPixels(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    HDC source = GetDC(window);
    CapturedPixels result = drawnOnBitmap(source, client.right, client.bottom, [&](HDC dc) {
        BitBlt(dc, 0, 0, client.right, client.bottom, source, 0, 0, SRCCOPY);
    });
    ReleaseDC(window, source);
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
