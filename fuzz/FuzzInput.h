#pragma once
// What the fuzz targets share: one memory file system installed as the current one, and the
// way an input holds several files (a folder of images or chapters): the files one after
// another, separated by kFileSeparator. The seed generator writes inputs the same way.
#include "MemoryFileSystem.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace fuzz {

constexpr char kFileSeparator[] = "\n~SCENOVA-FILE~\n";
constexpr std::size_t kFileSeparatorSize = sizeof kFileSeparator - 1;
const std::wstring kFolder = L"/card/RECORD";

struct Piece {
    const std::uint8_t* bytes;
    std::size_t size;
};

// At most maxFiles pieces; the last one takes whatever follows.
inline std::vector<Piece> splitFiles(const std::uint8_t* data, std::size_t size, std::size_t maxFiles) {
    std::vector<Piece> pieces;
    std::size_t start = 0;
    std::size_t at = 0;
    while (pieces.size() + 1 < maxFiles && at + kFileSeparatorSize <= size) {
        // Only where the separator's first byte stands is a whole comparison worth it.
        const void* next = std::memchr(data + at, kFileSeparator[0], size - kFileSeparatorSize + 1 - at);
        if (!next) break;
        at = static_cast<std::size_t>(static_cast<const std::uint8_t*>(next) - data);
        if (std::memcmp(data + at, kFileSeparator, kFileSeparatorSize) == 0) {
            pieces.push_back({data + start, at - start});
            at += kFileSeparatorSize;
            start = at;
        } else {
            ++at;
        }
    }
    pieces.push_back({data + start, size - start});
    return pieces;
}

// The memory file system, emptied and made the current one.
inline MemoryFileSystem& freshFileSystem() {
    static MemoryFileSystem fs;
    fs.clear();
    fs.makeFolder(kFolder);
    FileSystem::install(&fs);
    return fs;
}

}  // namespace fuzz
