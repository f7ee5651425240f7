#include "playback/decode/Image.h"

#include "playback/decode/PixelBufferPool.h"

#include <cstring>
#include <new>

namespace {

constexpr std::size_t kBytesPerPixel = 4;

// Checked before anything is computed from the sides, so the byte size always fits an int.
int byteSizeOf(int width, int height) {
    if (width > Image::kMaxSide || height > Image::kMaxSide) throw std::bad_alloc();
    if (width <= 0 || height <= 0) return 0;
    return static_cast<int>(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * kBytesPerPixel);
}

}  // namespace

static_assert(static_cast<std::uint64_t>(Image::kMaxSide) * Image::kMaxSide * 4 <= 0x7FFFFFFF,
              "the byte size of the largest picture fits the int byteSize()");

bool Image::sizeAllowed(std::uint64_t width, std::uint64_t height) {
    return width > 0 && height > 0 && width <= static_cast<std::uint64_t>(kMaxSide) &&
           height <= static_cast<std::uint64_t>(kMaxSide);
}

std::unique_ptr<Image> Image::create(std::uint64_t width, std::uint64_t height) {
    if (!sizeAllowed(width, height)) return nullptr;
    try {
        return std::make_unique<Image>(static_cast<int>(width), static_cast<int>(height));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

Image::Image(int width, int height) : Image(width, height, true) {}

Image::Image(int width, int height, bool zeroed)
    : pixelWidth(width > 0 ? width : 0),
      pixelHeight(height > 0 ? height : 0),
      bufferSize(byteSizeOf(width, height)),
      buffer(PixelBufferPool::shared().take(static_cast<std::size_t>(bufferSize))) {
    if (zeroed && bufferSize > 0) std::memset(buffer.get(), 0, static_cast<std::size_t>(bufferSize));
}

Image::~Image() { PixelBufferPool::shared().give(std::move(buffer), static_cast<std::size_t>(bufferSize)); }

std::unique_ptr<Image> Image::clone() const {
    std::unique_ptr<Image> copy(new Image(pixelWidth, pixelHeight, false));
    if (bufferSize > 0) std::memcpy(copy->buffer.get(), buffer.get(), static_cast<std::size_t>(bufferSize));
    return copy;
}
