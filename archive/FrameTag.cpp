#include "archive/FrameTag.h"

#include <cstring>

const std::uint8_t FrameTag::kSignature[kSignatureSize] = {'K', 'O', 'R', 'V', 'A', 'N', 'E', '-',
                                                          'L', 'A', 'B', '.', 0x00, 0x00};

const std::uint8_t FrameTag::kJpegPrefix[kSize] = {0xFF, 0xD8, 0xFF, 0xC4, 0x01, 0xA2, 0x00, 0x00,
                                                   0x01, 0x05, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01};

bool FrameTag::hasSignature(const std::uint8_t* tag) {
    return std::memcmp(tag + kSignatureOffset, kSignature, kSignatureSize) == 0;
}

bool FrameTag::matches(const std::uint8_t* tag, FirmwareCode code) {
    return tag[0] == code.high && tag[1] == code.low && hasSignature(tag);
}
