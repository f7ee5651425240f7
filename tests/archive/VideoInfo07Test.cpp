#include "archive/VideoInfo07.h"

#include "archive/RecordKind.h"
#include "archive/VideoArchive.h"

#include "ArchiveTestFiles.h"
#include "TestRecordings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iterator>

using testrecordings::chapterFile;
using testrecordings::imageFile;
using testrecordings::morning;
using testrecordings::taggedPayload;

namespace {

constexpr std::uint32_t kClock = 7000000;

// Milliseconds of frame i of an event file: rounded up, so that each frame lands in its own
// 33.3 ms slot.
std::uint32_t eventFrameTime(int frame) { return kClock + static_cast<std::uint32_t>((frame * 1000 + 29) / 30); }

struct EventFile {
    int frames = 600;
    int eventFrame = 412;  // the header's event time stamp points here; -1 writes 0
    std::uint16_t rawGFirst = 512;
    std::uint16_t rawGSecond = 512;
    std::uint8_t kindCode = 0x10;

    RecorderWriter build() const {
        RecorderWriter file;
        RecordHeaderFields header;
        header.kindCode = kindCode;
        header.dateTime = morning(eventFrame >= 0 ? eventFrame / 30 : 0);
        header.eventTimeStamp = eventFrame >= 0 ? eventFrameTime(eventFrame) : 0;
        header.eventGFirstRaw = rawGFirst;
        header.eventGSecondRaw = rawGSecond;
        header.eventSpeed = 50;
        file.header(header);
        FrameFields lead;
        lead.timeStamp = kClock - 40;
        file.videoChunkWithPayload(lead, taggedPayload());
        for (int i = 0; i < frames; ++i) {
            FrameFields frame;
            frame.timeStamp = eventFrameTime(i);
            frame.dateTime = morning(i / 30);
            frame.speed = 50;
            file.videoChunkWithPayload(frame, taggedPayload());
        }
        return file;
    }
};

class VideoInfo07Test : public ::testing::Test {
protected:
    std::wstring save(const RecorderWriter& file, const std::wstring& name) {
        const std::wstring path = folder.file(name);
        EXPECT_TRUE(file.save(path)) << path;
        return path;
    }

    ScratchFolder folder;
    VideoArchive archive;
    VideoInfo07 info{archive};
};

}  // namespace

TEST_F(VideoInfo07Test, EventFrameIsTheSlotTheArchiveFound) {
    archive.openEventFile(save(EventFile().build(), L"Video.dvt"));
    EXPECT_EQ(info.recordKind(), RecordKind::AutoEvent);
    EXPECT_EQ(info.eventIndex(), 412);
    ASSERT_NE(info.eventFrame(), nullptr);
    EXPECT_EQ(info.eventFrame(), info.frameAt(412));
    EXPECT_EQ(info.eventFrame()->eventMark, info.recordKind());
    EXPECT_EQ(info.slotCount(), 600);
    EXPECT_NE(info.recordTime(), 0);
    EXPECT_LE(info.firstTime(), info.recordTime());
    EXPECT_LE(info.recordTime(), info.lastTime());
}

TEST_F(VideoInfo07Test, EventWithoutTimeStampIsNoDetection) {
    EventFile file;
    file.eventFrame = -1;
    archive.openEventFile(save(file.build(), L"Video.dvt"));
    EXPECT_EQ(info.recordKind(), RecordKind::NoDetection) << "the header said 0x10";
    EXPECT_EQ(info.eventIndex(), -1);
    EXPECT_EQ(info.eventFrame(), nullptr);
    EXPECT_EQ(info.slotCount(), 600);
}

TEST_F(VideoInfo07Test, IndexesOutsideTheTableGiveNoFrame) {
    EventFile file;
    file.frames = 450;
    archive.openEventFile(save(file.build(), L"Video.dvt"));
    ASSERT_EQ(info.slotCount(), 450);
    for (int index : {-1, 450, 899, 900, 100000, -100000}) EXPECT_EQ(info.frameAt(index), nullptr) << index;
    EXPECT_NE(info.frameAt(0), nullptr);
    EXPECT_NE(info.frameAt(449), nullptr);
}

TEST_F(VideoInfo07Test, RawEventGValuesAreClampedToTheSensorRange) {
    struct Case {
        std::uint16_t raw;
        double g;
    };
    const Case cases[] = {
        {0, 0.0},
        {100, (215 - 512) * 0.01468},
        {512, 0.0},
        {600, (600 - 512) * 0.01468},
        {1000, (808 - 512) * 0.01468},
    };
    for (const Case& c : cases) {
        EventFile file;
        file.frames = 30;
        file.eventFrame = 10;
        file.rawGFirst = c.raw;
        file.rawGSecond = c.raw;
        archive.openEventFile(save(file.build(), L"Video.dvt"));
        EXPECT_DOUBLE_EQ(info.eventGFirst(), c.g) << "raw " << c.raw;
        EXPECT_DOUBLE_EQ(info.eventGSecond(), c.g) << "raw " << c.raw;
    }
}

TEST_F(VideoInfo07Test, FrameGValuesUseTheRecordersSignedBcd) {
    struct Case {
        std::uint16_t word;
        double g;
    };
    const Case cases[] = {
        {0x8500, -0.5},  // above 8: negative
        {0x8000, 0.0},
        {0x1250, 1.25},
        {0x9999, -1.999},
        {0x7999, 7.999},
        {0x0001, 0.001},
    };
    RecorderWriter file = chapterFile(0);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        FrameFields frame;
        frame.timeStamp = 500000 + 100u * static_cast<std::uint32_t>(i);
        frame.dateTime = morning(0);
        frame.gFirstWord = cases[i].word;
        frame.gSecondWord = 0x0000;
        file.videoChunkWithPayload(frame, taggedPayload());
    }
    archive.openChapterFile(save(file, L"Video0000.dmv"));
    ASSERT_EQ(info.slotCount(), static_cast<int>(std::size(cases)));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const FrameRecord* frame = info.frameAt(static_cast<int>(i));
        ASSERT_NE(frame, nullptr) << i;
        EXPECT_NEAR(frame->gFirst, cases[i].g, 1e-9) << std::hex << cases[i].word;
        EXPECT_NEAR(frame->gMagnitude, std::fabs(cases[i].g), 1e-9) << std::hex << cases[i].word;
    }
}

TEST_F(VideoInfo07Test, ChapterFileIsContinuousAtTenFramesASecond) {
    archive.openChapterFile(save(chapterFile(25), L"Video0003.dmv"));
    EXPECT_EQ(info.recordKind(), RecordKind::Continuous);
    EXPECT_EQ(info.eventIndex(), -1);
    EXPECT_EQ(info.eventFrame(), nullptr);
    ASSERT_EQ(info.slotCount(), 25);
    for (int slot = 0; slot < 25; ++slot) {
        ASSERT_NE(info.frameAt(slot), nullptr) << slot;
        EXPECT_EQ(info.frameAt(slot)->timeStamp - info.frameAt(0)->timeStamp, 100u * slot) << slot;
    }
}

TEST_F(VideoInfo07Test, ImageFileIsOneImageRecord) {
    archive.openImageFile(save(imageFile(morning(5), 0.25, 33), L"IMG00001.dpc"));
    EXPECT_EQ(info.recordKind(), RecordKind::Image);
    EXPECT_EQ(info.slotCount(), 1);
    EXPECT_EQ(info.eventIndex(), -1);
    ASSERT_NE(info.frameAt(0), nullptr);
    EXPECT_EQ(info.frameAt(0)->speed, 33);
    EXPECT_DOUBLE_EQ(info.frameAt(0)->gFirst, 0.25);
    EXPECT_EQ(info.frameAt(1), nullptr);
}

TEST_F(VideoInfo07Test, ReadsTheArchiveAtEachCall) {
    // The player keeps one view across chapter changes.
    archive.openChapterFile(save(chapterFile(5), L"Video0000.dmv"));
    EXPECT_EQ(info.slotCount(), 5);
    archive.openChapterFile(save(chapterFile(8), L"Video0001.dmv"));
    EXPECT_EQ(info.slotCount(), 8);
    EXPECT_NE(info.frameAt(7), nullptr);

    archive.close();
    EXPECT_EQ(info.slotCount(), 0);
    EXPECT_EQ(info.eventIndex(), -1);
    EXPECT_EQ(info.frameAt(0), nullptr);
    EXPECT_EQ(info.eventFrame(), nullptr);
    EXPECT_EQ(info.recordKind(), RecordKind::Continuous) << "the record information keeps the last open's values";
}
