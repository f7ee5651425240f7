#include "export/TelemetryCsv.h"

#include <cstdio>
#include <ctime>

namespace {

// Local calendar time, as the recorder wrote it; empty when unknown.
std::string isoLocalTime(std::int64_t timeValue) {
    if (timeValue == 0) return std::string();
    const __time64_t seconds = timeValue;
    std::tm local{};
    if (_localtime64_s(&local, &seconds) != 0) return std::string();
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

}  // namespace

TelemetryCsv::TelemetryCsv(int slotsPerSecond)
    : perSecond(slotsPerSecond), csv("slot,seconds,dateTime,speed,gFirst,gSecond,gMagnitude,eventMark\r\n") {}

void TelemetryCsv::addRecord(const VideoArchive& archive) {
    char line[256];
    for (int slot = 0; slot < archive.slotCount(); ++slot, ++rows) {
        const double seconds = perSecond > 0 ? static_cast<double>(rows) / perSecond : 0.0;
        const FrameRecord* frame = archive.frameAt(slot);
        if (!frame) {
            std::snprintf(line, sizeof line, "%d,%.3f,,,,,,\r\n", rows, seconds);
        } else {
            std::snprintf(line, sizeof line, "%d,%.3f,%s,%d,%.3f,%.3f,%.3f,%d\r\n", rows, seconds,
                          isoLocalTime(frame->dateTime).c_str(), frame->speed, frame->gFirst, frame->gSecond,
                          frame->gMagnitude, frame->eventMark);
        }
        csv += line;
    }
}
