#pragma once
// Building blocks for event, chapter and image files in the archive tests.
#include "tools/writer/RecorderWriter.h"

#include <cstdint>

// A time stamp (ms after the first frame) that lands exactly on a slot of the event grid
// (1000/30 ms per slot).
inline std::uint32_t eventStamp(int slot) { return slot == 0 ? 0u : static_cast<std::uint32_t>(slot * 100 / 3 + 1); }

// A calendar time some seconds after 2024-05-10 12:00:00.
inline RecorderDateTime dateAfter(int seconds) {
    RecorderDateTime time;
    time.year = 2024;
    time.month = 5;
    time.day = 10;
    time.hour = 12 + seconds / 3600;
    time.minute = seconds / 60 % 60;
    time.second = seconds % 60;
    return time;
}

constexpr std::uint32_t kClockStart = 50000;  // the recorder's clock never starts at 0

// A frame on slot of the event grid, dated on the same clock.
inline FrameFields eventFrame(int slot, int speed = 40) {
    FrameFields frame;
    frame.timeStamp = kClockStart + eventStamp(slot);
    frame.dateTime = dateAfter(slot / 30);
    frame.speed = speed;
    return frame;
}

// A frame on slot of the chapter grid (100 ms per slot).
inline FrameFields chapterFrame(int slot, int speed = 40) {
    FrameFields frame;
    frame.timeStamp = kClockStart + static_cast<std::uint32_t>(slot) * 100;
    frame.dateTime = dateAfter(slot / 10);
    frame.speed = speed;
    return frame;
}

inline RecordHeaderFields eventHeader(int eventSlot, std::uint8_t kindCode = 0x10) {
    RecordHeaderFields header;
    header.kindCode = kindCode;
    header.dateTime = dateAfter(eventSlot / 30);
    header.eventTimeStamp = kClockStart + eventStamp(eventSlot);
    header.eventGFirstRaw = 600;
    header.eventGSecondRaw = 512;
    return header;
}

// The lead frame every event and chapter file starts with; never shown.
inline FrameFields leadFrame() {
    FrameFields frame;
    frame.timeStamp = kClockStart - 1000;
    frame.dateTime = dateAfter(0);
    return frame;
}
