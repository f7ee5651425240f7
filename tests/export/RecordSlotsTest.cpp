// Exporting damaged and cut records: every good frame reaches the video, in its own slot,
// and a slot without one shows the frame before it. Telemetry rows of joined records.
#include "archive/ArchiveTestFiles.h"
#include "archive/TestRecordings.h"
#include "archive/VideoArchive.h"
#include "export/AviContents.h"
#include "export/AviRecordWriter.h"
#include "export/RecordSlots.h"
#include "export/TelemetryCsv.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

constexpr int kFrames = 12;

// An event file of kFrames real frames, each its own picture, with sound.
RecorderWriter eventFile() {
    RecorderWriter file;
    RecordHeaderFields header;
    header.kindCode = 0x20;
    file.header(header);
    file.videoChunk(FrameFields{});  // the lead frame
    for (int i = 0; i < kFrames; ++i) {
        FrameFields fields;
        fields.timeStamp = 1000 + 34u * static_cast<std::uint32_t>(i);
        file.videoChunk(fields, RgbPicture::bands(64, 48, static_cast<std::uint32_t>(i)));
        file.soundChunk(fields.timeStamp, std::vector<std::uint8_t>(400, static_cast<std::uint8_t>(0x40 + i)));
    }
    return file;
}

const ChunkLocation& videoChunk(const RecorderWriter& file, int frame) {
    int seen = -1;  // the lead frame comes first
    for (const ChunkLocation& chunk : file.chunks()) {
        if (chunk.type == 0x55 && seen++ == frame) return chunk;
    }
    throw std::out_of_range("no such frame");
}

struct DamageCase {
    const char* name;
    std::function<void(RecorderWriter&)> damage;
    int slots;       // what the reader makes of the file
    int goodFrames;  // slots whose frame still decodes
};

TEST(RecordSlotsTest, EveryGoodFrameOfADamagedRecordReachesTheVideo) {
    const DamageCase cases[] = {
        {"intact", [](RecorderWriter&) {}, kFrames, kFrames},
        {"frame tag overwritten",
         [](RecorderWriter& file) { file.patch(videoChunk(file, 4).payloadOffset + 2, std::vector<std::uint8_t>(14, 0)); },
         kFrames, kFrames},  // the reader drops the chunk and fills its slot with the frame before
        {"picture that does not decode",
         [](RecorderWriter& file) {
             const ChunkLocation& chunk = videoChunk(file, 5);
             const std::vector<std::uint8_t>& bytes = file.bytes();
             for (std::size_t at = chunk.payloadOffset; at + 4 < chunk.payloadOffset + chunk.payloadLength; ++at) {
                 if (bytes[at] == 0xFF && bytes[at + 1] == 0xC0) {
                     file.patch(at + 4, {0});  // a sample precision of 0 bits
                     break;
                 }
             }
         },
         kFrames, kFrames - 1},
        {"cut in the last frame",
         [](RecorderWriter& file) {
             const ChunkLocation& last = videoChunk(file, kFrames - 1);
             file.truncate(last.payloadOffset + last.payloadLength / 2);
         },
         kFrames - 1, kFrames - 1},  // the reader keeps what precedes the cut
    };
    for (const DamageCase& test : cases) {
        SCOPED_TRACE(test.name);
        ScratchFolder folder;
        RecorderWriter file = eventFile();
        test.damage(file);
        VideoArchive archive;
        archive.openEventFile(folder.save(L"Video.dvt", file));
        ASSERT_EQ(archive.slotCount(), test.slots);

        const std::wstring path = folder.file(L"out.avi");
        AviRecordWriter writer(30, true);
        writer.create(path);
        std::vector<std::vector<std::uint8_t>> good(static_cast<std::size_t>(test.slots));
        std::wstring error;
        ASSERT_TRUE(feedRecord(archive, nullptr, {&writer},
                               [&](int slot, const SlotPicture& picture, std::wstring&) {
                                   if (picture.good()) good[static_cast<std::size_t>(slot)] = picture.jpeg;
                                   return true;
                               },
                               error));
        ASSERT_TRUE(writer.finish(error));
        archive.close();

        const AviContents avi = readAviContents(readFileBytes(path));
        ASSERT_EQ(avi.frames.size(), static_cast<std::size_t>(test.slots));
        int goodCount = 0;
        for (std::size_t i = 0; i < avi.frames.size(); ++i) {
            if (!good[i].empty()) {
                ++goodCount;
                EXPECT_EQ(avi.frames[i], good[i]) << "slot " << i << " carries its own frame";
            } else {
                ASSERT_GT(i, 0u);
                EXPECT_EQ(avi.frames[i], avi.frames[i - 1]) << "slot " << i << " shows the frame before";
            }
        }
        EXPECT_EQ(goodCount, test.goodFrames);
        EXPECT_EQ(avi.sound.size(), static_cast<std::size_t>(test.slots) * 11025 / 30);
        EXPECT_EQ(avi.sound[0], 0x40) << "the record's own sound";
    }
}

TEST(RecordSlotsTest, TelemetryRowsOfJoinedChaptersAreNumberedOn) {
    ScratchFolder folder;
    TelemetryCsv csv(10);
    for (int slots : {3, 2}) {
        VideoArchive archive;
        archive.openChapterFile(folder.save(L"Video0000.dmv", testrecordings::chapterFile(slots)));
        csv.addRecord(archive);
    }
    const std::string& text = csv.text();
    EXPECT_EQ(text.rfind("slot,seconds,", 0), 0u);
    EXPECT_NE(text.find("\r\n2,0.200,"), std::string::npos);
    EXPECT_NE(text.find("\r\n3,0.300,"), std::string::npos) << "the second chapter's first row follows the first's";
    EXPECT_NE(text.find("\r\n4,0.400,"), std::string::npos);
    EXPECT_EQ(text.find("\r\n5,"), std::string::npos);
}

}  // namespace
