#include "archive/ChapterTimeTable.h"

#include <algorithm>

ChapterTimeTable::ChapterTimeTable() : chapters(static_cast<std::size_t>(kChapters)) {}

void ChapterTimeTable::clear() {
    for (std::vector<ChapterRow>& rows : chapters) std::vector<ChapterRow>().swap(rows);
}

void ChapterTimeTable::writeRows(int chapter, const std::vector<ChapterRow>& chapterRows) {
    if (chapter < 0 || chapter >= kChapters) return;
    std::size_t count = std::min<std::size_t>(chapterRows.size(), kRowsPerChapter);
    std::vector<ChapterRow>& rows = chapters[static_cast<std::size_t>(chapter)];
    if (rows.size() < count) rows.resize(count);
    std::copy_n(chapterRows.begin(), count, rows.begin());
}

ChapterRow ChapterTimeTable::row(int chapter, int index) const {
    if (chapter < 0 || chapter >= kChapters || index < 0 || index >= kRowsPerChapter) return ChapterRow();
    const std::vector<ChapterRow>& rows = chapters[static_cast<std::size_t>(chapter)];
    return static_cast<std::size_t>(index) < rows.size() ? rows[static_cast<std::size_t>(index)] : ChapterRow();
}

std::size_t ChapterTimeTable::heldRows() const {
    std::size_t held = 0;
    for (const std::vector<ChapterRow>& rows : chapters) held += rows.size();
    return held;
}
