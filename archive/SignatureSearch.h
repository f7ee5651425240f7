#pragma once
// Resynchronisation after a damaged chunk: finds the next frame tag's signature within one
// window of 1 MiB and moves the file to the chunk header in front of it.
#include "archive/FileSystem.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

class SignatureSearch {
public:
    static constexpr std::size_t kWindow = 1024 * 1024;

    SignatureSearch();

    // Offset of the leftmost signature in bytes, or -1.
    std::ptrdiff_t find(const std::uint8_t* bytes, std::size_t length) const;
    // Reads one window from the current position; when it holds a signature, seeks to the
    // chunk header before it and returns true. Data after a longer damaged stretch is never read.
    // bytesLeft, when known (not -1), is what the file holds from the current position: the
    // window is made no larger. The window is kept for the next search of the same scan.
    bool resynchronise(File& file, std::int64_t bytesLeft = -1);

private:
    std::array<std::uint8_t, 256> shifts;
    std::unique_ptr<std::uint8_t[]> window;
    std::size_t windowSize = 0;
};
