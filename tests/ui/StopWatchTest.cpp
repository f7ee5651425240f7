// The stopwatch and its LAP LIST over continuous chapters whose rows are known: chapter c,
// row s is recorded at 100000 + 100 x (its place on the running clock) ms with speed 100 c + s.
#include "GlyphReading.h"
#include "PanelBench.h"

#include "playback/VideoPlayer.h"
#include "support/MessagePump.h"
#include "ui/ConsolePanel.h"
#include "ui/ImageButton.h"
#include "ui/LapDialog.h"
#include "ui/LapFigures.h"
#include "ui/PlayTrackBar.h"
#include "ui/StopWatch.h"

#include <gtest/gtest.h>

namespace {

class StopWatchTest : public ::testing::Test {
protected:
    PanelBench bench;
    VideoPlayer& player = *bench.player;
    StopWatch& stopwatch = *bench.stopwatch;

    void SetUp() override { bench.openChapters({50, 50}); }

    // Positions the player at an absolute position, as the position bar would.
    void at(int position) {
        player.seekGlobal(0, position);
        ASSERT_EQ(player.currentFrame() + 600 * player.chapter(), position);
        ASSERT_EQ(player.positionState(), VideoPlayer::Elsewhere);
    }
    bool enabled(StopWatch::Button which) const { return stopwatch.button(which)->isEnabled(); }
    CapturedPixels lapList() {
        stopwatch.openLapList();
        EXPECT_NE(stopwatch.lapListWindow(), nullptr);
        return printClient(stopwatch.lapListWindow());
    }
};

}  // namespace

TEST_F(StopWatchTest, NineLapsThenStopGiveATenthLapInTheTenthRow) {
    at(5);
    stopwatch.startOrStop();
    for (int lap = 1; lap <= 9; ++lap) {
        EXPECT_TRUE(enabled(StopWatch::LapReset)) << "before lap " << lap;
        at(5 + 3 * lap);
        stopwatch.lapOrReset();
    }
    EXPECT_EQ(stopwatch.lapCount(), 9);
    EXPECT_FALSE(enabled(StopWatch::LapReset));
    stopwatch.lapOrReset();  // a tenth LAP is refused
    EXPECT_EQ(stopwatch.lapCount(), 9);
    at(40);
    stopwatch.startOrStop();
    EXPECT_FALSE(stopwatch.isMeasuring());
    EXPECT_EQ(stopwatch.lapCount(), 10);
    EXPECT_EQ(stopwatch.lapTime(10), 800);          // rows 32 .. 40
    EXPECT_EQ(stopwatch.lapAverageSpeed(10), 36);   // speeds 33 .. 40
    EXPECT_FALSE(enabled(StopWatch::StartStop));
    EXPECT_TRUE(enabled(StopWatch::LapReset));
    EXPECT_FALSE(enabled(StopWatch::Undo));

    const TrackMarkers& markers = bench.console->positionBar().trackMarkers();
    EXPECT_EQ(markers.start, 5);
    EXPECT_EQ(markers.laps[8], 32);
    EXPECT_EQ(markers.laps[9], 0) << "the final segment has no lap marker";
    EXPECT_EQ(markers.end, 40);

    CapturedPixels list = lapList();
    EXPECT_TRUE(showsText(list, lapListGlyphs(), 20, 22 + 17 * 9, L"10:  00\u2032 00\u2033 8  36"));
    EXPECT_TRUE(showsText(list, lapListGlyphs(), 20, 22, L" 1:  00\u2032 00\u2033 3   7"));
}

TEST_F(StopWatchTest, UndoRightAfterTheFirstLapLeavesOneRunningMeasurement) {
    at(5);
    stopwatch.startOrStop();
    at(10);
    stopwatch.lapOrReset();
    EXPECT_TRUE(enabled(StopWatch::Undo));
    stopwatch.undoLap();
    EXPECT_TRUE(stopwatch.isMeasuring());
    EXPECT_EQ(stopwatch.lapCount(), 0);
    EXPECT_FALSE(enabled(StopWatch::Undo));
    EXPECT_EQ(stopwatch.markers().laps[0], 0);
    // The next lap starts again at the start.
    at(20);
    stopwatch.lapOrReset();
    EXPECT_EQ(stopwatch.lapTime(1), 1500);
}

TEST_F(StopWatchTest, LapAveragesAcrossChapters) {
    struct Case {
        const char* name;
        int start;
        int lapEnd;  // absolute position, or -1: step forward from the start into the next chapter
        int time;
        int speed;
    } cases[] = {
        // Rows 41 .. 49 of chapter 0 and 0 .. 4 of chapter 1: (405 + 510) / 14.
        {"over a chapter change", 40, 605, 1500, 65},
        // From the last row of chapter 0 to row 0 of chapter 1: no row to average.
        {"last row to row 0 of the next chapter", 49, -1, 100, 0},
    };
    for (const Case& c : cases) {
        stopwatch.lapOrReset();  // RESET: the laps of the case before go
        at(c.start);
        stopwatch.startOrStop();
        if (c.lapEnd >= 0)
            at(c.lapEnd);
        else
            bench.console->stepForward();
        ASSERT_EQ(player.chapter(), 1) << c.name;
        stopwatch.startOrStop();
        ASSERT_EQ(stopwatch.lapCount(), 1) << c.name;
        EXPECT_EQ(stopwatch.lapTime(1), c.time) << c.name;
        EXPECT_EQ(stopwatch.lapAverageSpeed(1), c.speed) << c.name;
        at(1);
    }
}

TEST_F(StopWatchTest, TheListsTotalAverageIsThePlainMeanOfTheLaps) {
    at(5);
    stopwatch.startOrStop();
    at(10);  // speeds 6 .. 10: 8
    stopwatch.lapOrReset();
    at(30);  // 11 .. 30: 20
    stopwatch.lapOrReset();
    at(31);  // 31
    stopwatch.startOrStop();
    EXPECT_EQ(stopwatch.totalTime(), 2600);
    // (8 + 20 + 31) / 3, where weighting by lap time would give 18.
    CapturedPixels list = lapList();
    EXPECT_TRUE(showsText(list, lapListGlyphs(), 59, 205, L"00\u2032 02\u2033 6  19"));
    CapturedPixels panel = screenClient(stopwatch.handle());
    EXPECT_TRUE(showsText(panel, totalLineGlyphs(), 30, 35, L"00\u2032 02\u2033 6"));
}

TEST_F(StopWatchTest, CommandsWaitForAPlayingOrPositionedPlayer) {
    player.setPositionState(VideoPlayer::AtStart);
    stopwatch.startOrStop();
    EXPECT_FALSE(stopwatch.isMeasuring());
    at(5);
    stopwatch.startOrStop();
    EXPECT_TRUE(stopwatch.isMeasuring());
    // While measuring, the bar and step-back stay after the last marker.
    bench.console->updateControls();
    at(6);
    bench.console->stepBack();
    bench.console->stepBack();
    EXPECT_EQ(player.currentFrame(), 5);
}

TEST(LapFigures, TimesAreCutToTenths) {
    struct Case {
        int milliseconds;
        const wchar_t* text;
    } cases[] = {
        {61234, L"01\u2032 01\u2033 2"}, {99, L"00\u2032 00\u2033 0"}, {0, L"00\u2032 00\u2033 0"},
        {59999, L"00\u2032 59\u2033 9"}, {600000, L"10\u2032 00\u2033 0"},
    };
    for (const Case& c : cases) EXPECT_EQ(LapFigures::timeText(c.milliseconds), c.text) << c.milliseconds << " ms";
}
