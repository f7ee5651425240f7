// The sound of a record in its temporary WAV file: header, silence in the gaps, samples
// cut at the next chunk, and the limits of one block.
#include "ArchiveTestFiles.h"
#include "ArchiveTestRecords.h"

#include "archive/ByteOrder.h"
#include "archive/VideoArchive.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct SoundChunk {
    std::uint32_t timeStamp;  // ms after the clock start
    std::size_t samples;
    std::uint8_t value;
    std::size_t padding = 0;
};

struct Wav {
    std::vector<std::uint8_t> bytes;
    std::uint32_t riffSize() const { return readLittleEndian32(&bytes[4]); }
    std::uint32_t dataSize() const { return readLittleEndian32(&bytes[40]); }
    std::vector<std::uint8_t> data() const { return std::vector<std::uint8_t>(bytes.begin() + 44, bytes.end()); }
};

// Runs of equal bytes, for readable comparisons: {value, count}, ...
std::vector<std::pair<int, std::size_t>> runs(const std::vector<std::uint8_t>& bytes) {
    std::vector<std::pair<int, std::size_t>> result;
    for (std::uint8_t byte : bytes) {
        if (!result.empty() && result.back().first == byte) {
            ++result.back().second;
        } else {
            result.emplace_back(byte, 1);
        }
    }
    return result;
}

class SoundExtractionTest : public ::testing::Test {
protected:
    ScratchFolder folder;

    Wav extract(const std::vector<SoundChunk>& chunks) {
        RecorderWriter file;
        file.header(eventHeader(0)).videoChunk(leadFrame());
        for (const SoundChunk& chunk : chunks) {
            file.soundChunk(kClockStart + chunk.timeStamp, std::vector<std::uint8_t>(chunk.samples, chunk.value),
                            chunk.padding);
        }
        file.videoChunk(eventFrame(0));
        VideoArchive archive;
        archive.openEventFile(folder.save(L"Video.dvt", file));
        Wav wav{readFileBytes(archive.soundFileName())};
        EXPECT_GE(wav.bytes.size(), 44u);
        if (wav.bytes.size() < 44) wav.bytes.resize(44);
        return wav;
    }
};

TEST_F(SoundExtractionTest, HeaderOfAnEightBitMonoFile) {
    Wav wav = extract({{0, 100, 0x90}});
    const std::uint8_t expected[44] = {
        'R', 'I', 'F', 'F', 136, 0, 0, 0, 'W', 'A', 'V', 'E',  // RIFF size 36 + 100
        'f', 'm', 't', ' ', 16, 0, 0, 0,                        // format chunk of 16 bytes
        1, 0, 1, 0,                                             // PCM, one channel
        0x11, 0x2B, 0, 0, 0x11, 0x2B, 0, 0,                     // 11025 samples and bytes per second
        1, 0, 8, 0,                                             // block 1, 8 bits
        'd', 'a', 't', 'a', 100, 0, 0, 0,                       // 100 data bytes
    };
    ASSERT_EQ(wav.bytes.size(), 144u);
    EXPECT_TRUE(std::equal(std::begin(expected), std::end(expected), wav.bytes.begin()));
}

TEST_F(SoundExtractionTest, ChunksAreLaidOutOnTheRecordersClock) {
    using Runs = std::vector<std::pair<int, std::size_t>>;
    struct Case {
        const char* name;
        std::vector<SoundChunk> chunks;
        std::uint32_t dataSize;
        Runs expected;
    } cases[] = {
        {"1000 and 1500 ms, 4000 samples each",
         {{1000, 4000, 0x10}, {1500, 4000, 0x20}},
         9512,
         {{0x10, 4000}, {0x80, 1512}, {0x20, 4000}}},
        {"1 ms apart: the first gives nothing", {{0, 500, 0x10}, {1, 300, 0x20}}, 300, {{0x20, 300}}},
        {"more samples than the gap: cut at the next chunk",
         {{0, 3000, 0x10}, {100, 200, 0x20}},
         1102 + 200,
         {{0x10, 1102}, {0x20, 200}}},
        {"12000 samples, then 2 s later another",
         {{0, 12000, 0x10}, {2000, 50, 0x20}},
         22050 + 50,
         {{0x10, 10000}, {0x80, 12050}, {0x20, 50}}},
        {"one chunk: at most 10000 samples", {{0, 12000, 0x30}}, 10000, {{0x30, 10000}}},
        {"file order does not matter", {{1500, 40, 0x20}, {1000, 30, 0x10}}, 5512 + 40,
         {{0x10, 30}, {0x80, 5482}, {0x20, 40}}},
        {"no sound chunks", {}, 0, {}},
    };
    for (const Case& c : cases) {
        Wav wav = extract(c.chunks);
        EXPECT_EQ(wav.dataSize(), c.dataSize) << c.name;
        EXPECT_EQ(wav.riffSize(), 36 + c.dataSize) << c.name;
        EXPECT_EQ(wav.bytes.size(), 44 + c.dataSize) << c.name;
        EXPECT_EQ(runs(wav.data()), c.expected) << c.name;
    }
}

TEST_F(SoundExtractionTest, ChunksCannotLendBytesTheyDoNotHold) {
    // A sound byte count beyond the payload would play the next chunk's header as sound.
    RecorderWriter file;
    file.header(eventHeader(0)).videoChunk(leadFrame());
    ChunkFields lying;
    lying.frame.timeStamp = kClockStart;
    lying.type = 0xAA;
    lying.soundByteCount = 2000;
    file.chunk(lying, std::vector<std::uint8_t>(100, 0x10));
    file.soundChunk(kClockStart + 1000, std::vector<std::uint8_t>(10, 0x20));
    file.videoChunk(eventFrame(0));  // the scan needs 16 bytes beyond every chunk header
    VideoArchive archive;
    archive.openEventFile(folder.save(L"Video.dvt", file));
    Wav wav{readFileBytes(archive.soundFileName())};
    using Runs = std::vector<std::pair<int, std::size_t>>;
    EXPECT_EQ(runs(wav.data()), (Runs{{0x10, 100}, {0x80, 11025 - 100}, {0x20, 10}}));
}

TEST_F(SoundExtractionTest, ChunksStampedFarBeyondTheRecordAreDropped) {
    // A damaged time stamp must not make the sound file gigabytes of silence.
    Wav wav = extract({{0, 100, 0x10}, {1000, 100, 0x20}, {4000000, 100, 0x30}});
    using Runs = std::vector<std::pair<int, std::size_t>>;
    EXPECT_EQ(runs(wav.data()), (Runs{{0x10, 100}, {0x80, 11025 - 100}, {0x20, 100}}));
}

TEST_F(SoundExtractionTest, SoundChunksCountBeforeTheFirstVideoChunkToo) {
    RecorderWriter file;
    file.header(eventHeader(0)).soundChunk(kClockStart, std::vector<std::uint8_t>(20, 0x44));
    file.videoChunk(leadFrame()).videoChunk(eventFrame(0));
    VideoArchive archive;
    archive.openEventFile(folder.save(L"Video.dvt", file));
    Wav wav{readFileBytes(archive.soundFileName())};
    using Runs = std::vector<std::pair<int, std::size_t>>;
    EXPECT_EQ(runs(wav.data()), (Runs{{0x44, 20}}));
}

}  // namespace
