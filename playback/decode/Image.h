#pragma once
// The one in-memory picture of the program: 32 bits a pixel in blue, green, red, fourth
// byte order, rows stored bottom-up. The layout is exactly that of an uncompressed
// bottom-up 32-bit device-independent bitmap, so every drawing path hands pixels() to the
// graphics interface unchanged.
#include <cstdint>
#include <memory>

class Image {
public:
    // Allocates width x height pixels, all bytes 0.
    Image(int width, int height);
    virtual ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    int width() const { return pixelWidth; }
    int height() const { return pixelHeight; }
    int byteSize() const { return bufferSize; }
    std::uint8_t* pixels() { return buffer.get(); }
    const std::uint8_t* pixels() const { return buffer.get(); }
    // The first byte of a row counted from the bottom of the picture (row 0 is the bottom row).
    std::uint8_t* bufferRow(int row) { return buffer.get() + static_cast<std::size_t>(row) * pixelWidth * 4; }

    // A new Image of the same size holding a byte-for-byte copy of the pixels.
    std::unique_ptr<Image> clone() const;

private:
    Image(int width, int height, bool zeroed);

    int pixelWidth;
    int pixelHeight;
    int bufferSize;
    std::unique_ptr<std::uint8_t[]> buffer;
};
