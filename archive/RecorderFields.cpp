#include "archive/RecorderFields.h"

#include "archive/ByteOrder.h"
#include "archive/RecordKind.h"

#include <cmath>
#include <ctime>

namespace {

// Record header.
constexpr std::size_t kKindCode = 0;
constexpr std::size_t kRecordDateTime = 2;
constexpr std::size_t kEventTimeStamp = 8;
constexpr std::size_t kEventGFirst = 12;
constexpr std::size_t kEventGSecond = 14;
constexpr std::size_t kEventSpeed = 16;
constexpr std::size_t kRecordAuxiliaryByte = 28;
constexpr std::size_t kRecordProtect = 29;

// Chunk header.
constexpr std::size_t kPayloadSize = 0;
constexpr std::size_t kTimeStamp = 4;
constexpr std::size_t kSoundByteCount = 8;
constexpr std::size_t kChunkType = 12;
constexpr std::size_t kSerialFirst = 32;
constexpr std::size_t kSerialSecond = 33;
constexpr std::size_t kFrameDateTime = 36;
constexpr std::size_t kGFirst = 42;
constexpr std::size_t kGSecond = 44;
constexpr std::size_t kSpeed = 46;
constexpr std::size_t kAuxiliaryValue1 = 48;
constexpr std::size_t kAuxiliaryValue2 = 52;
constexpr std::size_t kAuxiliaryWord = 59;
constexpr std::size_t kAuxiliaryByte = 60;
constexpr std::size_t kFrameProtect = 61;

constexpr std::uint8_t kProtectBit = 0x01;
constexpr std::uint16_t kRawGLowest = 215;
constexpr std::uint16_t kRawGHighest = 808;
constexpr std::uint16_t kRawGZero = 512;
constexpr double kRawGUnit = 0.01468;

bool toTimeValue(std::tm& calendar, std::int64_t& value) {
#ifdef _WIN32
    __time64_t made = _mktime64(&calendar);
    if (made == -1) return false;
    value = made;
    return true;
#else
    std::time_t made = std::mktime(&calendar);
    if (made == static_cast<std::time_t>(-1)) return false;
    value = made;
    return true;
#endif
}

bool toCalendar(std::int64_t value, std::tm& calendar) {
#ifdef _WIN32
    __time64_t time = value;
    return _localtime64_s(&calendar, &time) == 0;
#else
    std::time_t time = static_cast<std::time_t>(value);
    return localtime_r(&time, &calendar) != nullptr;
#endif
}

}  // namespace

std::uint32_t RecorderFields::bcdNumber(const std::uint8_t* bytes, std::size_t count) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < count; ++i) value = value * 100 + (bytes[i] >> 4) * 10 + (bytes[i] & 0x0F);
    return value;
}

std::int64_t RecorderFields::dateTime(const std::uint8_t* bytes) {
    std::tm calendar = {};
    calendar.tm_year = 2000 + static_cast<int>(bcdNumber(bytes, 1)) - 1900;
    calendar.tm_mon = static_cast<int>(bcdNumber(bytes + 1, 1)) - 1;
    calendar.tm_mday = static_cast<int>(bcdNumber(bytes + 2, 1));
    calendar.tm_hour = static_cast<int>(bcdNumber(bytes + 3, 1));
    calendar.tm_min = static_cast<int>(bcdNumber(bytes + 4, 1));
    calendar.tm_sec = static_cast<int>(bcdNumber(bytes + 5, 1));
    calendar.tm_isdst = -1;
    const std::tm wanted = calendar;

    // The recorder does not check its calendar: a time that the conversion had to move
    // (30 February, 25 o'clock, a skipped daylight-saving hour) is no time at all.
    std::int64_t value = 0;
    if (!toTimeValue(calendar, value)) return 0;
    std::tm back = {};
    if (!toCalendar(value, back)) return 0;
    if (back.tm_year != wanted.tm_year || back.tm_mon != wanted.tm_mon || back.tm_mday != wanted.tm_mday ||
        back.tm_hour != wanted.tm_hour || back.tm_min != wanted.tm_min || back.tm_sec != wanted.tm_sec) {
        return 0;
    }
    return value;
}

double RecorderFields::signedBcdG(const std::uint8_t* bytes) {
    double x = bcdNumber(bytes, 2) / 1000.0;
    if (x > 8.0) return -(x - 8.0);
    if (x == 8.0) return 0.0;
    return x;
}

double RecorderFields::rawG(std::uint16_t raw) {
    if (raw == 0) return 0.0;
    std::uint16_t clamped = raw < kRawGLowest ? kRawGLowest : (raw > kRawGHighest ? kRawGHighest : raw);
    return (static_cast<int>(clamped) - kRawGZero) * kRawGUnit;
}

int RecorderFields::speed(const std::uint8_t* bytes) {
    std::uint32_t value = bcdNumber(bytes, 2);
    return value >= kMaxSpeed ? kMaxSpeed : static_cast<int>(value);
}

int RecorderFields::recordKind(std::uint8_t code) {
    switch (code) {
    case 0x10: return RecordKind::AutoEvent;
    case 0x20: return RecordKind::ManualEvent;
    case 0x18: return RecordKind::Image;
    case 0x19: return RecordKind::Continuous;
    default: return RecordKind::NoDetection;
    }
}

RecordInformation RecorderFields::fromRecordHeader(const std::uint8_t* header) {
    RecordInformation information;
    information.recordKind = recordKind(header[kKindCode]);
    information.dateTime = dateTime(header + kRecordDateTime);
    information.eventTimeStamp = readBigEndian32(header + kEventTimeStamp);
    information.eventGFirst = rawG(readBigEndian16(header + kEventGFirst));
    information.eventGSecond = rawG(readBigEndian16(header + kEventGSecond));
    information.eventSpeed = speed(header + kEventSpeed);
    information.auxiliaryByte = header[kRecordAuxiliaryByte];
    information.protectMark = header[kRecordProtect] & kProtectBit;
    return information;
}

FrameRecord RecorderFields::fromChunkHeader(const std::uint8_t* header) {
    FrameRecord record;
    record.serialFirst = header[kSerialFirst];
    record.serialSecond = static_cast<int>(bcdNumber(header + kSerialSecond, 2));
    record.dateTime = dateTime(header + kFrameDateTime);
    record.gFirst = signedBcdG(header + kGFirst);
    record.gSecond = signedBcdG(header + kGSecond);
    record.gMagnitude = std::sqrt(record.gFirst * record.gFirst + record.gSecond * record.gSecond);
    record.speed = speed(header + kSpeed);
    record.auxiliaryValue1 = static_cast<int>(bcdNumber(header + kAuxiliaryValue1, 4));
    record.auxiliaryValue2 = static_cast<int>(bcdNumber(header + kAuxiliaryValue2, 4));
    record.auxiliaryWord = readBigEndian16(header + kAuxiliaryWord);
    record.auxiliaryByte = header[kAuxiliaryByte];
    record.protectMark = header[kFrameProtect] & kProtectBit;
    record.payloadSize = payloadSize(header);
    record.soundByteCount = readBigEndian32(header + kSoundByteCount);
    record.timeStamp = readBigEndian32(header + kTimeStamp);
    record.chunkType = header[kChunkType];
    return record;
}

RecordInformation RecorderFields::imageInformation(const std::uint8_t* header) {
    RecordInformation information;
    information.recordKind = RecordKind::Image;
    information.dateTime = dateTime(header + kFrameDateTime);
    information.eventGFirst = signedBcdG(header + kGFirst);
    information.eventGSecond = signedBcdG(header + kGSecond);
    information.eventSpeed = speed(header + kSpeed);
    information.auxiliaryByte = header[kAuxiliaryByte];
    information.protectMark = header[kFrameProtect] & kProtectBit;
    information.eventTimeStamp = 0;
    return information;
}

std::uint8_t RecorderFields::chunkType(const std::uint8_t* header) { return header[kChunkType]; }

std::int32_t RecorderFields::payloadSize(const std::uint8_t* header) {
    return static_cast<std::int32_t>(readBigEndian32(header + kPayloadSize));
}
