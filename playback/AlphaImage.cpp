#include "playback/AlphaImage.h"

#include "base/Exception.h"
#include "playback/ResourceData.h"
#include "playback/decode/ImageDecoder.h"

#include <cstring>

namespace {

// A bitmap header with room for a full colour table.
struct PictureInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colours[PalettePicture::kColours];
};

}  // namespace

std::unique_ptr<AlphaImage> AlphaImage::fromResource(int id) {
    try {
        unsigned long size = 0;
        const auto* bytes = static_cast<const std::uint8_t*>(findResourceData(L"IMAGE", id, &size));
        if (auto indexed = loadPalettePng(bytes, size)) return std::make_unique<AlphaImage>(std::move(indexed));
        std::unique_ptr<Image> fullColour = loadPng(bytes, size);
        if (!fullColour) return std::make_unique<AlphaImage>();
        // Most of the rest (buttons, glyphs) have few colours as well.
        if (auto indexed = PalettePicture::fromFewColours(*fullColour)) return std::make_unique<AlphaImage>(std::move(indexed));
        return std::make_unique<AlphaImage>(std::move(fullColour));
    } catch (const Exception&) {
        // A missing picture leaves the place empty; the widget draws nothing there.
        return std::make_unique<AlphaImage>();
    }
}

void AlphaImage::draw(HDC dc, int x, int y) const {
    if (!empty()) draw(dc, x, y, width(), height(), 0, width(), height());
}

bool AlphaImage::draw(HDC dc, int x, int y, int w, int h) const {
    return !empty() && draw(dc, x, y, w, h, 0, width(), height());
}

bool AlphaImage::draw(HDC dc, int x, int y, int w, int h, int srcX, int srcW, int srcH) const {
    if (empty()) return false;
    PictureInfo info = {};
    BITMAPINFOHEADER& header = info.header;
    header.biSize = sizeof header;
    header.biWidth = width();
    header.biHeight = height();
    header.biPlanes = 1;
    header.biCompression = BI_RGB;
    const void* bits = nullptr;
    if (indexed) {
        header.biBitCount = 8;
        header.biClrUsed = PalettePicture::kColours;
        header.biSizeImage = static_cast<DWORD>(indexed->rowBytes() * static_cast<std::size_t>(indexed->height()));
        static_assert(sizeof info.colours == sizeof(std::uint32_t) * PalettePicture::kColours,
                      "a colour table entry is the picture's blue, green, red, zero");
        std::memcpy(info.colours, indexed->colours(), sizeof info.colours);
        bits = indexed->indexes();
    } else {
        header.biBitCount = 32;
        header.biSizeImage = static_cast<DWORD>(picture->byteSize());
        bits = picture->pixels();
    }
    return StretchDIBits(dc, x, y, w, h, srcX, 0, srcW, srcH, bits, reinterpret_cast<BITMAPINFO*>(&info),
                         DIB_RGB_COLORS, SRCCOPY) > 0;
}
