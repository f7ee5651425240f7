#include "archive/ChapterTimeTable.h"

#include <algorithm>
#include <cstddef>

ChapterTimeTable::ChapterTimeTable()
    : rows(static_cast<std::size_t>(kChapters) * kRowsPerChapter) {}

void ChapterTimeTable::clear() { std::fill(rows.begin(), rows.end(), ChapterRow()); }

void ChapterTimeTable::writeRows(int chapter, const std::vector<ChapterRow>& chapterRows) {
    if (chapter < 0 || chapter >= kChapters) return;
    std::size_t count = std::min<std::size_t>(chapterRows.size(), kRowsPerChapter);
    std::copy_n(chapterRows.begin(), count, rows.begin() + static_cast<std::ptrdiff_t>(chapter) * kRowsPerChapter);
}

ChapterRow ChapterTimeTable::row(int chapter, int index) const {
    if (chapter < 0 || chapter >= kChapters || index < 0 || index >= kRowsPerChapter) return ChapterRow();
    return rows[static_cast<std::size_t>(chapter) * kRowsPerChapter + index];
}
