#pragma once
// The rows of every chapter of a continuous record taken in so far: 600 chapters of 1000
// rows. The player fills it chapter by chapter, the stopwatch reads and clears it.
#include "archive/ChapterRow.h"

#include <vector>

class ChapterTimeTable {
public:
    static constexpr int kChapters = 600;
    static constexpr int kRowsPerChapter = 1000;

    ChapterTimeTable();

    // All zero rows.
    void clear();
    // Replaces rows 0 .. rows.size() - 1 of a chapter; later rows keep what they held.
    // A chapter outside the table is ignored; rows beyond the chapter's capacity are dropped.
    void writeRows(int chapter, const std::vector<ChapterRow>& rows);
    // A zero row when chapter or row lies outside the table.
    ChapterRow row(int chapter, int row) const;

private:
    std::vector<ChapterRow> rows;
};
