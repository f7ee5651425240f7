#pragma once
// The values of a record header (for image files: of the image's chunk header).
#include <cstdint>

struct RecordInformation {
    int recordKind = 0;            // RecordKind; lowered to NoDetection when the event is not confirmed
    double eventGFirst = 0.0;      // G at the event
    double eventGSecond = 0.0;
    std::int64_t dateTime = 0;     // time value, 0 unknown
    std::uint32_t eventTimeStamp = 0;  // ms on the chunk clock; 0 for images
    std::uint8_t protectMark = 0;
    int eventSpeed = 0;            // km/h, 0 to 180
    int auxiliaryByte = 0;         // kept, not used
};
