#include "playback/GammaCorrection.h"

#include <cmath>

GammaCorrection::GammaCorrection() { setGamma(1.0); }

void GammaCorrection::setGamma(double value) {
    if (value >= kMaxGamma) {
        current = kMaxGamma;
    } else if (value < kMinGamma || std::isnan(value)) {
        current = kMinGamma;
    } else {
        current = value;
    }
    for (int i = 0; i < 256; ++i) {
        double corrected = 255.0 * std::pow(i / 255.0, 1.0 / current) + 0.5;
        table[static_cast<std::size_t>(i)] = corrected > 255.0 ? 255 : static_cast<std::uint8_t>(corrected);
    }
}

void GammaCorrection::apply(Image& image) const {
    if (current == 1.0) return;
    std::uint8_t* pixel = image.pixels();
    std::uint8_t* end = pixel + image.byteSize();
    for (; pixel < end; pixel += 4) {
        pixel[0] = table[pixel[0]];
        pixel[1] = table[pixel[1]];
        pixel[2] = table[pixel[2]];
    }
}

const Image& GammaCorrection::adjusted(const Image& picture, std::unique_ptr<Image>& copy) const {
    if (current == 1.0) return picture;
    copy = picture.clone();
    apply(*copy);
    return *copy;
}
