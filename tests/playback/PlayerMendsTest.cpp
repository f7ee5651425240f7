// The player after a command lands at an awkward moment: a frame still being decoded when
// the position moves, and a play after a pause that a stop or a seek followed.
#include "playback/IPlayerHost.h"
#include "playback/KernelHandle.h"
#include "playback/VideoPlayer.h"
#include "playback/WaveAudioPlayer.h"
#include "support/MessagePump.h"
#include "support/PaintCapture.h"
#include "support/PlayerRecords.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

struct QuietHost : IPlayerHost {
    void refreshPanels() override {}
    void clearDisplay() override {}
    int displayMode() const override { return 0; }
    void resetCharts() override {}
    void redrawCharts() override {}
    void updateConsoleControls() override {}
};

std::uint32_t colourOf(int index) {
    return static_cast<std::uint32_t>(0x100000 + index * 0x000301);
}

// Paints every frame in a colour of its own; closing the gate holds the worker inside the
// next decode until it opens again.
class GatedDecoder {
public:
    GatedDecoder() : gate(CreateEventW(nullptr, TRUE, TRUE, nullptr)), entered(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}
    ImageLoader::FrameDecoder decoder() {
        return [this](VideoArchive&, int index) {
            SetEvent(entered.get());
            WaitForSingleObject(gate.get(), 20000);
            return solidPicture(64, 48, colourOf(index));
        };
    }
    void close() {
        ResetEvent(gate.get());
        ResetEvent(entered.get());
    }
    // Messages go on being handled meanwhile: a request refused because the worker was still
    // finishing an earlier frame is asked again at the player's next tick or retry.
    bool heldInADecode() {
        return pumpMessagesUntil([this] { return WaitForSingleObject(entered.get(), 0) == WAIT_OBJECT_0; }, 10000);
    }
    void open() { SetEvent(gate.get()); }

private:
    KernelHandle gate;
    KernelHandle entered;
};

class PlayerMendsTest : public ::testing::Test {
protected:
    QuietHost host;
    ScratchFolder scratch;
    HostWindow window{0, 0, 700, 500};
    GatedDecoder gate;
    VideoPlayer* player = nullptr;

    void TearDown() override {
        gate.open();
        if (player != nullptr) player->close();
    }
    void open(int frames, bool withSound, ImageLoader::FrameDecoder decoder = {}) {
        player = new VideoPlayer(window.handle(), host, std::move(decoder));
        std::wstring folder = scratch.subfolder(L"EVT");
        ASSERT_TRUE(writeEventRecord(folder, frames, withSound));
        player->setMode(0);
        player->openFolder(folder);
        ASSERT_TRUE(pumpMessagesUntil([&] { return player->hasPicture(); }, 10000));
    }
    std::uint32_t shownColour() {
        CapturedPixels shot = printClient(player->handle());
        return shot.at(shot.width / 2, shot.height / 2);
    }
};

}  // namespace

TEST_F(PlayerMendsTest, ThePictureSettlesOnThePositionWhenAFrameWasInFlight) {
    struct Case {
        const char* name;
        std::function<void(VideoPlayer&)> startDecode;  // the command whose frame is held
        std::function<void(VideoPlayer&)> command;      // given while it is decoded
        int expected;
    } cases[] = {
        {"a step", [](VideoPlayer& p) { p.seek(5); }, [](VideoPlayer& p) { p.seek(6); }, 6},
        {"a seek", [](VideoPlayer& p) { p.seek(5); }, [](VideoPlayer& p) { p.seek(40); }, 40},
        {"a stop while playing", [](VideoPlayer& p) { p.play(10); },
         [](VideoPlayer& p) {
             p.setPositionState(VideoPlayer::AtStart);
             p.seek(0);
         },
         0},
    };
    open(60, false, gate.decoder());
    for (const Case& c : cases) {
        player->seek(20);
        ASSERT_TRUE(pumpMessagesUntil([&] { return shownColour() == colourOf(20); }, 10000)) << c.name;
        gate.close();
        c.startDecode(*player);
        ASSERT_TRUE(gate.heldInADecode()) << c.name;
        c.command(*player);
        EXPECT_EQ(player->currentFrame(), c.expected) << c.name;
        gate.open();
        EXPECT_TRUE(pumpMessagesUntil([&] { return shownColour() == colourOf(c.expected); }, 10000))
            << c.name << ": the picture stayed on another frame";
        EXPECT_NE(player->playState(), VideoPlayer::Playing) << c.name;
    }
}

TEST_F(PlayerMendsTest, PlayAfterAPauseAndAStopOrSeekIsHeardAndMoves) {
    struct Case {
        const char* name;
        std::function<void(VideoPlayer&)> between;
    } cases[] = {
        {"pause, stop, play",
         [](VideoPlayer& p) {
             p.setPositionState(VideoPlayer::AtStart);
             p.seek(0);
         }},
        {"pause, seek, play", [](VideoPlayer& p) { p.seek(100); }},
    };
    open(300, true);
    for (const Case& c : cases) {
        player->play(0);
        ASSERT_EQ(player->soundPlayer().state(), ISoundPlayer::Playing) << "no sound device in the test bed";
        ASSERT_TRUE(pumpMessagesUntil([&] { return player->soundPlayer().position() > 300; }, 10000)) << c.name;
        player->pause();
        c.between(*player);
        int from = player->currentFrame();
        player->play(from);
        int heardFrom = player->soundPlayer().position();
        EXPECT_TRUE(pumpMessagesUntil([&] { return player->soundPlayer().position() >= heardFrom + 600; }, 10000))
            << c.name << ": the sound stands at " << player->soundPlayer().position() << " ms";
        EXPECT_GT(player->currentFrame(), from + 10) << c.name << ": the picture did not move";
        player->pause();
    }
}
