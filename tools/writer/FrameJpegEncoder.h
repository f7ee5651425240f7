#pragma once
// Encodes pictures the way the recorder's encoder does: baseline JPEG whose first segment
// after SOI is one define-Huffman-table segment of length 418 holding the four standard
// tables, so that the 16-byte frame tag can stand in their place.
#include "tools/writer/RgbPicture.h"

#include <cstdint>
#include <vector>

class FrameJpegEncoder {
public:
    // Throws std::runtime_error when libjpeg fails or the layout cannot be made.
    static std::vector<std::uint8_t> encode(const RgbPicture& picture, int quality = 85);

    // Crafted frames: makes the start-of-frame segment of a stream (or of a frame payload,
    // whose tag stands in for the first 16 bytes) claim another picture size, leaving the
    // scan data as it was. False when the stream holds no start-of-frame segment.
    static bool claimSize(std::vector<std::uint8_t>& stream, std::uint16_t width, std::uint16_t height);
};
