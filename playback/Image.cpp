#include "playback/Image.h"

#include <cstring>

Image::Image(int width, int height)
    : pixelWidth(width > 0 ? width : 0),
      pixelHeight(height > 0 ? height : 0),
      bufferSize(pixelWidth * pixelHeight * 4),
      buffer(new std::uint8_t[static_cast<std::size_t>(bufferSize)]()) {}

std::unique_ptr<Image> Image::clone() const {
    auto copy = std::make_unique<Image>(pixelWidth, pixelHeight);
    if (bufferSize > 0) std::memcpy(copy->buffer.get(), buffer.get(), static_cast<std::size_t>(bufferSize));
    return copy;
}
