#include "tools/samplecard/CalendarTime.h"

#include <cstdio>
#include <ctime>

RecorderDateTime CalendarTime::addSeconds(const RecorderDateTime& start, long long seconds) {
    std::tm fields{};
    fields.tm_year = start.year - 1900;
    fields.tm_mon = start.month - 1;
    fields.tm_mday = start.day;
    fields.tm_hour = start.hour;
    fields.tm_min = start.minute;
    fields.tm_sec = start.second;
    // Working in UTC keeps daylight saving out of plain calendar arithmetic.
    const __time64_t moment = _mkgmtime64(&fields) + seconds;
    std::tm later{};
    _gmtime64_s(&later, &moment);
    RecorderDateTime result;
    result.year = later.tm_year + 1900;
    result.month = later.tm_mon + 1;
    result.day = later.tm_mday;
    result.hour = later.tm_hour;
    result.minute = later.tm_min;
    result.second = later.tm_sec;
    return result;
}

std::string CalendarTime::format(const RecorderDateTime& time) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", time.year, time.month, time.day, time.hour,
                  time.minute, time.second);
    return text;
}
