#include "ui/PanelReadings.h"

#include <cmath>
#include <cwchar>

const FrameRecord* currentSample(const IVideoInfo* info, int frame) {
    return info != nullptr ? info->frameAt(frame) : nullptr;
}

const FrameRecord* firstSample(const IVideoInfo& info) {
    for (int i = 0; i < info.slotCount(); ++i)
        if (const FrameRecord* sample = info.frameAt(i)) return sample;
    return nullptr;
}

const FrameRecord* eventSample(const IVideoInfo& info) {
    if (const FrameRecord* event = info.eventFrame()) return event;
    return firstSample(info);
}

bool localCalendar(std::int64_t timeValue, std::tm& calendar) {
    __time64_t time = timeValue;
    return _localtime64_s(&calendar, &time) == 0;
}

std::wstring clockText(std::int64_t timeValue) {
    std::tm calendar = {};
    if (timeValue == 0 || !localCalendar(timeValue, calendar)) return std::wstring();
    wchar_t text[16];
    std::swprintf(text, 16, L"%02d:%02d:%02d", calendar.tm_hour, calendar.tm_min, calendar.tm_sec);
    return text;
}

int toPixel(double value) {
    constexpr double kFarOutside = 1.0e6;
    if (std::isnan(value)) return 0;
    if (value > kFarOutside) return static_cast<int>(kFarOutside);
    if (value < -kFarOutside) return static_cast<int>(-kFarOutside);
    return static_cast<int>(value);
}
