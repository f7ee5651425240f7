#include "playback/decode/Image.h"
#include "playback/decode/PalettePicture.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

// A picture whose pixel i (bottom-up rows) has colour i % colours, spread over the three
// channels; the fourth byte varies to show it is left out.
std::unique_ptr<Image> pictureOfColours(int width, int height, int colours) {
    auto image = std::make_unique<Image>(width, height);
    for (int i = 0; i < width * height; ++i) {
        const int c = i % colours;
        std::uint8_t* p = image->pixels() + i * 4;
        p[0] = static_cast<std::uint8_t>(c * 7);
        p[1] = static_cast<std::uint8_t>(c >> 1);
        p[2] = static_cast<std::uint8_t>(255 - c);
        p[3] = static_cast<std::uint8_t>(i);
    }
    return image;
}

}  // namespace

TEST(PalettePicture, PicturesOfAtMost256ColoursBecomeIndexesShowingTheSamePixels) {
    struct Case {
        const char* name;
        int width, height, colours;
        bool indexed;
    } cases[] = {
        {"one colour", 3, 2, 1, true},
        {"256 colours, padded rows", 37, 9, 256, true},
        {"257 colours", 37, 9, 257, false},
        {"a full-colour gradient", 64, 64, 4096, false},
    };
    for (const Case& c : cases) {
        auto image = pictureOfColours(c.width, c.height, c.colours);
        auto indexed = PalettePicture::fromFewColours(*image);
        ASSERT_EQ(indexed != nullptr, c.indexed) << c.name;
        if (!indexed) continue;
        ASSERT_EQ(indexed->width(), c.width) << c.name;
        ASSERT_EQ(indexed->height(), c.height) << c.name;
        int wrong = 0;
        for (int row = 0; row < c.height; ++row) {
            const std::uint8_t* pixels = image->bufferRow(row);
            const std::uint8_t* indexes = indexed->indexes() + static_cast<std::size_t>(row) * indexed->rowBytes();
            for (int x = 0; x < c.width; ++x) {
                const std::uint32_t expected = (std::uint32_t{pixels[x * 4 + 2]} << 16) |
                                               (std::uint32_t{pixels[x * 4 + 1]} << 8) | pixels[x * 4];
                wrong += indexed->colours()[indexes[x]] != expected;
            }
        }
        EXPECT_EQ(wrong, 0) << c.name;
    }
}
