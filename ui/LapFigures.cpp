#include "ui/LapFigures.h"

#include <cstdint>
#include <cwchar>

namespace LapFigures {

std::wstring timeText(int milliseconds) {
    int minutes = milliseconds / 60000;
    int seconds = milliseconds / 1000 - minutes * 60;
    int tenths = milliseconds % 1000 / 100;
    wchar_t text[32];
    std::swprintf(text, 32, L"%02d\u2032 %02d\u2033 %d", minutes, seconds, tenths);
    return text;
}

int averageSpeed(const RowSource& rows, int startChapter, int startRow, int endChapter, int endRow) {
    std::int64_t sum = 0;
    std::int64_t count = 0;
    auto add = [&](int chapter, int row) {
        sum += rows(chapter, row).speed;
        ++count;
    };
    if (startChapter >= endChapter) {
        for (int row = startRow + 1; row <= endRow; ++row) add(endChapter, row);
    } else {
        // A chapter's rows end before the first row without a time stamp.
        for (int row = startRow + 1; row < kRowsPerChapter && rows(startChapter, row).timeStamp != 0; ++row)
            add(startChapter, row);
        for (int chapter = startChapter + 1; chapter < endChapter; ++chapter)
            for (int row = 0; row < kRowsPerChapter && rows(chapter, row).timeStamp != 0; ++row) add(chapter, row);
        for (int row = 0; row < endRow; ++row) add(endChapter, row);
    }
    return count > 0 ? static_cast<int>(sum / count) : 0;
}

}  // namespace LapFigures
