// A measurement, not a test of behaviour: plays a full event record in real time and
// reports how many of its frames reached the screen, and why the others did not. Disabled
// by default; run it on a quiet machine with
//   scripts/wine build/bin/playback_tests.exe --gtest_also_run_disabled_tests --gtest_filter='*PlaybackPace*'
// with SCENOVA_MEASURE_RECORD naming an event folder (default: the build's sample card).
#include "playback/IPlayerHost.h"
#include "playback/VideoPlayer.h"
#include "playback/WaveAudioPlayer.h"
#include "support/MessagePump.h"
#include "support/PaintCapture.h"
#include "support/SampleCard.h"

#include <gtest/gtest.h>

#include <mmsystem.h>

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <set>
#include <vector>

namespace {

struct QuietHost : IPlayerHost {
    int mode = 0;
    void refreshPanels() override {}
    void clearDisplay() override {}
    int displayMode() const override { return mode; }
    void resetCharts() override {}
    void redrawCharts() override {}
    void updateConsoleControls() override {}
};

TEST(PlaybackPace, DISABLED_FramesPaintedOfAFullEventRecord) {
    // Decoded frames, noted by the worker thread: each is posted and painted at once.
    std::mutex guard;
    std::set<int> decoded;
    std::vector<DWORD> decodeMs;
    auto decoder = [&](VideoArchive& archive, int index) {
        DWORD start = timeGetTime();
        std::unique_ptr<Image> image = archive.decodeFrame(index);
        std::lock_guard<std::mutex> lock(guard);
        if (image) decoded.insert(index);
        decodeMs.push_back(timeGetTime() - start);
        return image;
    };
    QuietHost host;
    HostWindow window(0, 0, 640, 480);
    auto* player = new VideoPlayer(window.handle(), host, decoder);
    player->setMode(0);
    player->openFolder(sampleCardFolder(L"EVENT/EVT00001", L"SCENOVA_MEASURE_RECORD"));
    int frames = player->frameCount();
    ASSERT_GT(frames, 0);
    ASSERT_TRUE(pumpMessagesUntil([&] { return player->hasPicture(); }, 5000));
    {
        // Frame 0 shown at opening counts as painted: play(0) asks for frame 1 first.
        std::lock_guard<std::mutex> lock(guard);
        decodeMs.clear();
    }
    DWORD start = timeGetTime();
    player->play(0);
    bool withSound = player->soundPlayer().state() == ISoundPlayer::Playing;
    // How the sound clock starts: the first frames are due by it, not by the wall clock.
    std::printf("sound position (wall ms:clock ms):");
    for (int i = 0; i < 12; ++i) {
        pumpMessagesFor(10);
        std::printf(" %lu:%d", static_cast<unsigned long>(timeGetTime() - start), player->soundPlayer().position());
    }
    std::printf("\n");
    ASSERT_TRUE(pumpMessagesUntil([&] { return player->playState() == VideoPlayer::Stopped; }, 120000));
    DWORD elapsed = timeGetTime() - start;

    std::lock_guard<std::mutex> lock(guard);
    int painted = static_cast<int>(decoded.size());
    std::vector<DWORD> sorted = decodeMs;
    std::sort(sorted.begin(), sorted.end());
    DWORD median = sorted.empty() ? 0 : sorted[sorted.size() / 2];
    DWORD worst = sorted.empty() ? 0 : sorted.back();
    int slow = static_cast<int>(std::count_if(sorted.begin(), sorted.end(), [&](DWORD ms) {
        return ms >= static_cast<DWORD>(player->frameInterval());
    }));
    std::printf("record: %d frames, sound %s, played in %lu ms\n", frames, withSound ? "on" : "off",
                static_cast<unsigned long>(elapsed));
    std::printf("painted: %d distinct frames, dropped: %d\n", painted, frames - painted);
    std::printf("decodes: %zu, median %lu ms, worst %lu ms, %d at or over one frame interval\n", decodeMs.size(),
                static_cast<unsigned long>(median), static_cast<unsigned long>(worst), slow);
    std::printf("missing:");
    int shown = 0;
    for (int i = 0; i < frames && shown < 60; ++i)
        if (!decoded.count(i)) {
            std::printf(" %d", i);
            ++shown;
        }
    std::printf("\n");
    EXPECT_LE(painted, frames);
    EXPECT_GT(painted, 0);
}

}
