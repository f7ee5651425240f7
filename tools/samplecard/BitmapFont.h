#pragma once
// A 5 x 7 pixel font of digits, upper-case letters and the punctuation of times and units.
#include <array>
#include <cstdint>

class BitmapFont {
public:
    static constexpr int kWidth = 5;
    static constexpr int kHeight = 7;
    static constexpr int kAdvance = 6;

    // Seven rows, bit 4 the leftmost pixel; all zero for a character the font lacks.
    static std::array<std::uint8_t, kHeight> glyph(char c);
};
