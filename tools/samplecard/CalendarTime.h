#pragma once
// Calendar arithmetic on the recorder's local date and time fields.
#include "tools/writer/RecorderWriter.h"

#include <string>

class CalendarTime {
public:
    // The fields a whole number of seconds later (the calendar, not a time zone, decides).
    static RecorderDateTime addSeconds(const RecorderDateTime& start, long long seconds);
    // "2026/11/21 09:41:07", as the recorder stamps its pictures.
    static std::string format(const RecorderDateTime& time);
};
