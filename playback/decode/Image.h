#pragma once
// The one in-memory picture of the program: 32 bits a pixel in blue, green, red, fourth
// byte order, rows stored bottom-up. The layout is exactly that of an uncompressed
// bottom-up 32-bit device-independent bitmap, so every drawing path hands pixels() to the
// graphics interface unchanged.
#include <cstdint>
#include <memory>

class Image {
public:
    // The largest picture the program takes from a file: at most 4096 pixels a side, 64 MiB
    // of pixels. Recorders write 640 x 480 frames and the largest skin picture is 640 x 451;
    // a header that claims more is damaged or crafted, and its picture is not made.
    static constexpr int kMaxSide = 4096;

    // Whether width x height is a picture of at least one pixel within kMaxSide.
    static bool sizeAllowed(std::uint64_t width, std::uint64_t height);
    // A new picture of width x height pixels, all bytes 0; nullptr when the size is not
    // allowed or its memory cannot be had. Decoders make every picture through this.
    static std::unique_ptr<Image> create(std::uint64_t width, std::uint64_t height);

    // Allocates width x height pixels, all bytes 0 (none when either is 0 or less). Throws
    // std::bad_alloc when a side exceeds kMaxSide or the memory cannot be had.
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
