#pragma once
// The telemetry of records as CSV, one row per slot: what the recorder logged with each
// frame, the date and time in its local time. Rows of several records (the chapters of a
// continuous folder) are numbered on, so that row n belongs to frame n of the joined video.
#include "archive/VideoArchive.h"

#include <string>

class TelemetryCsv {
public:
    // slotsPerSecond gives the seconds column; 0 (an image) leaves it at 0.
    explicit TelemetryCsv(int slotsPerSecond);

    // Appends a row for every slot of the open record.
    void addRecord(const VideoArchive& archive);
    const std::string& text() const { return csv; }

private:
    int perSecond;
    int rows = 0;
    std::string csv;
};
