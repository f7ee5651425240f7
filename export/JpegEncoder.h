#pragma once
// Compresses an Image into a baseline JPEG stream in memory with libjpeg-turbo.
#include "playback/decode/Image.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class JpegEncoder {
public:
    // With the library's standard tables scaled to quality (1 to 100).
    static std::vector<std::uint8_t> encode(const Image& image, int quality);
    // With the quantisation tables of model, a JPEG stream: a picture re-encoded this way
    // keeps the detail of the model's encoding and about its size. Falls back to quality
    // kFallbackQuality when model cannot be read. Empty only when compression fails.
    static std::vector<std::uint8_t> encodeLike(const Image& image, const std::uint8_t* model, std::size_t modelSize);

    static constexpr int kFallbackQuality = 90;
};
