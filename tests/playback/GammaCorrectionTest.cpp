#include "playback/GammaCorrection.h"

#include <gtest/gtest.h>

TEST(GammaCorrection, ClampsToTheBrightnessRange) {
    GammaCorrection gamma;
    EXPECT_EQ(gamma.gamma(), 1.0);
    struct Case {
        double in, stored;
    } cases[] = {{0.05, 0.1}, {7.0, 5.0}, {5.0, 5.0}, {0.1, 0.1}, {2.5, 2.5}, {-3.0, 0.1}};
    for (const Case& c : cases) {
        gamma.setGamma(c.in);
        EXPECT_DOUBLE_EQ(gamma.gamma(), c.stored) << "setGamma(" << c.in << ")";
    }
}

TEST(GammaCorrection, TableFollowsThePowerCurve) {
    GammaCorrection gamma;
    gamma.setGamma(2.0);
    EXPECT_EQ(gamma.lookup(0), 0);
    EXPECT_EQ(gamma.lookup(255), 255);
    EXPECT_EQ(gamma.lookup(64), 128);
    gamma.setGamma(0.5);
    EXPECT_EQ(gamma.lookup(128), 64);  // 255 * (128/255)^2 + 0.5 = 64.75
    gamma.setGamma(1.0);
    for (int i = 0; i < 256; ++i) ASSERT_EQ(gamma.lookup(i), i) << "identity at " << i;
}

TEST(GammaCorrection, ApplyMapsColourBytesAndKeepsTheFourth) {
    Image image(2, 1);
    std::uint8_t* p = image.pixels();
    const std::uint8_t original[8] = {64, 0, 255, 64, 10, 20, 30, 40};
    std::copy(original, original + 8, p);

    GammaCorrection gamma;
    gamma.apply(image);  // 1.0: nothing changes
    EXPECT_TRUE(std::equal(original, original + 8, p));

    gamma.setGamma(2.0);
    gamma.apply(image);
    EXPECT_EQ(p[0], 128);
    EXPECT_EQ(p[1], 0);
    EXPECT_EQ(p[2], 255);
    EXPECT_EQ(p[3], 64);  // fourth byte untouched
    EXPECT_EQ(p[4], gamma.lookup(10));
    EXPECT_EQ(p[7], 40);
}
