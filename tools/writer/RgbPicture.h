#pragma once
// A picture to put into a recorded frame: 8-bit red, green, blue per pixel, top row first.
#include <cstdint>
#include <vector>

struct RgbPicture {
    int width = 64;
    int height = 48;
    std::vector<std::uint8_t> rgb = std::vector<std::uint8_t>(64 * 48 * 3, 0x80);

    static RgbPicture solid(int width, int height, std::uint8_t red, std::uint8_t green, std::uint8_t blue);
    // Horizontal bands whose colours follow from seed, so frames can be told apart.
    static RgbPicture bands(int width, int height, std::uint32_t seed);
};
