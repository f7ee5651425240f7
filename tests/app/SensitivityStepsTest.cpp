#include "app/SensitivitySteps.h"

#include <gtest/gtest.h>

TEST(SensitivitySteps, ThresholdsFindTheirPlaceOnTheLevelTrackBar) {
    struct Case {
        int threshold;
        int position;
        bool between;
        int level;
    } cases[] = {
        {60, 0, false, 1},  {59, 1, true, 1},   {57, 2, false, 2},  {50, 7, true, 4},   {45, 10, false, 6},
        {44, 12, false, 7}, {41, 18, false, 10}, {40, 20, false, 11}, {61, 0, false, 1}, {39, 0, false, 1},
        {0, 0, false, 1},
    };
    for (const Case& c : cases) {
        SensitivitySteps::Place place = SensitivitySteps::placeOf(c.threshold);
        EXPECT_EQ(place.position, c.position) << "threshold " << c.threshold;
        EXPECT_EQ(place.between, c.between) << "threshold " << c.threshold;
        EXPECT_EQ(SensitivitySteps::levelAt(place.position), c.level) << "threshold " << c.threshold;
    }
}
