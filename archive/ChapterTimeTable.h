#pragma once
// The rows of every chapter of a continuous record taken in so far: up to 600 chapters of
// 1000 rows. The player fills it chapter by chapter, the stopwatch reads and clears it.
// A record uses a few of the 600 chapters and about 600 rows of each, so only the rows of
// chapters written are held: the full grid would be 7.2 MB of zeros in every archive.
#include "archive/ChapterRow.h"

#include <cstddef>
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
    // The rows held in memory: those of the chapters written since the last clear.
    std::size_t heldRows() const;

private:
    // One list a chapter, as long as the longest write to it; empty for a chapter not written.
    std::vector<std::vector<ChapterRow>> chapters;
};
