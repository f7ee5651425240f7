#include "playback/Image.h"

#include <gtest/gtest.h>

TEST(Image, CloneIsADeepCopyOfTheSameSize) {
    Image original(3, 2);
    for (int i = 0; i < original.byteSize(); ++i) original.pixels()[i] = static_cast<std::uint8_t>(i * 7);
    auto copy = original.clone();
    ASSERT_EQ(copy->width(), 3);
    ASSERT_EQ(copy->height(), 2);
    ASSERT_EQ(copy->byteSize(), 24);
    EXPECT_NE(copy->pixels(), original.pixels());
    EXPECT_EQ(std::vector<std::uint8_t>(copy->pixels(), copy->pixels() + 24),
              std::vector<std::uint8_t>(original.pixels(), original.pixels() + 24));
    copy->pixels()[0] = 99;
    EXPECT_EQ(original.pixels()[0], 0);
}
