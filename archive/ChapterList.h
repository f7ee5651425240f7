#pragma once
// The result of scanning a continuous folder: the chapter files in play order.
#include <string>
#include <vector>

struct ChapterList {
    // Every chapter but the last is taken to hold exactly this many slots, so that an
    // absolute position p is chapter p / 600, slot p % 600.
    static constexpr int kSlotsPerChapter = 600;

    std::vector<std::wstring> paths;  // full paths, at most 60
    int totalSlots = 0;               // (chapters - 1) * 600 + slots of the last chapter
    bool truncated = false;           // the folder held more than 60 chapters
};
