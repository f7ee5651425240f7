#include "tools/writer/RgbPicture.h"

RgbPicture RgbPicture::solid(int width, int height, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    RgbPicture picture;
    picture.width = width;
    picture.height = height;
    picture.rgb.resize(static_cast<std::size_t>(width) * height * 3);
    for (std::size_t i = 0; i + 2 < picture.rgb.size(); i += 3) {
        picture.rgb[i] = red;
        picture.rgb[i + 1] = green;
        picture.rgb[i + 2] = blue;
    }
    return picture;
}

RgbPicture RgbPicture::bands(int width, int height, std::uint32_t seed) {
    RgbPicture picture;
    picture.width = width;
    picture.height = height;
    picture.rgb.resize(static_cast<std::size_t>(width) * height * 3);
    constexpr int kBands = 4;
    for (int y = 0; y < height; ++y) {
        int band = y * kBands / (height > 0 ? height : 1);
        std::uint32_t colour = (seed + 1) * 2654435761u + static_cast<std::uint32_t>(band) * 40503u;
        for (int x = 0; x < width; ++x) {
            std::size_t at = (static_cast<std::size_t>(y) * width + x) * 3;
            picture.rgb[at] = static_cast<std::uint8_t>(colour >> 24);
            picture.rgb[at + 1] = static_cast<std::uint8_t>(colour >> 16);
            picture.rgb[at + 2] = static_cast<std::uint8_t>(colour >> 8);
        }
    }
    return picture;
}
