#pragma once
// Decoding of the recorder's header fields: BCD numbers, calendar times, G values and
// speeds, and the layouts of the record header and the chunk header.
#include "archive/FrameRecord.h"
#include "archive/RecordInformation.h"

#include <cstddef>
#include <cstdint>

class RecorderFields {
public:
    static constexpr std::size_t kRecordHeaderSize = 32;
    static constexpr std::size_t kSkipBlockSize = 16;
    static constexpr std::size_t kChunkHeaderSize = 64;
    static constexpr std::uint8_t kVideoChunk = 0x55;
    static constexpr std::uint8_t kSoundChunk = 0xAA;
    static constexpr int kMaxSpeed = 180;

    // The number formed by the 2 x count BCD digits; nibbles above 9 are taken as they are.
    static std::uint32_t bcdNumber(const std::uint8_t* bytes, std::size_t count);
    // Six BCD bytes (year 00-99 meaning 2000-2099, month, day, hour, minute, second) as a
    // time value, or 0 when the local calendar time does not exist.
    static std::int64_t dateTime(const std::uint8_t* bytes);
    // Two BCD bytes, D / 1000 G, where 8.001 to 9.999 stand for -0.001 to -1.999.
    static double signedBcdG(const std::uint8_t* bytes);
    // A raw sensor value of the record header: 0 means none, otherwise clamped to 215..808.
    static double rawG(std::uint16_t raw);
    // Four BCD digits in km/h, at most 180.
    static int speed(const std::uint8_t* bytes);
    // Record header kind code to RecordKind.
    static int recordKind(std::uint8_t code);

    static RecordInformation fromRecordHeader(const std::uint8_t* header);
    // A frame record from a 64-byte chunk header; the payload offset is left to the caller.
    static FrameRecord fromChunkHeader(const std::uint8_t* header);
    // The record information of an image file, taken from its one chunk header.
    static RecordInformation imageInformation(const std::uint8_t* header);

    static std::uint8_t chunkType(const std::uint8_t* header);
    static std::int32_t payloadSize(const std::uint8_t* header);
};
