#pragma once
// One row of the per-chapter time table that the stopwatch reads for lap averages.
#include <cstdint>

struct ChapterRow {
    std::int32_t timeStamp = 0;  // ms on the chunk clock; 0 means no row
    std::int32_t slotIndex = 0;
    std::int32_t speed = 0;      // km/h after the ramp
};
static_assert(sizeof(ChapterRow) == 12, "the table is 600 x 1000 rows of three 32-bit integers");
