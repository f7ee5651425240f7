#pragma once
// The two bytes that identify the recorder family: every recorded video frame starts with
// them, and the card's firmware information carries them.
#include <cstdint>

struct FirmwareCode {
    std::uint8_t high = 0x03;
    std::uint8_t low = 0x12;
};
