#pragma once
// The 16 bytes at the start of every recorded video payload, and the JPEG bytes they
// stand in for.
#include "archive/FirmwareCode.h"

#include <cstddef>
#include <cstdint>

class FrameTag {
public:
    static constexpr std::size_t kSize = 16;
    static constexpr std::size_t kSignatureOffset = 2;
    static constexpr std::size_t kSignatureSize = 14;

    // "KORVANE-LAB." and two zero bytes.
    static const std::uint8_t kSignature[kSignatureSize];
    // Start of image, then the start of one define-Huffman-table segment of length 418
    // holding the four standard tables: what the recorder's encoder always writes first.
    static const std::uint8_t kJpegPrefix[kSize];

    static bool hasSignature(const std::uint8_t* tag);
    static bool matches(const std::uint8_t* tag, FirmwareCode code);
};
