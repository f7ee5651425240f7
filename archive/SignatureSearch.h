#pragma once
// Resynchronisation after a damaged chunk: finds the next frame tag's signature within one
// window of 1 MiB and moves the file to the chunk header in front of it.
#include "archive/FileSystem.h"

#include <array>
#include <cstddef>
#include <cstdint>

class SignatureSearch {
public:
    static constexpr std::size_t kWindow = 1024 * 1024;

    SignatureSearch();

    // Offset of the leftmost signature in bytes, or -1.
    std::ptrdiff_t find(const std::uint8_t* bytes, std::size_t length) const;
    // Reads one window from the current position; when it holds a signature, seeks to the
    // chunk header before it and returns true. Data after a longer damaged stretch is never read.
    bool resynchronise(File& file) const;

private:
    std::array<std::uint8_t, 256> shifts;
};
