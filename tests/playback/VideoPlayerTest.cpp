#include "base/StringTable.h"
#include "playback/IPlayerHost.h"
#include "playback/IStopwatchControl.h"
#include "playback/Messages.h"
#include "playback/VideoPlayer.h"
#include "playback/WaveAudioPlayer.h"
#include "support/MessageBoxRecorder.h"
#include "support/MessagePump.h"
#include "support/PaintCapture.h"
#include "support/PlayerRecords.h"
#include "support/SoundOutput.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct PanelView {
    int chapter;
    int frame;
    int playState;
    int positionState;
    int soundState;
    int soundMs;  // the sound's position when the panels were refreshed
};

// The main window as the player sees it: it notes every refresh with the player's state,
// and its clear display closes the record as the real one does.
struct FakeHost : IPlayerHost {
    int mode = 0;
    int clears = 0;
    VideoPlayer* player = nullptr;
    std::vector<PanelView> views;

    void refreshPanels() override {
        if (player == nullptr) return;
        views.push_back({player->chapter(), player->currentFrame(), player->playState(), player->positionState(),
                         player->soundPlayer().state(), player->soundPlayer().position()});
    }
    void clearDisplay() override {
        ++clears;
        if (player != nullptr) player->close();
    }
    int displayMode() const override { return mode; }
    void resetCharts() override {}
    void redrawCharts() override {}
    void updateConsoleControls() override {}
};

struct FakeStopwatch : IStopwatchControl {
    bool measuring = false;
    int resets = 0;
    bool isMeasuring() const override { return measuring; }
    int lapCount() const override { return 0; }
    void pressStartStop() override { measuring = false; }
    void setStartStopEnabled(bool) override {}
    void reset() override { ++resets; }
    void beginChapterChange() override {}
    void enableForState() override {}
};

class VideoPlayerTest : public ::testing::Test {
protected:
    FakeHost host;
    FakeStopwatch stopwatch;
    ScratchFolder scratch;
    HostWindow window{0, 0, 800, 600};
    VideoPlayer* player = nullptr;

    void SetUp() override {
        player = new VideoPlayer(window.handle(), host);
        host.player = player;
        player->setStopwatch(&stopwatch);
    }
    void TearDown() override { host.player = nullptr; }

    void openEvent(int frames, bool withSound) {
        std::wstring folder = scratch.subfolder(L"EVT0001");
        ASSERT_TRUE(writeEventRecord(folder, frames, withSound));
        host.mode = 0;
        player->setMode(0);
        player->openFolder(folder);
        ASSERT_EQ(player->frameCount(), frames);
        ASSERT_TRUE(pumpMessagesUntil([&] { return player->hasPicture(); }));
    }
    // Frames alternate between a red and a blue picture (PlayerRecords).
    bool showsBlue() {
        std::uint32_t centre = printClient(player->handle()).at(320, 240);
        return (centre & 0xFF) > (centre >> 16 & 0xFF);
    }
    void openChapters(const std::vector<int>& frames) {
        std::wstring folder = scratch.subfolder(L"CONT");
        for (std::size_t i = 0; i < frames.size(); ++i) {
            wchar_t name[32];
            swprintf(name, 32, L"\\Video%04d.dmv", static_cast<int>(i) + 1);
            ASSERT_TRUE(writeChapter(folder + name, frames[i]));
        }
        host.mode = 2;
        player->setMode(2);
        player->setTotalFrames(player->buildChapterList(folder));
        ASSERT_TRUE(player->openChapter(0));
    }
    bool waitForStop(DWORD timeoutMs = 60000) {
        return pumpMessagesUntil([&] { return player->playState() == VideoPlayer::Stopped; }, timeoutMs);
    }
    bool waitUntilPlaying() {
        return pumpMessagesUntil([&] { return player->currentFrame() > 0; });
    }
};

// The cases whose record has sound; without an output device they are skipped.
class VideoPlayerSoundTest : public VideoPlayerTest {
protected:
    void SetUp() override {
        if (!soundOutputAvailable()) GTEST_SKIP() << kNoSoundOutput;
        VideoPlayerTest::SetUp();
    }
};

TEST_F(VideoPlayerTest, TimerPeriodIsRaisedAtCreation) {
    EXPECT_EQ(player->timerPeriod(), 1u);
}

// Each shown frame was asked for as the one after the frame the sound had reached, so it is
// never more than about a frame ahead of the sound. How far it lags behind depends on how
// busy the machine is: that is printed, not checked.
TEST_F(VideoPlayerSoundTest, EventRecordWithSoundFollowsTheSoundAndRewindsWhenItEnds) {
    openEvent(300, true);
    player->play(0);
    ASSERT_EQ(player->soundPlayer().state(), ISoundPlayer::Playing);
    ASSERT_TRUE(waitForStop());
    double mostAhead = -1e9, mostBehind = -1e9;
    int playingViews = 0;
    for (const PanelView& view : host.views) {
        if (view.playState != VideoPlayer::Playing || view.frame == 0 || view.frame == 299) continue;
        ++playingViews;
        double due = view.soundMs / player->frameInterval();
        mostAhead = std::max(mostAhead, view.frame - due);
        mostBehind = std::max(mostBehind, due - view.frame);
    }
    std::printf("frames shown while playing: %d; at most %.1f frames ahead of and %.1f behind the sound\n",
                playingViews, mostAhead, mostBehind);
    EXPECT_GT(playingViews, 10) << "the picture did not follow the sound";
    EXPECT_LE(mostAhead, 2.0) << "a frame was shown before the sound reached it";
    // The record ends with its sound, not when the picture reaches the last frame (which a
    // loaded machine may never show while playing: the sound can end first).
    auto playing = std::find_if(host.views.begin(), host.views.end(),
                                [](const PanelView& view) { return view.playState == VideoPlayer::Playing; });
    auto ended = std::find_if(playing, host.views.end(),
                              [](const PanelView& view) { return view.playState == VideoPlayer::Stopped; });
    ASSERT_NE(ended, host.views.end());
    EXPECT_NE(ended->soundState, ISoundPlayer::Playing) << "playback stopped while the sound still played";
    EXPECT_TRUE(player->soundPlayer().isEnded());
    EXPECT_EQ(player->currentFrame(), 0);
    EXPECT_EQ(player->playState(), VideoPlayer::Stopped);
    EXPECT_EQ(player->positionState(), VideoPlayer::AtStart);
}

TEST_F(VideoPlayerTest, EventRecordWithoutSoundRunsOnTheVirtualClock) {
    openEvent(300, false);
    EXPECT_EQ(player->soundPlayer().state(), ISoundPlayer::NoDevice);
    DWORD start = timeGetTime();
    player->play(0);
    ASSERT_TRUE(waitForStop());
    DWORD elapsed = timeGetTime() - start;
    std::printf("300 frames at 30 a second played in %lu ms\n", static_cast<unsigned long>(elapsed));
    // Ten seconds of record on the millisecond clock: never faster (a loaded machine may
    // make it slower; the figure is printed).
    EXPECT_GE(elapsed, 9500u);
    EXPECT_EQ(player->currentFrame(), 0);
    EXPECT_EQ(player->positionState(), VideoPlayer::AtStart);
}

TEST_F(VideoPlayerTest, EmptyFrameReadyKeepsThePicture) {
    openEvent(30, false);
    CapturedPixels before = printClient(player->handle());
    PostMessageW(player->handle(), WM_FRAME_READY, 3, 0);
    pumpWaitingMessages();
    EXPECT_TRUE(player->hasPicture());
    EXPECT_EQ(printClient(player->handle()).pixels, before.pixels);
}

TEST_F(VideoPlayerTest, NearSeekKeepsThePictureFarSeekShowsBlack) {
    openEvent(60, false);
    ASSERT_FALSE(showsBlue());
    player->seek(1);
    EXPECT_TRUE(player->hasPicture());
    EXPECT_EQ(player->currentFrame(), 1);
    // The old picture stays until frame 1 (blue) arrives.
    ASSERT_TRUE(pumpMessagesUntil([&] { return showsBlue(); }));
    player->seek(12);
    EXPECT_FALSE(player->hasPicture());
    EXPECT_TRUE(printClient(player->handle()).all(0, 0, 640, 480, 0));
    EXPECT_TRUE(pumpMessagesUntil([&] { return player->hasPicture(); }));
    EXPECT_EQ(player->currentFrame(), 12);
    EXPECT_FALSE(showsBlue());
}

TEST_F(VideoPlayerSoundTest, SeekWhilePlayingStopsSoundAndPicture) {
    openEvent(300, true);
    player->play(0);
    ASSERT_TRUE(waitUntilPlaying());
    player->seek(100);
    EXPECT_EQ(player->playState(), VideoPlayer::Stopped);
    EXPECT_EQ(player->soundPlayer().state(), ISoundPlayer::Stopped);
    pumpMessagesFor(300);  // no tick of the stopped playback moves the frame
    EXPECT_EQ(player->currentFrame(), 100);
}

TEST_F(VideoPlayerTest, ChaptersPlayBackToBackAndStopOnTheLastFrame) {
    openChapters({15, 15, 20});
    ASSERT_EQ(player->chapterCount(), 3);
    player->play(0);
    ASSERT_TRUE(pumpMessagesUntil([&] { return player->chapter() == 2 && player->playState() == VideoPlayer::Stopped; },
                                  60000));
    for (int chapter = 0; chapter < 3; ++chapter) {
        bool played = false;
        for (const PanelView& view : host.views)
            if (view.chapter == chapter && view.playState == VideoPlayer::Playing) played = true;
        EXPECT_TRUE(played) << "chapter " << chapter;
    }
    EXPECT_EQ(player->currentFrame(), 19);
    EXPECT_EQ(player->positionState(), VideoPlayer::Elsewhere);
    EXPECT_NE(player->frameInfo(), nullptr);
}

TEST_F(VideoPlayerTest, SeekGlobalOpensTheChapterOfAnAbsolutePosition) {
    openChapters({15, 15, 40});
    EXPECT_EQ(player->totalFrames(), 1240);
    player->seekGlobal(0, 1241);  // beyond the end: nothing
    EXPECT_EQ(player->chapter(), 0);
    player->seekGlobal(0, 1234);
    EXPECT_EQ(player->chapter(), 2);
    EXPECT_EQ(player->currentFrame(), 34);
    EXPECT_EQ(player->positionState(), VideoPlayer::Elsewhere);
    EXPECT_TRUE(pumpMessagesUntil([&] { return player->hasPicture(); }));
}

TEST_F(VideoPlayerTest, OpenChapterRefusesWhatIsNotThere) {
    openChapters({15, 15, 15});
    for (int index : {60, 3, -1}) {
        EXPECT_FALSE(player->openChapter(index)) << index;
        EXPECT_NE(player->frameInfo(), nullptr) << index;
        EXPECT_EQ(player->chapter(), 0) << index;
        EXPECT_EQ(player->playState(), VideoPlayer::Stopped) << index;
    }
}

TEST_F(VideoPlayerTest, SixtyOneChaptersWarnOnceAndPlaySixty) {
    MessageBoxRecorder boxes;
    std::wstring folder = scratch.subfolder(L"LONG");
    for (int i = 1; i <= 61; ++i) {
        wchar_t name[32];
        swprintf(name, 32, L"\\Video%04d.dmv", i);
        ASSERT_TRUE(writeChapter(folder + name, 2));
    }
    host.mode = 2;
    player->setMode(2);
    player->buildChapterList(folder);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, formatString(5088, {L"60"}));
    EXPECT_EQ(boxes.boxes()[0].caption, loadString(5005));
    EXPECT_EQ(boxes.boxes()[0].owner, window.handle());
    EXPECT_EQ(player->chapterCount(), 60);
    EXPECT_TRUE(player->openChapter(59));
    EXPECT_NE(player->chapterPath(59).find(L"Video0060.dmv"), std::wstring::npos);
    EXPECT_FALSE(player->openChapter(60));
}

TEST_F(VideoPlayerTest, FolderRemovedWhilePlayingWarnsAndCloses) {
    MessageBoxRecorder boxes;
    openEvent(300, false);
    player->play(0);
    ASSERT_TRUE(waitUntilPlaying());
    std::wstring folder = scratch.path() + L"\\EVT0001";
    ASSERT_TRUE(MoveFileW(folder.c_str(), (scratch.path() + L"\\MOVED").c_str()));
    ASSERT_TRUE(pumpMessagesUntil([&] { return !boxes.boxes().empty(); })) << "no warning";
    pumpMessagesFor(300);  // and no second one
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, loadString(5078));
    EXPECT_EQ(boxes.boxes()[0].caption, loadString(5005));
    EXPECT_EQ(boxes.boxes()[0].owner, window.handle());
    EXPECT_EQ(host.clears, 1);
    EXPECT_GE(stopwatch.resets, 1);
    EXPECT_EQ(player->frameInfo(), nullptr);
    EXPECT_EQ(player->playState(), VideoPlayer::Idle);
}

TEST(VideoPlayerLetterbox, FitsFourByThreeAndCentres) {
    struct Case {
        int width, height;
        RECT expected;
    } cases[] = {
        {640, 480, {0, 0, 640, 480}},
        {800, 480, {80, 0, 720, 480}},
        {640, 600, {0, 60, 640, 540}},
        {321, 100, {94, 0, 227, 100}},
    };
    for (const Case& c : cases) {
        RECT place = VideoPlayer::letterbox(c.width, c.height);
        EXPECT_TRUE(EqualRect(&place, &c.expected)) << c.width << " x " << c.height << ": " << place.left << ","
                                                    << place.top << "," << place.right << "," << place.bottom;
    }
}

TEST_F(VideoPlayerTest, PaintsThePictureLetterboxed) {
    openEvent(30, false);
    struct Case {
        int width, height;
        RECT picture;
    } cases[] = {{800, 480, {80, 0, 720, 480}}, {640, 600, {0, 60, 640, 540}}};
    for (const Case& c : cases) {
        SetWindowPos(player->handle(), nullptr, 0, 0, c.width, c.height, SWP_NOMOVE | SWP_NOZORDER);
        CapturedPixels shot = screenClient(player->handle());
        const RECT& p = c.picture;
        std::string name = std::to_string(c.width) + " x " + std::to_string(c.height);
        EXPECT_EQ(shot.at(p.left - (p.left > 0), p.top - (p.top > 0)), 0u) << name;  // bar
        EXPECT_NE(shot.at(p.left, p.top), 0u) << name;
        EXPECT_NE(shot.at(p.right - 1, p.bottom - 1), 0u) << name;
        if (p.left > 0) { EXPECT_TRUE(shot.all(0, 0, p.left, c.height, 0)) << name; }
        if (p.top > 0) { EXPECT_TRUE(shot.all(0, 0, c.width, p.top, 0)) << name; }
        if (p.right < c.width) { EXPECT_TRUE(shot.all(p.right, 0, c.width, c.height, 0)) << name; }
        if (p.bottom < c.height) { EXPECT_TRUE(shot.all(0, p.bottom, c.width, c.height, 0)) << name; }
    }
}

TEST_F(VideoPlayerTest, CopyInImageModeTakesExactlyThePicture) {
    std::wstring folder = scratch.subfolder(L"IMG");
    std::wstring image = folder + L"\\IMG00001.dpc";
    ASSERT_TRUE(writeImageRecord(image, 30, 160, 90));
    host.mode = 1;
    player->setMode(1);
    player->setImagePath(image);
    player->openImage(folder);
    ASSERT_TRUE(pumpMessagesUntil([&] { return player->hasPicture(); }));
    EXPECT_EQ(player->positionState(), VideoPlayer::AtStart);
    SetWindowPos(player->handle(), nullptr, 0, 0, 800, 480, SWP_NOMOVE | SWP_NOZORDER);
    CapturedPixels screen = screenClient(player->handle());
    SendMessageW(player->handle(), WM_COMMAND, 40026, 0);
    ASSERT_TRUE(OpenClipboard(nullptr));
    HBITMAP copied = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    ASSERT_NE(copied, nullptr);
    CapturedPixels clip = bitmapPixels(copied);
    CloseClipboard();
    ASSERT_EQ(clip.width, 640);
    ASSERT_EQ(clip.height, 480);
    int differing = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) differing += clip.at(x, y) != screen.at(x + 80, y);
    EXPECT_EQ(differing, 0);
}

TEST(VideoPlayerMenu, ImageMenuHoldsTheCopyCommand) {
    HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(449));
    ASSERT_NE(menu, nullptr);
    HMENU popup = GetSubMenu(menu, 0);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(GetMenuItemCount(popup), 1);
    EXPECT_EQ(GetMenuItemID(popup, 0), 40026u);
    wchar_t text[32] = {};
    GetMenuStringW(popup, 0, text, 32, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(text), L"コピー");
    DestroyMenu(menu);
}

}
