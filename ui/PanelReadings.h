#pragma once
// Readings of the open record that several panels share.
#include "archive/IVideoInfo.h"

#include <cstdint>
#include <ctime>
#include <string>

// The sample of the current frame, or nullptr when the frame has none.
const FrameRecord* currentSample(const IVideoInfo* info, int frame);
// The first slot that holds a sample, or nullptr.
const FrameRecord* firstSample(const IVideoInfo& info);
// The sample at the event frame, or else the first sample of the record.
const FrameRecord* eventSample(const IVideoInfo& info);

// A time value as the recorder's local calendar time; false when it cannot be converted.
bool localCalendar(std::int64_t timeValue, std::tm& calendar);
// "%02d:%02d:%02d" of a time value; empty when it is 0 or cannot be converted.
std::wstring clockText(std::int64_t timeValue);

// A chart coordinate computed in floating point, as a pixel: truncated toward zero, and
// held far inside int's range so that a wild value from the card stays a wild pixel (which
// the bitmap clips) and never overflows.
int toPixel(double value);
