#pragma once
// The brightness adjustment applied to a copy of each frame before it is drawn.
#include "playback/decode/Image.h"

#include <array>
#include <cstdint>
#include <memory>

class GammaCorrection {
public:
    static constexpr double kMinGamma = 0.1;
    static constexpr double kMaxGamma = 5.0;

    GammaCorrection();
    virtual ~GammaCorrection() = default;

    // Clamps value to 0.1 .. 5.0 and rebuilds the table.
    void setGamma(double value);
    double gamma() const { return current; }
    std::uint8_t lookup(int value) const { return table[static_cast<std::size_t>(value)]; }

    // Maps the blue, green and red bytes of every pixel through the table, in place; the
    // fourth byte stays. Nothing happens at exactly 1.0.
    void apply(Image& image) const;
    // The picture as it is drawn: at exactly 1.0 the picture itself, otherwise a corrected
    // copy, held in copy. A frame painted at the usual brightness so needs no third
    // frame-sized buffer beside the shown and the decoding one.
    const Image& adjusted(const Image& picture, std::unique_ptr<Image>& copy) const;

private:
    double current = 1.0;
    std::array<std::uint8_t, 256> table{};
};
