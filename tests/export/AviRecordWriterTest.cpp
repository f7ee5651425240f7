// The timeline of an exported video: one frame per slot, gaps showing the frame before,
// each record's sound cut or padded to its slots, all read back from the written file.
#include "archive/ArchiveTestFiles.h"
#include "export/AviContents.h"
#include "export/AviRecordWriter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// Stand-in frames: the writer stores pictures as they come, so any bytes tell them apart.
Bytes frame(char name) { return Bytes(5, static_cast<std::uint8_t>(name)); }

struct RecordPlan {
    std::string slots;  // one letter per slot handed in, '-' for a slot without a good frame
    int slotCount;      // the record's slots (more than handed in: the rest count as gaps)
};

struct TimelineCase {
    const char* name;
    std::vector<RecordPlan> records;
    std::string expected;  // the frames of the file; '#' is the black frame
};

AviContents writeAndRead(const ScratchFolder& folder, int rate, const std::vector<RecordPlan>& records,
                         const std::vector<Bytes>& sounds = {}) {
    const std::wstring path = folder.file(L"out.avi");
    AviRecordWriter writer(rate, true);
    writer.create(path);
    std::wstring error;
    for (std::size_t r = 0; r < records.size(); ++r) {
        EXPECT_TRUE(writer.beginRecord(records[r].slotCount, r < sounds.size() ? sounds[r] : Bytes(), error));
        for (char slot : records[r].slots)
            EXPECT_TRUE(writer.addSlot(slot == '-' ? Bytes() : frame(slot), 640, 480, error));
    }
    EXPECT_TRUE(writer.finish(error)) << std::string(error.begin(), error.end());
    return readAviContents(readFileBytes(path));
}

TEST(AviRecordWriterTest, EverySlotIsOneFrameAndGapsShowTheFrameBefore) {
    const TimelineCase cases[] = {
        {"all good", {{"ABC", 3}}, "ABC"},
        {"gap repeats the frame before", {{"A--D", 4}}, "AAAD"},
        {"leading gap shows the first good frame", {{"--CD", 4}}, "CCCD"},
        {"no good frame shows black", {{"--", 2}}, "##"},
        {"the frame before carries over a chapter", {{"A-", 2}, {"-B", 2}}, "AAAB"},
        {"slots never handed in are gaps", {{"AB", 4}}, "ABBB"},
        {"black stands in as the frame before", {{"--", 2}, {"-E", 2}}, "###E"},
        {"an empty record adds nothing", {{"A", 1}, {"", 0}, {"B", 1}}, "AB"},
    };
    for (const TimelineCase& test : cases) {
        SCOPED_TRACE(test.name);
        ScratchFolder folder;
        const AviContents avi = writeAndRead(folder, 30, test.records);
        ASSERT_TRUE(avi.valid);
        ASSERT_EQ(avi.frames.size(), std::string(test.expected).size());
        EXPECT_EQ(avi.totalFrames, avi.frames.size());
        EXPECT_EQ(avi.videoLength, avi.frames.size());
        for (std::size_t i = 0; i < avi.frames.size(); ++i) {
            const char want = test.expected[i];
            if (want == '#') {
                // A JPEG stream, the same one for every black slot.
                ASSERT_GE(avi.frames[i].size(), 4u) << "frame " << i;
                EXPECT_EQ(avi.frames[i][0], 0xFF) << "frame " << i;
                EXPECT_EQ(avi.frames[i][1], 0xD8) << "frame " << i;
                EXPECT_EQ(avi.frames[i], avi.frames[test.expected.find('#')]) << "frame " << i;
            } else {
                EXPECT_EQ(avi.frames[i], frame(want)) << "frame " << i;
            }
        }
    }
}

struct SoundCase {
    const char* name;
    int rate;
    std::vector<int> slotCounts;
    std::vector<std::size_t> soundLengths;  // record r's sound is that many samples of value 10 + r
};

// The sound of record r starts at the sample of its first frame, whatever the records before
// it held, and the file's sound lasts exactly as long as its frames.
TEST(AviRecordWriterTest, EachRecordsSoundStartsWithItsFirstFrame) {
    const SoundCase cases[] = {
        {"event length sound", 30, {90}, {33075}},
        {"short sound is padded with silence", 30, {60}, {1000}},
        {"long sound is cut", 10, {25}, {100000}},
        {"odd slot counts at 30 a second", 30, {7, 5, 31}, {2572, 5000, 0}},
        {"chapters at 10 a second", 10, {600, 250}, {661500, 275625}},
    };
    for (const SoundCase& test : cases) {
        SCOPED_TRACE(test.name);
        ScratchFolder folder;
        std::vector<RecordPlan> records;
        std::vector<Bytes> sounds;
        for (std::size_t r = 0; r < test.slotCounts.size(); ++r) {
            records.push_back({std::string(static_cast<std::size_t>(test.slotCounts[r]), static_cast<char>('A' + r)),
                               test.slotCounts[r]});
            sounds.emplace_back(test.soundLengths[r], static_cast<std::uint8_t>(10 + r));
        }
        const AviContents avi = writeAndRead(folder, test.rate, records, sounds);
        ASSERT_TRUE(avi.valid);
        const auto samplesBefore = [&](std::size_t frame) { return frame * 11025 / static_cast<std::size_t>(test.rate); };
        ASSERT_EQ(avi.sound.size(), samplesBefore(avi.frames.size()));
        EXPECT_EQ(avi.soundLength, avi.sound.size()) << "the stream header counts samples";
        EXPECT_EQ(avi.framesPerSecond, static_cast<std::uint32_t>(test.rate));

        std::size_t firstFrame = 0;
        for (std::size_t r = 0; r < test.slotCounts.size(); ++r) {
            const std::size_t from = samplesBefore(firstFrame);
            const std::size_t to = samplesBefore(firstFrame + static_cast<std::size_t>(test.slotCounts[r]));
            for (std::size_t s = from; s < to; ++s) {
                const std::uint8_t want = s - from < test.soundLengths[r] ? static_cast<std::uint8_t>(10 + r) : 0x80;
                ASSERT_EQ(avi.sound[s], want) << "record " << r << ", sample " << s;
            }
            firstFrame += static_cast<std::size_t>(test.slotCounts[r]);
        }
        // Interleaved: the sound of a frame is in the file before the frame.
        for (std::size_t f = 0; f < avi.frames.size(); ++f)
            ASSERT_GE(avi.soundBeforeFrame[f], samplesBefore(f + 1)) << "frame " << f;
    }
}

TEST(AviRecordWriterTest, AFileThatCannotBeMadeIsAnErrorWithAMessage) {
    ScratchFolder folder;
    AviRecordWriter writer(10, true);
    writer.create(folder.file(L"missing\\out.avi"));
    std::wstring error;
    ASSERT_TRUE(writer.beginRecord(1, {}, error));
    EXPECT_FALSE(writer.addSlot(frame('A'), 640, 480, error));
    EXPECT_NE(error.find(L"AVI"), std::wstring::npos);
    writer.abandon();
}

}  // namespace
