#pragma once
// The stopwatch's arithmetic, free of windows: how a time reads on the read-outs, and the
// average speed of a lap over the rows of the chapter time table it spans.
#include "archive/ChapterRow.h"

#include <functional>
#include <string>

namespace LapFigures {

// The row of a chapter's time table; a time stamp of 0 means there is no such row.
using RowSource = std::function<ChapterRow(int chapter, int row)>;

constexpr int kRowsPerChapter = 1000;

// "%02d′ %02d″ %d": minutes, seconds and tenths, each cut (never rounded).
std::wstring timeText(int milliseconds);

// Mean speed over the rows after the lap's start row up to its end row: within one chapter
// rows startRow + 1 .. endRow; across chapters the rest of the start chapter, every row of
// the chapters between and rows 0 .. endRow - 1 of the end chapter. 0 when no row counts.
int averageSpeed(const RowSource& rows, int startChapter, int startRow, int endChapter, int endRow);

}  // namespace LapFigures
