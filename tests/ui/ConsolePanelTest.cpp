// The console panel over a real player: enabling, the read-out, the play and step rules at
// the ends of records and chapters, and the position bar.
#include "GlyphReading.h"
#include "PanelBench.h"

#include "playback/VideoPlayer.h"
#include "playback/WaveAudioPlayer.h"
#include "support/MessagePump.h"
#include "ui/ConsolePanel.h"
#include "ui/ImageButton.h"
#include "ui/PlayButton.h"
#include "ui/PlayTrackBar.h"
#include "ui/StopWatch.h"

#include <gtest/gtest.h>

namespace {

constexpr ConsolePanel::Button kPlaybackButtons[] = {
    ConsolePanel::Play,     ConsolePanel::Stop,        ConsolePanel::PreviousRecord, ConsolePanel::NextRecord,
    ConsolePanel::StepBack, ConsolePanel::StepForward, ConsolePanel::NextChapter,    ConsolePanel::PreviousChapter,
};

class ConsolePanelTest : public ::testing::Test {
protected:
    PanelBench bench;
    VideoPlayer& player = *bench.player;
    ConsolePanel& console = *bench.console;
    StopWatch& stopwatch = *bench.stopwatch;

    bool settlesOn(int chapter, int frame) {
        return pumpMessagesUntil([&] { return player.chapter() == chapter && player.currentFrame() == frame; }, 5000);
    }
};

}  // namespace

TEST_F(ConsolePanelTest, WithoutARecordEveryPlaybackButtonIsDisabledAndTheBarCollapses) {
    for (int mode : {0, 2}) {
        bench.setMode(mode);
        console.updateControls();
        for (ConsolePanel::Button which : kPlaybackButtons)
            EXPECT_FALSE(console.button(which)->isEnabled()) << "mode " << mode << ", button " << which;
        EXPECT_EQ(console.positionBar().rangeMinimum(), 0) << "mode " << mode;
        EXPECT_EQ(console.positionBar().rangeMaximum(), 0) << "mode " << mode;
        EXPECT_TRUE(console.button(ConsolePanel::VolumeReset)->isEnabled()) << "mode " << mode;
    }
}

TEST_F(ConsolePanelTest, TheReadoutCountsTenthsFromTheEventFrame) {
    bench.openEvent(90, 30);
    // The recorder's event time falls between frames; the player takes the nearest slot.
    const int kEvent = player.frameInfo()->eventIndex();
    ASSERT_GE(kEvent, 28);
    ASSERT_LE(kEvent, 32);
    struct Case {
        int offset;
        const wchar_t* text;
    } cases[] = {
        {-3, L"-00.1"}, {-2, L"\u00B100.0"}, {0, L"\u00B100.0"}, {2, L"\u00B100.0"}, {3, L"+00.1"}, {45, L"+01.5"},
    };
    for (const Case& c : cases) {
        player.seek(kEvent + c.offset);
        ASSERT_EQ(player.currentFrame(), kEvent + c.offset);
        EXPECT_EQ(console.readoutText(), c.text) << "offset " << c.offset;
        CapturedPixels shot = screenClient(console.handle());
        POINT at = ConsolePanel::readoutPlace(shot.width);
        EXPECT_TRUE(showsText(shot, readoutGlyphs(), at.x, at.y, c.text)) << "offset " << c.offset;
    }
}

TEST_F(ConsolePanelTest, TheReadoutLeavesWithEventMode) {
    bench.openEvent(90, 30);
    auto showsReadout = [&] {
        CapturedPixels shot = screenClient(console.handle());
        POINT at = ConsolePanel::readoutPlace(shot.width);
        return static_cast<bool>(showsText(shot, readoutGlyphs(), at.x, at.y, console.readoutText()));
    };
    ASSERT_TRUE(pumpMessagesUntil(showsReadout, 5000)) << "event mode";
    bench.setMode(2);
    EXPECT_TRUE(pumpMessagesUntil([&] { return !showsReadout(); }, 5000)) << "continuous mode";
}

TEST_F(ConsolePanelTest, PlayAtTheVeryEndOfTheLastChapterStartsAgainFromTheFirst) {
    bench.openChapters({15, 15, 20});
    player.seekGlobal(0, 2 * 600 + 19);
    ASSERT_EQ(player.chapter(), 2);
    ASSERT_EQ(player.playState(), VideoPlayer::Stopped);
    console.updateControls();
    EXPECT_EQ(console.playButton().face(), 0);
    console.playOrPause();
    EXPECT_EQ(player.chapter(), 0);
    EXPECT_EQ(player.playState(), VideoPlayer::Playing);
    EXPECT_LE(player.currentFrame(), 1);
    EXPECT_EQ(console.playButton().face(), 1) << "the pause face shows while playing";
    player.pause();
}

TEST_F(ConsolePanelTest, AHeldStepButtonGoesOnIntoTheNeighbouringChapter) {
    struct Case {
        const char* name;
        int from;  // absolute position
        ConsolePanel::Button button;
        int chapterReached;
        bool (*movedOn)(int frame);
    } cases[] = {
        {"step forward from the last frames of chapter 0", 12, ConsolePanel::StepForward, 1,
         [](int frame) { return frame >= 3; }},
        {"step back from the first frames of chapter 1", 602, ConsolePanel::StepBack, 0,
         [](int frame) { return frame <= 11; }},
    };
    bench.openChapters({15, 15});
    for (const Case& c : cases) {
        player.seekGlobal(0, c.from);
        HWND button = console.button(c.button)->handle();
        SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        // Still held: the repeats carry on stepping in the other chapter.
        EXPECT_TRUE(pumpMessagesUntil(
            [&] { return player.chapter() == c.chapterReached && c.movedOn(player.currentFrame()); }, 10000))
            << c.name << ": at chapter " << player.chapter() << " frame " << player.currentFrame();
        EXPECT_TRUE(console.button(c.button)->isDown()) << c.name;
        SendMessageW(button, WM_LBUTTONUP, 0, 0);
        EXPECT_FALSE(console.button(c.button)->isDown()) << c.name;
        EXPECT_EQ(player.positionState(), VideoPlayer::Elsewhere) << c.name;
    }
}

TEST_F(ConsolePanelTest, ChapterButtonsAndTheBarMoveOverTheWholeRecord) {
    bench.openChapters({15, 15, 20});
    console.updateControls();
    EXPECT_EQ(console.positionBar().rangeMaximum(), 1219);
    EXPECT_FALSE(console.button(ConsolePanel::PreviousChapter)->isEnabled());
    console.nextChapter();
    EXPECT_EQ(player.chapter(), 1);
    EXPECT_EQ(console.positionBar().position(), 600);
    console.moveTo(1210);
    EXPECT_EQ(player.chapter(), 2);
    EXPECT_EQ(player.currentFrame(), 10);
    EXPECT_FALSE(console.button(ConsolePanel::NextChapter)->isEnabled());
    console.previousChapter();
    EXPECT_EQ(player.chapter(), 1);
    EXPECT_EQ(player.currentFrame(), 0);
    console.stop();
    EXPECT_EQ(player.positionState(), VideoPlayer::AtStart);
    EXPECT_EQ(player.currentFrame(), 0);
}

TEST_F(ConsolePanelTest, VolumeAndBrightnessFollowTheirBarsAndResetButtons) {
    bench.openEvent(30, 10);
    console.volumeBar().setPosition(5, true);
    console.brightnessBar().setPosition(30, true);
    EXPECT_EQ(player.soundPlayer().volume(), 5);
    console.resetVolume();
    console.resetBrightness();
    EXPECT_EQ(player.soundPlayer().volume(), 16);
    EXPECT_EQ(console.brightnessBar().position(), 10);
}

TEST_F(ConsolePanelTest, TheResetButtonsShowTheHandCursor) {
    HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
    for (ConsolePanel::Button which : {ConsolePanel::VolumeReset, ConsolePanel::BrightnessReset}) {
        RECT button;
        GetWindowRect(console.button(which)->handle(), &button);
        // From elsewhere onto the button, as the pointer would come.
        SetCursorPos(button.left - 40, button.top - 40);
        SetCursorPos((button.left + button.right) / 2, (button.top + button.bottom) / 2);
        CURSORINFO shown = {};
        shown.cbSize = sizeof shown;
        EXPECT_TRUE(pumpMessagesUntil([&] { return GetCursorInfo(&shown) && shown.hCursor == hand; }, 5000))
            << "button " << which;
    }
}
