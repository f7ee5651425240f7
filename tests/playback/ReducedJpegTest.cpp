// The reduced decode that thumbnails use: the largest of the decoder's own reductions that
// still covers the wanted size, colours as in the full decode, damaged input gives nothing.
#include "playback/decode/ImageDecoder.h"
#include "tools/writer/FrameJpegEncoder.h"

#include <gtest/gtest.h>

namespace {

// Top half red, bottom half blue.
std::vector<std::uint8_t> redOverBlue(int width, int height) {
    RgbPicture picture;
    picture.width = width;
    picture.height = height;
    picture.rgb.assign(static_cast<std::size_t>(width) * height * 3, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) picture.rgb[(static_cast<std::size_t>(y) * width + x) * 3 + (y < height / 2 ? 0 : 2)] = 255;
    return FrameJpegEncoder::encode(picture);
}

// Blue, green, red of the pixel at (x, y from the top).
std::uint32_t pixelAt(const Image& image, int x, int y) {
    const std::uint8_t* p = image.pixels() + (static_cast<std::size_t>(image.height() - 1 - y) * image.width() + x) * 4;
    return (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
}

bool reddish(std::uint32_t rgb) { return (rgb >> 16) > 200 && (rgb & 0xFF) < 60; }
bool bluish(std::uint32_t rgb) { return (rgb & 0xFF) > 200 && (rgb >> 16) < 60; }

}  // namespace

TEST(ReducedJpeg, TakesTheLargestReductionThatCoversTheWantedSize) {
    const struct {
        const char* name;
        int width, height, minWidth, minHeight;
        int expectedWidth, expectedHeight;
    } cases[] = {
        {"recorder frame for a thumbnail", 640, 480, 71, 53, 80, 60},
        {"twice the size", 1280, 960, 71, 53, 160, 120},
        {"an eighth would be too narrow", 560, 480, 71, 53, 140, 120},
        {"already small", 64, 48, 71, 53, 64, 48},
        {"nothing asked", 640, 480, 0, 0, 640, 480},
    };
    for (const auto& c : cases) {
        std::vector<std::uint8_t> jpeg = redOverBlue(c.width, c.height);
        std::unique_ptr<Image> image = decodeJpegReduced(jpeg.data(), jpeg.size(), c.minWidth, c.minHeight);
        ASSERT_TRUE(image) << c.name;
        EXPECT_EQ(image->width(), c.expectedWidth) << c.name;
        EXPECT_EQ(image->height(), c.expectedHeight) << c.name;
        EXPECT_TRUE(reddish(pixelAt(*image, image->width() / 2, image->height() / 4))) << c.name;
        EXPECT_TRUE(bluish(pixelAt(*image, image->width() / 2, image->height() * 3 / 4))) << c.name;
    }
}

TEST(ReducedJpeg, DamagedStreamsGiveNothing) {
    std::vector<std::uint8_t> jpeg = redOverBlue(640, 480);
    std::vector<std::uint8_t> cut(jpeg.begin(), jpeg.begin() + static_cast<std::ptrdiff_t>(jpeg.size() / 3));
    std::vector<std::uint8_t> noise(2000, 0x11);
    EXPECT_FALSE(decodeJpegReduced(cut.data(), cut.size(), 71, 53)) << "cut short";
    EXPECT_FALSE(decodeJpegReduced(noise.data(), noise.size(), 71, 53)) << "no JPEG at all";
    EXPECT_FALSE(decodeJpegReduced(nullptr, 0, 71, 53)) << "nothing";
}
