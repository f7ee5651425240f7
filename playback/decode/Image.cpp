#include "playback/decode/Image.h"

#include "playback/decode/PixelBufferPool.h"

#include <cstring>

Image::Image(int width, int height) : Image(width, height, true) {}

Image::Image(int width, int height, bool zeroed)
    : pixelWidth(width > 0 ? width : 0),
      pixelHeight(height > 0 ? height : 0),
      bufferSize(pixelWidth * pixelHeight * 4),
      buffer(PixelBufferPool::shared().take(static_cast<std::size_t>(bufferSize))) {
    if (zeroed && bufferSize > 0) std::memset(buffer.get(), 0, static_cast<std::size_t>(bufferSize));
}

Image::~Image() { PixelBufferPool::shared().give(std::move(buffer), static_cast<std::size_t>(bufferSize)); }

std::unique_ptr<Image> Image::clone() const {
    std::unique_ptr<Image> copy(new Image(pixelWidth, pixelHeight, false));
    if (bufferSize > 0) std::memcpy(copy->buffer.get(), buffer.get(), static_cast<std::size_t>(bufferSize));
    return copy;
}
