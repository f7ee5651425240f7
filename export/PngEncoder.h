#pragma once
// Writes an Image as an 8-bit RGB PNG file image in memory with libpng.
#include "playback/decode/Image.h"

#include <cstdint>
#include <vector>

// Empty when libpng fails.
std::vector<std::uint8_t> encodePng(const Image& image);
