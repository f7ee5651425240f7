#include "playback/decode/PalettePicture.h"

#include "playback/decode/Image.h"

#include <new>

std::unique_ptr<PalettePicture> PalettePicture::create(std::uint64_t width, std::uint64_t height) {
    if (!Image::sizeAllowed(width, height)) return nullptr;
    try {
        return std::unique_ptr<PalettePicture>(new PalettePicture(static_cast<int>(width), static_cast<int>(height)));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

// The sides are within Image::kMaxSide, so the byte count is far below any limit.
PalettePicture::PalettePicture(int width, int height)
    : pixelWidth(width),
      pixelHeight(height),
      stride((static_cast<std::size_t>(width) + 3) & ~static_cast<std::size_t>(3)),
      buffer(new std::uint8_t[stride * static_cast<std::size_t>(height)]()) {}

void PalettePicture::setColour(int index, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    if (index < 0 || index >= kColours) return;
    table[index] = (std::uint32_t{red} << 16) | (std::uint32_t{green} << 8) | blue;
}
