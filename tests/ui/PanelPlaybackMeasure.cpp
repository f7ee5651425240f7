// A measurement, not a test of behaviour: the sample card played in real time through the
// player with the console and the stopwatch refreshed at every frame, as in the viewer.
// Reports the frames decoded (each is painted at once) of the 30 s event record, and around
// each chapter change of the continuous record at 10 frames a second. Disabled by default:
//   scripts/wine build/bin/ui_tests.exe --gtest_also_run_disabled_tests --gtest_filter='*PanelPlayback*'
// with SCENOVA_BUILD_DIR set (the sample card is read from the build tree).
#include "PanelBench.h"

#include "playback/VideoPlayer.h"
#include "playback/WaveAudioPlayer.h"
#include "support/MessagePump.h"
#include "support/SampleCard.h"
#include "ui/StopWatch.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <mutex>
#include <set>
#include <utility>

namespace {

// Frames the worker decoded, by chapter and index.
struct DecodeLog {
    std::mutex guard;
    std::set<std::pair<int, int>> decoded;
    ImageLoader::FrameDecoder decoder() {
        return [this](VideoArchive& archive, int index) {
            std::unique_ptr<Image> image = archive.decodeFrame(index);
            std::lock_guard<std::mutex> lock(guard);
            if (image) decoded.insert({archive.chapterIndex(), index});
            return image;
        };
    }
    bool has(int chapter, int index) {
        std::lock_guard<std::mutex> lock(guard);
        return decoded.count({chapter, index}) != 0;
    }
};

}  // namespace

TEST(PanelPlayback, DISABLED_EventRecordAndChapterChanges) {
    DecodeLog log;
    PanelBench bench(log.decoder());
    VideoPlayer& player = *bench.player;

    bench.setMode(0);
    player.openFolder(sampleCardFolder(L"EVENT/EVT00001"));
    int frames = player.frameCount();
    ASSERT_GT(frames, 0);
    ASSERT_TRUE(pumpMessagesUntil([&] { return player.hasPicture(); }, 10000));
    player.play(0);
    bool withSound = player.soundPlayer().state() == ISoundPlayer::Playing;
    ASSERT_TRUE(pumpMessagesUntil([&] { return player.playState() == VideoPlayer::Stopped; }, 120000));
    std::printf("event record: %d frames, sound %s; painted", frames, withSound ? "on" : "off");
    int painted = 0;
    std::string missing;
    for (int i = 0; i < frames; ++i) {
        if (log.has(0, i))
            ++painted;
        else
            missing += " " + std::to_string(i);
    }
    std::printf(" %d, missing:%s\n", painted, missing.c_str());
    player.close();

    // Six seconds before each chapter's end to six seconds into the next.
    constexpr int kAround = 60;
    bench.setMode(2);
    bench.stopwatch->reset();
    player.setTotalFrames(player.buildChapterList(sampleCardFolder(L"CONTINUE/CNT00001")));
    ASSERT_TRUE(player.openChapter(0));
    for (int chapter = 0; chapter + 1 < player.chapterCount(); ++chapter) {
        player.seekGlobal(0, chapter * 600);
        int last = player.frameCount() - 1;
        player.seekGlobal(0, chapter * 600 + last - kAround + 1);
        player.play(player.currentFrame());
        ASSERT_TRUE(pumpMessagesUntil(
            [&] { return player.chapter() == chapter + 1 && player.currentFrame() >= kAround; }, 60000));
        player.pause();
        std::string lost;
        for (int i = last - kAround + 1; i <= last; ++i)
            if (!log.has(chapter, i)) lost += " " + std::to_string(chapter) + ":" + std::to_string(i);
        for (int i = 0; i < kAround; ++i)
            if (!log.has(chapter + 1, i)) lost += " " + std::to_string(chapter + 1) + ":" + std::to_string(i);
        std::printf("chapter change %d -> %d: %d frames around it, missing:%s\n", chapter, chapter + 1, 2 * kAround,
                    lost.c_str());
    }
}
