#include "playback/decode/PalettePicture.h"

#include "playback/decode/Image.h"

#include <algorithm>
#include <iterator>
#include <new>

std::unique_ptr<PalettePicture> PalettePicture::create(std::uint64_t width, std::uint64_t height) {
    if (!Image::sizeAllowed(width, height)) return nullptr;
    try {
        return std::unique_ptr<PalettePicture>(new PalettePicture(static_cast<int>(width), static_cast<int>(height)));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

std::unique_ptr<PalettePicture> PalettePicture::fromFewColours(const Image& image) {
    auto picture = create(static_cast<std::uint64_t>(image.width()), static_cast<std::uint64_t>(image.height()));
    if (!picture) return nullptr;
    // Open addressing over colours (0x00RRGGBB); a colour is never 0xFFFFFFFF, which marks a free slot.
    constexpr std::size_t kSlots = 1024;
    constexpr std::uint32_t kFree = 0xFFFFFFFF;
    std::uint32_t colourAt[kSlots];
    std::uint8_t indexAt[kSlots];
    std::fill(std::begin(colourAt), std::end(colourAt), kFree);
    int used = 0;
    const std::uint8_t* pixels = image.pixels();
    for (int row = 0; row < image.height(); ++row) {
        std::uint8_t* out = picture->bufferRow(row);
        for (int x = 0; x < image.width(); ++x, pixels += 4) {
            const std::uint32_t colour = (std::uint32_t{pixels[2]} << 16) | (std::uint32_t{pixels[1]} << 8) | pixels[0];
            std::size_t slot = (colour * 2654435761u) % kSlots;
            while (colourAt[slot] != kFree && colourAt[slot] != colour) slot = (slot + 1) % kSlots;
            if (colourAt[slot] == kFree) {
                if (used == kColours) return nullptr;
                colourAt[slot] = colour;
                indexAt[slot] = static_cast<std::uint8_t>(used);
                picture->table[used++] = colour;
            }
            out[x] = indexAt[slot];
        }
    }
    return picture;
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
