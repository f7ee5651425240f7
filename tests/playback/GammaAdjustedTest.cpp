#include "playback/GammaCorrection.h"

#include <gtest/gtest.h>

// Painting goes through adjusted(): at the usual brightness it must draw the decoded frame
// itself, since a copy a paint is one more frame-sized buffer while playing.
TEST(GammaAdjusted, CopiesOnlyWhenTheBrightnessChangesThePicture) {
    Image picture(2, 1);
    picture.pixels()[0] = 64;
    picture.pixels()[3] = 7;
    for (double value : {1.0, 2.0}) {
        GammaCorrection gamma;
        gamma.setGamma(value);
        std::unique_ptr<Image> copy;
        const Image& shown = gamma.adjusted(picture, copy);
        if (value == 1.0) {
            EXPECT_EQ(&shown, &picture) << "gamma " << value;
            EXPECT_EQ(copy, nullptr) << "gamma " << value;
        } else {
            ASSERT_EQ(&shown, copy.get()) << "gamma " << value;
            EXPECT_EQ(shown.pixels()[0], gamma.lookup(64)) << "gamma " << value;
            EXPECT_EQ(shown.pixels()[3], 7) << "gamma " << value << ": the fourth byte stays";
            EXPECT_EQ(picture.pixels()[0], 64) << "gamma " << value << ": the decoded frame stays as it came";
        }
    }
}
