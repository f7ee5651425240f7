#include "base/Exception.h"
#include "playback/Messages.h"
#include "playback/WaveAudioPlayer.h"
#include "support/MessagePump.h"
#include "support/RecordingWindow.h"
#include "support/SoundOutput.h"

#include <gtest/gtest.h>
#include <mmsystem.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kOneSecond = 11025;  // bytes of one second of the accepted format

// The parts of a WAV file a case may change; the defaults give an accepted file.
struct WaveLayout {
    const char* riff = "RIFF";
    const char* wave = "WAVE";
    const char* fmt = "fmt ";
    std::uint16_t formatTag = 1;
    std::uint16_t channels = 1;
    std::uint32_t sampleRate = 11025;
    std::uint16_t blockAlignment = 1;
    std::uint16_t bitsPerSample = 8;
    std::uint32_t formatSize = 16;      // bytes of the format chunk's body
    bool listChunkBeforeData = false;  // a "LIST" chunk between "fmt " and "data"
    std::int64_t declaredLength = -1;  // the data chunk's length field; -1 = the real length
    std::size_t cutAfter = 0;          // keep only this many bytes of the file (0 = all)
};

void put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(v & 0xFF);
    out.push_back(v >> 8);
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back((v >> (8 * i)) & 0xFF);
}

void putTag(std::vector<std::uint8_t>& out, const char* tag) {
    out.insert(out.end(), tag, tag + 4);
}

std::vector<std::uint8_t> waveBytes(const std::vector<std::uint8_t>& samples, const WaveLayout& layout = {}) {
    std::vector<std::uint8_t> out;
    putTag(out, layout.riff);
    put32(out, 0);  // RIFF size: not read
    putTag(out, layout.wave);
    putTag(out, layout.fmt);
    put32(out, layout.formatSize);
    put16(out, layout.formatTag);
    put16(out, layout.channels);
    put32(out, layout.sampleRate);
    put32(out, layout.sampleRate * layout.blockAlignment);  // average bytes per second
    put16(out, layout.blockAlignment);
    put16(out, layout.bitsPerSample);
    for (std::uint32_t i = 16; i < layout.formatSize; ++i) out.push_back(0);  // longer format body
    if (layout.listChunkBeforeData) {
        putTag(out, "LIST");
        put32(out, 4);
        putTag(out, "INFO");
    }
    putTag(out, "data");
    put32(out, layout.declaredLength < 0 ? static_cast<std::uint32_t>(samples.size())
                                         : static_cast<std::uint32_t>(layout.declaredLength));
    out.insert(out.end(), samples.begin(), samples.end());
    if (layout.cutAfter > 0) out.resize(layout.cutAfter);
    return out;
}

std::wstring temporaryPath(const std::wstring& name) {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + L"scenova-" + std::to_wstring(GetCurrentProcessId()) + L"-" + name + L".wav";
}

void writeFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
    FILE* file = _wfopen(path.c_str(), L"wb");
    ASSERT_NE(file, nullptr);
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

struct Chunk {
    int offset;
    int count;
    bool operator==(const Chunk& o) const { return offset == o.offset && count == o.count; }
};

std::string describe(const std::vector<Chunk>& chunks) {
    std::string text;
    for (const Chunk& c : chunks) text += "(" + std::to_string(c.offset) + "," + std::to_string(c.count) + ") ";
    return text;
}

class WaveAudioPlayerTest : public testing::Test {
protected:
    void SetUp() override {
        timeBeginPeriod(1);
        owner = new RecordingWindow(log, {WM_SOUND_DONE});
        player = new WaveAudioPlayer(owner->handle());
        player->setChunkObserver([this](int offset, const std::uint8_t* samples, int count) {
            chunks.push_back({offset, count});
            lastSamples.assign(samples, samples + count);
            maxQueuedBefore = std::max(maxQueuedBefore, player->queuedBuffers());
        });
    }
    void TearDown() override {
        DestroyWindow(player->handle());
        DestroyWindow(owner->handle());
        for (const std::wstring& path : files) DeleteFileW(path.c_str());
        timeEndPeriod(1);
    }

    // Writes a file of the given samples and opens it; the device must really open.
    void openSamples(const std::wstring& name, const std::vector<std::uint8_t>& samples) {
        std::wstring path = temporaryPath(name);
        files.push_back(path);
        writeFile(path, waveBytes(samples));
        try {
            player->open(path);
        } catch (const Exception&) {
            FAIL() << "the output device did not open although the system offers one";
        }
        ASSERT_EQ(player->state(), ISoundPlayer::Stopped);
    }

    int soundDoneCount() const { return RecordingWindow::count(log, WM_SOUND_DONE); }

    bool waitForSoundDone(int count = 1) {
        return pumpMessagesUntil([this, count] { return soundDoneCount() >= count; });
    }

    // Waits until the device has given a buffer back and it was refilled: the sound plays.
    bool waitForARefill() {
        return pumpMessagesUntil([this] { return chunks.size() >= 3; });
    }

    std::vector<ReceivedMessage> log;
    RecordingWindow* owner = nullptr;
    WaveAudioPlayer* player = nullptr;
    std::vector<Chunk> chunks;
    std::vector<std::uint8_t> lastSamples;
    int maxQueuedBefore = 0;
    std::vector<std::wstring> files;
};

// The cases that need the sound to really play; without an output device they are skipped.
class WaveAudioDeviceTest : public WaveAudioPlayerTest {
protected:
    void SetUp() override {
        if (!soundOutputAvailable()) GTEST_SKIP() << kNoSoundOutput;
        WaveAudioPlayerTest::SetUp();
    }
    void TearDown() override {
        if (player != nullptr) WaveAudioPlayerTest::TearDown();
    }
};

}  // namespace

TEST_F(WaveAudioDeviceTest, PlayFromTheStartQueuesAlignedChunksAndEndsOnceAtRealTimePace) {
    ASSERT_NO_FATAL_FAILURE(openSamples(L"one-second", std::vector<std::uint8_t>(kOneSecond, 128)));
    DWORD started = timeGetTime();
    player->play(0);
    EXPECT_EQ(chunks, (std::vector<Chunk>{{0, 2205}, {2205, 2205}})) << describe(chunks);
    EXPECT_EQ(player->state(), ISoundPlayer::Playing);
    EXPECT_EQ(player->queuedBuffers(), 2);

    ASSERT_TRUE(waitForSoundDone()) << describe(chunks);
    DWORD elapsed = timeGetTime() - started;
    std::printf("one second of sound played in %lu ms\n", static_cast<unsigned long>(elapsed));
    EXPECT_EQ(chunks, (std::vector<Chunk>{{0, 2205}, {2205, 2205}, {4410, 2205}, {6615, 2205}, {8820, 2204}}))
        << describe(chunks);
    EXPECT_TRUE(player->isEnded());
    EXPECT_EQ(player->state(), ISoundPlayer::Stopped);
    // A real device plays a second of sound at its pace, not at once: it never takes less
    // than the three chunks behind the two it was first handed (a loaded machine only adds).
    EXPECT_GE(elapsed, 600u);
    pumpMessagesFor(300);  // no second report
    EXPECT_EQ(soundDoneCount(), 1);
    EXPECT_LE(maxQueuedBefore, 1) << "more than two buffers were handed to the device";
}

TEST_F(WaveAudioDeviceTest, PlayFromAnOffsetRunsTheFirstChunkToTheNextBoundary) {
    ASSERT_NO_FATAL_FAILURE(openSamples(L"offset", std::vector<std::uint8_t>(kOneSecond, 128)));
    player->play(100);
    EXPECT_EQ(chunks, (std::vector<Chunk>{{1102, 1103}, {2205, 2205}})) << describe(chunks);
    player->stop();
}

TEST_F(WaveAudioDeviceTest, PlayAtOrPastTheEndEndsAtOnce) {
    ASSERT_NO_FATAL_FAILURE(openSamples(L"past-end", std::vector<std::uint8_t>(kOneSecond, 128)));
    for (int ms : {1000, 5000}) {
        log.clear();
        player->play(ms);
        EXPECT_TRUE(chunks.empty()) << ms << ": " << describe(chunks);
        EXPECT_TRUE(player->isEnded()) << ms;
        EXPECT_EQ(player->state(), ISoundPlayer::Stopped) << ms;
        EXPECT_TRUE(waitForSoundDone()) << ms;
        pumpWaitingMessages();
        EXPECT_EQ(soundDoneCount(), 1) << ms;
    }
}

TEST_F(WaveAudioDeviceTest, ChunksAreScaledByTheVolume) {
    std::vector<std::uint8_t> samples;
    for (int i = 0; i < kOneSecond; ++i) samples.push_back(std::vector<std::uint8_t>{255, 0, 128, 200}[i % 4]);
    ASSERT_NO_FATAL_FAILURE(openSamples(L"volume", samples));
    struct Case {
        int level;
        int stored;
        std::vector<std::uint8_t> expected;  // the first four output samples
    } cases[] = {
        {8, 8, {191, 64, 128, 164}},
        {0, 0, {128, 128, 128, 128}},
        {16, 16, {255, 0, 128, 200}},
        {99, 16, {255, 0, 128, 200}},
        {-3, 0, {128, 128, 128, 128}},
        {15, 15, {247, 8, 128, 195}},
    };
    for (const Case& c : cases) {
        player->setVolume(c.level);
        EXPECT_EQ(player->volume(), c.stored) << "level " << c.level;
        chunks.clear();
        player->play(0);
        ASSERT_FALSE(chunks.empty()) << "level " << c.level;
        // The last chunk seen starts at byte 2205: compare with the pattern from there.
        std::vector<std::uint8_t> expected;
        for (int i = 0; i < 4; ++i) expected.push_back(c.expected[(chunks.back().offset + i) % 4]);
        EXPECT_EQ(std::vector<std::uint8_t>(lastSamples.begin(), lastSamples.begin() + 4), expected)
            << "level " << c.level;
        player->stop();
    }
}

TEST(WaveAudioPlayerScaling, TruncatesTowardZeroAroundSilence) {
    struct Case {
        std::uint8_t sample;
        int volume;
        std::uint8_t expected;
    } cases[] = {{255, 8, 191}, {0, 8, 64}, {1, 8, 65}, {129, 1, 128}, {127, 1, 128},
                 {0, 16, 0},    {255, 16, 255}, {77, 0, 128}, {200, 12, 182}};
    for (const Case& c : cases)
        EXPECT_EQ(WaveAudioPlayer::scaleSample(c.sample, c.volume), c.expected)
            << "sample " << int(c.sample) << " volume " << c.volume;
}

TEST_F(WaveAudioDeviceTest, PositionRightAfterPlayIsTheStartOffset) {
    EXPECT_EQ(player->position(), 0) << "no device";
    ASSERT_NO_FATAL_FAILURE(openSamples(L"position", std::vector<std::uint8_t>(6 * kOneSecond, 128)));
    player->play(5000);
    int position = player->position();
    EXPECT_GE(position, 5000);
    // The device may already report some of what it was handed, never more than the two
    // 200 ms chunks, however long this thread was held up in between.
    EXPECT_LE(position, 5400);
    player->stop();
}

// The clock counts the running time, measured here around each call on the same millisecond
// clock, so the bounds hold however late this thread runs; the paused time must not count.
TEST_F(WaveAudioPlayerTest, VirtualClockRunsWithoutADeviceAndHoldsWhilePaused) {
    ASSERT_EQ(player->state(), ISoundPlayer::NoDevice);
    DWORD beforePlay = timeGetTime();
    EXPECT_THROW(player->play(3000), WaveAudioException);
    DWORD afterPlay = timeGetTime();
    Sleep(200);
    DWORD beforePause = timeGetTime();
    EXPECT_THROW(player->pause(), WaveAudioException);
    DWORD afterPause = timeGetTime();
    Sleep(500);
    DWORD beforeResume = timeGetTime();
    EXPECT_THROW(player->resume(), WaveAudioException);
    DWORD afterResume = timeGetTime();
    Sleep(100);
    DWORD beforeRead = timeGetTime();
    int clock = player->virtualPosition();
    DWORD afterRead = timeGetTime();
    int least = 3000 + static_cast<int>(beforePause - afterPlay) + static_cast<int>(beforeRead - afterResume);
    int most = 3000 + static_cast<int>(afterPause - beforePlay) + static_cast<int>(afterRead - beforeResume);
    EXPECT_GE(clock, least);
    EXPECT_LE(clock, most) << "the paused " << (beforeResume - afterPause) << " ms must not count";
    try {
        player->stop();
        FAIL() << "stop without a device must throw";
    } catch (const WaveAudioException& e) {
        EXPECT_EQ(e.message(), L"デバイスがオープンされていません。");
    }
}

TEST_F(WaveAudioDeviceTest, StopDuringPlaybackPostsOneSoundDoneWithEndedClear) {
    ASSERT_NO_FATAL_FAILURE(openSamples(L"stop", std::vector<std::uint8_t>(2 * kOneSecond, 128)));
    player->play(0);
    ASSERT_TRUE(waitForARefill());
    std::size_t chunksBeforeStop = chunks.size();
    player->stop();
    EXPECT_EQ(player->state(), ISoundPlayer::Stopped);
    ASSERT_TRUE(waitForSoundDone());
    pumpMessagesFor(600);  // no second report, no refill
    EXPECT_EQ(soundDoneCount(), 1);
    EXPECT_FALSE(player->isEnded());
    EXPECT_EQ(player->state(), ISoundPlayer::Stopped);
    EXPECT_EQ(chunks.size(), chunksBeforeStop) << "a buffer returned by the stop was refilled";
}

TEST_F(WaveAudioDeviceTest, PauseHoldsThePositionAndResumePlaysOnToTheEnd) {
    ASSERT_NO_FATAL_FAILURE(openSamples(L"pause", std::vector<std::uint8_t>(kOneSecond, 128)));
    player->play(0);
    ASSERT_TRUE(waitForARefill());
    player->pause();
    EXPECT_EQ(player->state(), ISoundPlayer::Paused);
    // The device may take a moment to report its paused position: wait until the position
    // has not moved for a while (it never settles when the pause does not hold).
    int held = -1;
    DWORD heldSince = timeGetTime();
    ASSERT_TRUE(pumpMessagesUntil([&] {
        int now = player->position();
        if (now != held) {
            held = now;
            heldSince = timeGetTime();
        }
        return timeGetTime() - heldSince >= 200;
    })) << "the position kept moving while paused";
    pumpMessagesFor(300);
    EXPECT_LE(std::abs(player->position() - held), 30) << "the position moved while paused";
    EXPECT_EQ(soundDoneCount(), 0);
    player->resume();
    EXPECT_EQ(player->state(), ISoundPlayer::Playing);
    ASSERT_TRUE(waitForSoundDone());
    EXPECT_TRUE(player->isEnded());
    // Nothing is left to resume: the owner is told again at once.
    player->resume();
    EXPECT_TRUE(waitForSoundDone(2));
    pumpWaitingMessages();
    EXPECT_EQ(soundDoneCount(), 2);
    EXPECT_EQ(player->state(), ISoundPlayer::Stopped);
}

TEST_F(WaveAudioDeviceTest, ResumeAfterStopStaysStopped) {
    ASSERT_NO_FATAL_FAILURE(openSamples(L"resume-stopped", std::vector<std::uint8_t>(kOneSecond, 128)));
    player->play(0);
    player->stop();
    player->resume();
    EXPECT_EQ(player->state(), ISoundPlayer::Stopped);
}

// The buffers a reset returns arrive as WM_BUFFER_DONE after the play that reset the device
// has queued its own: they must neither refill (a header still in the device would be
// overwritten and a chunk skipped) nor count against the new buffers.
TEST_F(WaveAudioDeviceTest, PlayWhileRunningNeitherSkipsAChunkNorMiscountsTheQueue) {
    ASSERT_NO_FATAL_FAILURE(openSamples(L"replay", std::vector<std::uint8_t>(2 * kOneSecond, 128)));
    for (bool afterARefill : {false, true}) {
        const char* delay = afterARefill ? "after a refill" : "at once";
        log.clear();
        chunks.clear();
        player->play(0);
        if (afterARefill) {
            ASSERT_TRUE(waitForARefill());
        }
        chunks.clear();
        maxQueuedBefore = 0;
        player->play(1000);
        ASSERT_TRUE(waitForSoundDone()) << "replay " << delay << ": " << describe(chunks);
        ASSERT_FALSE(chunks.empty()) << "replay " << delay;
        EXPECT_EQ(chunks.front().offset, kOneSecond) << "replay " << delay;
        for (std::size_t i = 1; i < chunks.size(); ++i)
            EXPECT_EQ(chunks[i].offset, chunks[i - 1].offset + chunks[i - 1].count)
                << "replay " << delay << ", gap before chunk " << i << ": " << describe(chunks);
        EXPECT_EQ(chunks.back().offset + chunks.back().count, 2 * kOneSecond - 1)
            << "replay " << delay << ": " << describe(chunks);
        EXPECT_LE(maxQueuedBefore, 1) << "replay " << delay;
        EXPECT_TRUE(player->isEnded()) << "replay " << delay;
        pumpMessagesFor(300);  // no second report
        EXPECT_EQ(soundDoneCount(), 1) << "replay " << delay;
        EXPECT_EQ(player->queuedBuffers(), 0) << "replay " << delay;
    }
}

TEST_F(WaveAudioPlayerTest, RefusedFilesThrowThePathAndLeaveNoDevice) {
    std::vector<std::uint8_t> samples(kOneSecond, 128);
    struct Case {
        const char* name;
        WaveLayout layout;
    };
    std::vector<Case> cases;
    auto add = [&](const char* name, auto change) {
        WaveLayout layout;
        change(layout);
        cases.push_back({name, layout});
    };
    add("two channels", [](WaveLayout& l) { l.channels = 2; });
    add("block alignment 2", [](WaveLayout& l) { l.blockAlignment = 2; });
    add("sample rate 8000", [](WaveLayout& l) { l.sampleRate = 8000; });
    add("sample rate 22050", [](WaveLayout& l) { l.sampleRate = 22050; });
    add("format tag 3", [](WaveLayout& l) { l.formatTag = 3; });
    add("fmt chunk of 18 bytes", [](WaveLayout& l) { l.formatSize = 18; });
    add("LIST chunk before data", [](WaveLayout& l) { l.listChunkBeforeData = true; });
    add("not RIFF", [](WaveLayout& l) { l.riff = "RIFX"; });
    add("not WAVE", [](WaveLayout& l) { l.wave = "AVI "; });
    add("no fmt chunk", [](WaveLayout& l) { l.fmt = "data"; });
    add("data shorter than declared", [](WaveLayout& l) { l.declaredLength = kOneSecond + 1; });
    add("huge declared length", [](WaveLayout& l) { l.declaredLength = 0xFFFFFFF0; });
    add("cut inside the header", [](WaveLayout& l) { l.cutAfter = 30; });
    add("empty file", [](WaveLayout& l) { l.cutAfter = 1; });

    for (const Case& c : cases) {
        std::wstring path = temporaryPath(L"refused");
        files.push_back(path);
        std::vector<std::uint8_t> bytes = waveBytes(samples, c.layout);
        if (std::string(c.name) == "empty file") bytes.clear();
        writeFile(path, bytes);
        try {
            player->open(path);
            ADD_FAILURE() << c.name << ": accepted";
        } catch (const Exception& e) {
            EXPECT_EQ(e.message(), path) << c.name;
        }
        EXPECT_EQ(player->state(), ISoundPlayer::NoDevice) << c.name;
        EXPECT_EQ(player->rateProduct(), 0u) << c.name;
    }
    std::wstring missing = temporaryPath(L"does-not-exist");
    try {
        player->open(missing);
        ADD_FAILURE() << "missing file accepted";
    } catch (const WaveAudioException& e) {
        EXPECT_EQ(e.message(), missing);
    }
}

TEST_F(WaveAudioDeviceTest, OpeningAnotherFileClosesTheFirst) {
    ASSERT_NO_FATAL_FAILURE(openSamples(L"first", std::vector<std::uint8_t>(kOneSecond, 128)));
    EXPECT_EQ(player->rateProduct(), 11025u * 1000u);
    player->play(0);
    ASSERT_NO_FATAL_FAILURE(openSamples(L"second", std::vector<std::uint8_t>(3 * kOneSecond, 128)));
    EXPECT_EQ(player->dataLength(), 3 * kOneSecond);
    player->close();
    EXPECT_EQ(player->state(), ISoundPlayer::NoDevice);
    EXPECT_EQ(player->rateProduct(), 0u);
    EXPECT_EQ(player->dataLength(), 0);
}

TEST_F(WaveAudioDeviceTest, AFileWithoutSamplesPlaysNothingAndEndsAtOnce) {
    ASSERT_NO_FATAL_FAILURE(openSamples(L"empty-data", {}));
    player->play(0);
    EXPECT_TRUE(chunks.empty()) << describe(chunks);
    EXPECT_TRUE(player->isEnded());
    EXPECT_EQ(player->position(), 0);
    EXPECT_TRUE(waitForSoundDone());
    pumpWaitingMessages();
    EXPECT_EQ(soundDoneCount(), 1);
}

TEST_F(WaveAudioDeviceTest, DestroyingThePlayerWhilePlayingClosesTheDeviceQuietly) {
    ASSERT_NO_FATAL_FAILURE(openSamples(L"destroy", std::vector<std::uint8_t>(kOneSecond, 128)));
    player->play(0);
    ASSERT_TRUE(waitForARefill());
    HWND playerWindow = player->handle();
    DestroyWindow(playerWindow);
    // The framework deleted the player; a new one for the tear-down.
    player = new WaveAudioPlayer(owner->handle());
    EXPECT_FALSE(IsWindow(playerWindow));
    pumpMessagesFor(500);  // the rest of the second would have played out by now
    EXPECT_EQ(soundDoneCount(), 0) << "a destroyed player reported its sound";
}

TEST_F(WaveAudioDeviceTest, PlayAfterPausePlaysFromTheNewOffsetToTheEnd) {
    ASSERT_NO_FATAL_FAILURE(openSamples(L"play-after-pause", std::vector<std::uint8_t>(kOneSecond, 128)));
    player->play(0);
    ASSERT_TRUE(waitForARefill());
    player->pause();
    ASSERT_EQ(player->state(), ISoundPlayer::Paused);
    log.clear();
    player->play(600);
    EXPECT_EQ(player->state(), ISoundPlayer::Playing);
    ASSERT_TRUE(waitForSoundDone()) << "the output stayed paused: " << describe(chunks);
    EXPECT_TRUE(player->isEnded());
}
