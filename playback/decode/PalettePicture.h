#pragma once
// A picture of at most 256 colours kept as its file stores it: one byte a pixel, an index
// into a table of colours. Nearly all of the skin's pictures are such pictures, and kept
// this way they take a quarter of the memory of an Image. The layout is that of an
// uncompressed bottom-up 8-bit device-independent bitmap (rows padded to four bytes, 256
// colours in blue, green, red, zero byte order), so drawing hands it over unchanged.
#include <cstddef>
#include <cstdint>
#include <memory>

class Image;

class PalettePicture {
public:
    static constexpr int kColours = 256;

    // A new picture of width x height pixels, every index 0 and every colour black; nullptr
    // when the size is not one Image::sizeAllowed takes or its memory cannot be had.
    static std::unique_ptr<PalettePicture> create(std::uint64_t width, std::uint64_t height);
    // The picture's colours (its fourth bytes left out) as indexes, when it has at most
    // kColours of them; nullptr otherwise.
    static std::unique_ptr<PalettePicture> fromFewColours(const Image& image);

    PalettePicture(const PalettePicture&) = delete;
    PalettePicture& operator=(const PalettePicture&) = delete;

    int width() const { return pixelWidth; }
    int height() const { return pixelHeight; }
    // Bytes from one row to the next: the width rounded up to a multiple of four.
    std::size_t rowBytes() const { return stride; }
    const std::uint8_t* indexes() const { return buffer.get(); }
    // The first byte of a row counted from the bottom of the picture (row 0 is the bottom row).
    std::uint8_t* bufferRow(int row) { return buffer.get() + static_cast<std::size_t>(row) * stride; }

    // kColours entries, each 0x00RRGGBB (blue, green, red, zero in memory).
    const std::uint32_t* colours() const { return table; }
    void setColour(int index, std::uint8_t red, std::uint8_t green, std::uint8_t blue);

private:
    PalettePicture(int width, int height);

    int pixelWidth;
    int pixelHeight;
    std::size_t stride;
    std::unique_ptr<std::uint8_t[]> buffer;
    std::uint32_t table[kColours] = {};
};
