// Opening event files: chunk scan, time grid, event frame, pre-roll, gaps, speed ramps,
// event check, protect flag, damaged and cut files.
#include "ArchiveTestFiles.h"
#include "ArchiveTestRecords.h"

#include "archive/RecordKind.h"
#include "archive/SoundWarning.h"
#include "archive/VideoArchive.h"
#include "base/Exception.h"
#include "base/StringTable.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::wstring kUnreadable = L"該当データを読み込めません。";

class EventFileTest : public ::testing::Test {
protected:
    ScratchFolder folder;
    RecorderWriter writer;
    std::vector<std::uint8_t> payload = writer.framePayload(RgbPicture::solid(16, 16, 200, 40, 40));

    // Record header, lead frame and one frame on each of the given slots.
    void writeFrames(const RecordHeaderFields& header, int slots) {
        writer.header(header).videoChunkWithPayload(leadFrame(), payload);
        for (int slot = 0; slot < slots; ++slot) writer.videoChunkWithPayload(eventFrame(slot), payload);
    }

    std::wstring save() { return folder.save(L"Video.dvt", writer); }

    std::wstring openFailure(VideoArchive& archive, const std::wstring& path) {
        try {
            archive.openEventFile(path);
        } catch (const VideoArchiveException& failure) {
            return failure.message();
        }
        return L"(opened)";
    }
};

TEST_F(EventFileTest, StringTableHoldsTheMessage) { EXPECT_EQ(loadString(5510), kUnreadable); }

TEST_F(EventFileTest, EveryFrameAfterTheLeadFrameGetsItsSlot) {
    writeFrames(eventHeader(10), 30);
    VideoArchive archive;
    archive.openEventFile(save());
    ASSERT_EQ(archive.slotCount(), 30);
    for (int slot = 0; slot < 30; ++slot) {
        const FrameRecord* record = archive.frameAt(slot);
        ASSERT_NE(record, nullptr) << "slot " << slot;
        EXPECT_EQ(record->timeStamp, eventFrame(slot).timeStamp) << "slot " << slot;
        EXPECT_EQ(record->chunkType, 0x55) << "slot " << slot;
    }
    EXPECT_EQ(archive.frameAt(30), nullptr);
    EXPECT_EQ(archive.frameAt(-1), nullptr);
    EXPECT_EQ(archive.recordInformation().recordKind, RecordKind::AutoEvent);
    EXPECT_EQ(archive.eventIndex(), 10);
    EXPECT_EQ(archive.frameAt(10)->eventMark, RecordKind::AutoEvent);
    EXPECT_EQ(archive.frameAt(9)->eventMark, 0);
    EXPECT_TRUE(archive.hasOpenFile());
    EXPECT_FALSE(archive.restoreFrameJpeg(29).empty());
}

TEST_F(EventFileTest, TheLeadFrameIsNeverIndexed) {
    // The lead frame is stamped in the middle of the others: indexed, it would take a slot.
    FrameFields lead = eventFrame(5, 99);
    writer.header(eventHeader(0)).videoChunkWithPayload(lead, payload);
    for (int slot : {0, 10}) writer.videoChunkWithPayload(eventFrame(slot), payload);
    VideoArchive archive;
    archive.openEventFile(save());
    ASSERT_EQ(archive.slotCount(), 11);
    for (int slot = 0; slot < 11; ++slot) EXPECT_NE(archive.frameAt(slot)->speed, 99) << "slot " << slot;
}

TEST_F(EventFileTest, AnotherFirmwareCodeIsRefusedOnlyOnTheLeadFrame) {
    RecorderWriter foreign(FirmwareCode{0x03, 0x13});
    std::vector<std::uint8_t> foreignPayload = foreign.framePayload(RgbPicture::solid(16, 16, 0, 0, 0));

    writer.header(eventHeader(0)).videoChunkWithPayload(leadFrame(), foreignPayload);
    writer.videoChunkWithPayload(eventFrame(0), payload);
    VideoArchive archive;
    EXPECT_EQ(openFailure(archive, save()), kUnreadable);
    EXPECT_EQ(archive.slotCount(), 0);
    EXPECT_FALSE(archive.hasOpenFile());

    RecorderWriter later;
    later.header(eventHeader(0)).videoChunkWithPayload(leadFrame(), payload);
    later.videoChunkWithPayload(eventFrame(0), foreignPayload).videoChunkWithPayload(eventFrame(1), payload);
    archive.openEventFile(folder.save(L"later.dvt", later));
    EXPECT_EQ(archive.slotCount(), 2);
    EXPECT_TRUE(archive.restoreFrameJpeg(0).empty()) << "the tag of a foreign frame is checked when it is decoded";
    EXPECT_FALSE(archive.restoreFrameJpeg(1).empty());
}

TEST_F(EventFileTest, AnArchiveBuiltForAnotherFirmwareCodeTakesThatCode) {
    RecorderWriter foreign(FirmwareCode{0x03, 0x13});
    std::vector<std::uint8_t> foreignPayload = foreign.framePayload(RgbPicture::solid(16, 16, 0, 0, 0));
    foreign.header(eventHeader(0)).videoChunkWithPayload(leadFrame(), foreignPayload);
    foreign.videoChunkWithPayload(eventFrame(0), foreignPayload);
    VideoArchive archive(FirmwareCode{0x03, 0x13});
    archive.openEventFile(folder.save(L"Video.dvt", foreign));
    EXPECT_EQ(archive.slotCount(), 1);
    EXPECT_FALSE(archive.restoreFrameJpeg(0).empty());
}

TEST_F(EventFileTest, TwoChunksInOneSlotKeepTheEarlierInFileOrder) {
    writer.header(eventHeader(0)).videoChunkWithPayload(leadFrame(), payload);
    FrameFields first = eventFrame(0, 10);
    FrameFields second = first;
    second.timeStamp += 20;  // still inside the 33.3 ms slot
    second.speed = 90;
    FrameFields earlierStamp = first;
    earlierStamp.timeStamp += 5;
    earlierStamp.speed = 70;
    writer.videoChunkWithPayload(second, payload).videoChunkWithPayload(earlierStamp, payload);
    writer.videoChunkWithPayload(first, payload);
    VideoArchive archive;
    archive.openEventFile(save());
    ASSERT_EQ(archive.slotCount(), 1);
    EXPECT_EQ(archive.frameAt(0)->speed, 90);
}

TEST_F(EventFileTest, EventFrameNearTwelveSecondsIsAlignedOntoSlot360) {
    struct Case {
        int eventSlot;
        int framesWritten;
        int expectedEvent;
        int expectedCount;
    } cases[] = {
        {358, 500, 360, 502},  // shifted by 2
        {357, 500, 360, 503},
        {359, 400, 360, 401},
        {356, 500, 356, 500},  // too early for the pre-roll
        {360, 500, 360, 500},
        {358, 898, 358, 898},  // the shift would not fit
        {358, 897, 360, 899},
    };
    for (const Case& c : cases) {
        RecorderWriter file;
        file.header(eventHeader(c.eventSlot)).videoChunkWithPayload(leadFrame(), payload);
        for (int slot = 0; slot < c.framesWritten; ++slot) file.videoChunkWithPayload(eventFrame(slot), payload);
        VideoArchive archive;
        archive.openEventFile(folder.save(L"Video.dvt", file));
        std::string name = "event at " + std::to_string(c.eventSlot) + " of " + std::to_string(c.framesWritten);
        EXPECT_EQ(archive.eventIndex(), c.expectedEvent) << name;
        EXPECT_EQ(archive.slotCount(), c.expectedCount) << name;
        ASSERT_NE(archive.frameAt(c.expectedEvent), nullptr) << name;
        EXPECT_EQ(archive.frameAt(c.expectedEvent)->timeStamp, eventFrame(c.eventSlot).timeStamp) << name;
        EXPECT_EQ(archive.frameAt(c.expectedEvent)->eventMark, RecordKind::AutoEvent) << name;
        int shift = c.expectedEvent - c.eventSlot;
        for (int slot = 0; slot < shift; ++slot) {
            const FrameRecord* copy = archive.frameAt(slot);
            ASSERT_NE(copy, nullptr) << name << " slot " << slot;
            EXPECT_EQ(copy->timeStamp, eventFrame(0).timeStamp) << name << ": copies of the first frame";
        }
        EXPECT_EQ(archive.frameAt(shift)->timeStamp, eventFrame(0).timeStamp) << name;
        EXPECT_EQ(archive.frameAt(shift + 1)->timeStamp, eventFrame(1).timeStamp) << name;
    }
}

TEST_F(EventFileTest, TheNearestFrameToTheEventTimeStampIsTheEventFrame) {
    RecordHeaderFields header = eventHeader(0, 0x20);
    header.eventTimeStamp = eventFrame(7).timeStamp + 16;  // nearer 7 than 8
    writeFrames(header, 20);
    VideoArchive archive;
    archive.openEventFile(save());
    EXPECT_EQ(archive.eventIndex(), 7);
    EXPECT_EQ(archive.recordInformation().recordKind, RecordKind::ManualEvent);
    EXPECT_EQ(archive.frameAt(7)->eventMark, RecordKind::ManualEvent);
}

TEST_F(EventFileTest, GapsAreFilledWithCopiesOfTheFrameBefore) {
    writer.header(eventHeader(3)).videoChunkWithPayload(leadFrame(), payload);
    FrameFields protectedFrame = eventFrame(3, 50);
    protectedFrame.protect = true;
    writer.videoChunkWithPayload(eventFrame(0, 50), payload);
    writer.videoChunkWithPayload(protectedFrame, payload);
    writer.videoChunkWithPayload(eventFrame(6, 50), payload);
    VideoArchive archive;
    archive.openEventFile(save());
    ASSERT_EQ(archive.slotCount(), 7);
    struct Expected {
        int slot;
        int sourceSlot;
        bool copy;
    } expected[] = {{0, 0, false}, {1, 0, true}, {2, 0, true}, {3, 3, false},
                    {4, 3, true},  {5, 3, true}, {6, 6, false}};
    for (const Expected& e : expected) {
        const FrameRecord* record = archive.frameAt(e.slot);
        ASSERT_NE(record, nullptr) << "slot " << e.slot;
        EXPECT_EQ(record->timeStamp, eventFrame(e.sourceSlot).timeStamp) << "slot " << e.slot;
        EXPECT_EQ(record->chunkType, e.copy ? 0 : 0x55) << "slot " << e.slot;
        EXPECT_EQ(record->payloadOffset, archive.frameAt(e.sourceSlot)->payloadOffset) << "slot " << e.slot;
    }
    EXPECT_EQ(archive.frameAt(3)->protectMark, 1);
    EXPECT_EQ(archive.frameAt(4)->protectMark, 0) << "copies carry no protect mark";
    EXPECT_EQ(archive.frameAt(4)->eventMark, RecordKind::AutoEvent) << "copies of the event frame carry its mark";
    EXPECT_FALSE(archive.restoreFrameJpeg(4).empty()) << "a copy shows the picture of its source";
}

TEST_F(EventFileTest, RunsOfEqualSpeedBecomeRamps) {
    struct Case {
        const char* name;
        std::vector<int> speeds;
        std::vector<int> expected;
    } cases[] = {
        {"40 40 40 43", {40, 40, 40, 43}, {40, 41, 42, 43}},
        {"falling, truncated toward zero", {43, 43, 40}, {43, 41, 40}},
        {"two ramps", {10, 10, 20, 20, 20, 20, 0}, {10, 15, 20, 15, 10, 5, 0}},
        {"last run keeps its speed", {5, 9, 9, 9}, {5, 9, 9, 9}},
        {"constant", {60, 60, 60}, {60, 60, 60}},
    };
    for (const Case& c : cases) {
        RecorderWriter file;
        file.header(eventHeader(0)).videoChunkWithPayload(leadFrame(), payload);
        for (std::size_t slot = 0; slot < c.speeds.size(); ++slot) {
            file.videoChunkWithPayload(eventFrame(static_cast<int>(slot), c.speeds[slot]), payload);
        }
        VideoArchive archive;
        archive.openEventFile(folder.save(L"Video.dvt", file));
        ASSERT_EQ(archive.slotCount(), static_cast<int>(c.expected.size())) << c.name;
        for (std::size_t slot = 0; slot < c.expected.size(); ++slot) {
            EXPECT_EQ(archive.frameAt(static_cast<int>(slot))->speed, c.expected[slot]) << c.name << " slot " << slot;
        }
    }
}

TEST_F(EventFileTest, FirstAndLastTimeSkipUnknownDates) {
    writer.header(eventHeader(1)).videoChunkWithPayload(leadFrame(), payload);
    FrameFields undated = eventFrame(0);
    undated.dateTime.month = 2;
    undated.dateTime.day = 30;
    writer.videoChunkWithPayload(undated, payload);
    for (int slot = 1; slot <= 60; ++slot) writer.videoChunkWithPayload(eventFrame(slot), payload);
    FrameFields undatedLast = eventFrame(61);
    undatedLast.dateTime.hour = 25;
    writer.videoChunkWithPayload(undatedLast, payload);
    VideoArchive archive;
    archive.openEventFile(save());
    EXPECT_EQ(archive.frameAt(0)->dateTime, 0);
    EXPECT_EQ(archive.firstTime(), archive.frameAt(1)->dateTime);
    EXPECT_EQ(archive.lastTime(), archive.frameAt(60)->dateTime);
    EXPECT_EQ(archive.lastTime() - archive.firstTime(), 2);
    EXPECT_EQ(archive.recordTime(), archive.frameAt(1)->dateTime) << "the header is dated at slot 1's second";
}

TEST_F(EventFileTest, AnEventThatCannotBeConfirmedBecomesNoDetection) {
    struct Case {
        const char* name;
        void (*damage)(RecordHeaderFields&);
        bool kept;
    } cases[] = {
        {"all in range", [](RecordHeaderFields&) {}, true},
        {"header dated 30 February", [](RecordHeaderFields& h) { h.dateTime.month = 2, h.dateTime.day = 30; }, false},
        {"header dated after the last frame", [](RecordHeaderFields& h) { h.dateTime.minute = 30; }, false},
        {"event time stamp 0", [](RecordHeaderFields& h) { h.eventTimeStamp = 0; }, false},
        {"event time stamp after the last frame",
         [](RecordHeaderFields& h) { h.eventTimeStamp = kClockStart + 5000; }, false},
        {"event time stamp before the first frame",
         [](RecordHeaderFields& h) { h.eventTimeStamp = kClockStart - 100; }, false},
        {"no event kind", [](RecordHeaderFields& h) { h.kindCode = 0x19; }, false},
    };
    for (const Case& c : cases) {
        RecordHeaderFields header = eventHeader(45);
        c.damage(header);
        RecorderWriter file;
        file.header(header).videoChunkWithPayload(leadFrame(), payload);
        for (int slot = 0; slot < 90; ++slot) file.videoChunkWithPayload(eventFrame(slot), payload);
        VideoArchive archive;
        archive.openEventFile(folder.save(L"Video.dvt", file));
        if (c.kept) {
            EXPECT_EQ(archive.recordInformation().recordKind, RecordKind::AutoEvent) << c.name;
            EXPECT_EQ(archive.eventIndex(), 45) << c.name;
        } else {
            EXPECT_EQ(archive.eventIndex(), -1) << c.name;
            EXPECT_NE(archive.recordInformation().recordKind, RecordKind::AutoEvent) << c.name;
        }
    }
}

TEST_F(EventFileTest, ThirtiethOfFebruaryGivesRecordTimeZeroAndNoDetection) {
    RecordHeaderFields header = eventHeader(5);
    header.dateTime.month = 2;
    header.dateTime.day = 30;
    writeFrames(header, 30);
    VideoArchive archive;
    archive.openEventFile(save());
    EXPECT_EQ(archive.recordTime(), 0);
    EXPECT_EQ(archive.recordInformation().recordKind, RecordKind::NoDetection);
    EXPECT_EQ(archive.eventIndex(), -1);
}

TEST_F(EventFileTest, RecordHeaderValues) {
    RecordHeaderFields header = eventHeader(2);
    header.eventGFirstRaw = 100;
    header.eventGSecondRaw = 1000;
    header.eventSpeed = 77;
    header.auxiliaryByte = 0x5A;
    writeFrames(header, 5);
    VideoArchive archive;
    archive.openEventFile(save());
    const RecordInformation& information = archive.recordInformation();
    EXPECT_NEAR(information.eventGFirst, (215 - 512) * 0.01468, 1e-9);
    EXPECT_NEAR(information.eventGSecond, (808 - 512) * 0.01468, 1e-9);
    EXPECT_EQ(information.eventSpeed, 77);
    EXPECT_EQ(information.auxiliaryByte, 0x5A);
    EXPECT_EQ(information.eventTimeStamp, header.eventTimeStamp);
}

TEST_F(EventFileTest, ProtectFlagFromTheHeaderOrAFrameAfterTheLead) {
    struct Case {
        const char* name;
        bool header;
        bool lead;
        bool frame;
        bool expected;
    } cases[] = {
        {"none", false, false, false, false},
        {"header", true, false, false, true},
        {"a frame", false, false, true, true},
        {"only the lead frame", false, true, false, false},
    };
    for (const Case& c : cases) {
        RecordHeaderFields header = eventHeader(0);
        header.protect = c.header;
        FrameFields lead = leadFrame();
        lead.protect = c.lead;
        FrameFields marked = eventFrame(2);
        marked.protect = c.frame;
        RecorderWriter file;
        file.header(header).videoChunkWithPayload(lead, payload);
        file.videoChunkWithPayload(eventFrame(0), payload).videoChunkWithPayload(eventFrame(1), payload);
        file.videoChunkWithPayload(marked, payload);
        VideoArchive archive;
        archive.openEventFile(folder.save(L"Video.dvt", file));
        EXPECT_EQ(archive.isProtected(), c.expected) << c.name;
    }
}

TEST_F(EventFileTest, SkipBlockCountMovesTheFirstChunk) {
    writer.header(eventHeader(0), 3).videoChunkWithPayload(leadFrame(), payload);
    writer.videoChunkWithPayload(eventFrame(0), payload).videoChunkWithPayload(eventFrame(1), payload);
    VideoArchive archive;
    archive.openEventFile(save());
    EXPECT_EQ(archive.slotCount(), 2);
    EXPECT_EQ(archive.frameAt(0)->payloadOffset, static_cast<std::int64_t>(writer.chunks()[1].payloadOffset));
}

TEST_F(EventFileTest, ShortHeadersAndMissingFilesAreRefused) {
    std::vector<std::uint8_t> header = RecorderWriter::recordHeaderBytes(eventHeader(0));
    struct Case {
        const char* name;
        std::size_t length;
    } cases[] = {{"empty", 0}, {"half a record header", 16}, {"record header only", 32}, {"skip block cut", 40}};
    for (const Case& c : cases) {
        RecorderWriter file;
        file.append(header).append(std::vector<std::uint8_t>(16, 0));
        file.truncate(c.length);
        VideoArchive archive;
        EXPECT_EQ(openFailure(archive, folder.save(L"short.dvt", file)), kUnreadable) << c.name;
    }
    VideoArchive archive;
    EXPECT_EQ(openFailure(archive, folder.file(L"missing.dvt")), kUnreadable);
    EXPECT_EQ(openFailure(archive, std::wstring(300, L'x')), kUnreadable) << "a path over 260 characters";
}

TEST_F(EventFileTest, AFileWithoutFramesOpensEmpty) {
    writer.header(eventHeader(0));
    VideoArchive archive;
    archive.openEventFile(save());
    EXPECT_EQ(archive.slotCount(), 0);
    EXPECT_EQ(archive.eventIndex(), -1);
    EXPECT_EQ(archive.firstTime(), 0);
    EXPECT_EQ(archive.recordInformation().recordKind, RecordKind::AutoEvent)
        << "without an event frame there is nothing to check";
}

TEST_F(EventFileTest, ADamagedChunkHeaderIsResynchronisedAtTheNextGoodChunk) {
    writer.header(eventHeader(0)).videoChunkWithPayload(leadFrame(), payload);
    writer.videoChunkWithPayload(eventFrame(0), payload);
    // Ten bytes of a damaged header, then a good chunk: the header read at the damage has
    // no signature ahead, the search starting 64 bytes on finds the good chunk's tag.
    writer.garbage(10);
    writer.videoChunkWithPayload(eventFrame(1, 61), payload);
    writer.videoChunkWithPayload(eventFrame(2, 61), payload);
    const ChunkLocation good = writer.chunks()[2];
    VideoArchive archive;
    archive.openEventFile(save());
    ASSERT_EQ(archive.slotCount(), 3);
    EXPECT_EQ(archive.frameAt(1)->timeStamp, eventFrame(1).timeStamp);
    EXPECT_EQ(archive.frameAt(1)->payloadOffset, static_cast<std::int64_t>(good.payloadOffset));
    EXPECT_FALSE(archive.restoreFrameJpeg(1).empty());
    EXPECT_FALSE(archive.restoreFrameJpeg(2).empty());
}

TEST_F(EventFileTest, OtherDamageIsStepped) {
    struct Case {
        const char* name;
        void (*damage)(RecorderWriter&, const std::vector<std::uint8_t>&);
        int expectedSlots;
    } cases[] = {
        {"a chunk of unknown type is dropped",
         [](RecorderWriter& w, const std::vector<std::uint8_t>& p) {
             ChunkFields unknown;
             unknown.frame = eventFrame(1);
             unknown.type = 0x33;
             w.chunk(unknown, p);
         },
         3},
        {"a video chunk of size 0 is dropped",
         [](RecorderWriter& w, const std::vector<std::uint8_t>& p) {
             ChunkFields empty;
             empty.frame = eventFrame(1);
             empty.payloadSize = 0;
             w.chunk(empty, p);
         },
         3},
        {"a negative size is dropped",
         [](RecorderWriter& w, const std::vector<std::uint8_t>& p) {
             ChunkFields negative;
             negative.frame = eventFrame(1);
             negative.payloadSize = 0xFFFFFF00u;
             w.chunk(negative, p);
         },
         3},
        {"a size beyond the end of the file is dropped",
         [](RecorderWriter& w, const std::vector<std::uint8_t>& p) {
             ChunkFields huge;
             huge.frame = eventFrame(1);
             huge.payloadSize = 0x40000000u;
             w.chunk(huge, p);
         },
         3},
        {"a garbage run shorter than the window",
         [](RecorderWriter& w, const std::vector<std::uint8_t>&) { w.garbage(300000); }, 3},
    };
    for (const Case& c : cases) {
        RecorderWriter file;
        file.header(eventHeader(0)).videoChunkWithPayload(leadFrame(), payload);
        file.videoChunkWithPayload(eventFrame(0), payload);
        c.damage(file, payload);
        file.videoChunkWithPayload(eventFrame(2), payload);
        VideoArchive archive;
        archive.openEventFile(folder.save(L"Video.dvt", file));
        ASSERT_EQ(archive.slotCount(), c.expectedSlots) << c.name;
        EXPECT_EQ(archive.frameAt(2)->timeStamp, eventFrame(2).timeStamp) << c.name << ": the frame after the damage";
        EXPECT_FALSE(archive.restoreFrameJpeg(2).empty()) << c.name;
    }
}

TEST_F(EventFileTest, GarbageLongerThanTheSearchWindowEndsTheScan) {
    writeFrames(eventHeader(0), 3);
    writer.garbage(1024 * 1024 + 100);
    writer.videoChunkWithPayload(eventFrame(3), payload).videoChunkWithPayload(eventFrame(4), payload);
    VideoArchive archive;
    ASSERT_NO_THROW(archive.openEventFile(save()));
    EXPECT_EQ(archive.slotCount(), 3);
}

TEST_F(EventFileTest, AFileCutInsideItsLastChunkKeepsEveryCompleteFrame) {
    writeFrames(eventHeader(0), 3);
    // A short last frame keeps the number of cut files small; only its tag matters here.
    std::vector<std::uint8_t> shortFrame(payload.begin(), payload.begin() + 40);
    writer.videoChunkWithPayload(eventFrame(3), shortFrame);
    const ChunkLocation last = writer.chunks().back();
    const std::vector<std::uint8_t> whole = writer.bytes();
    for (std::size_t cut = last.headerOffset; cut < whole.size(); ++cut) {
        RecorderWriter file;
        file.append(whole);
        file.truncate(cut);
        VideoArchive archive;
        ASSERT_NO_THROW(archive.openEventFile(folder.save(L"cut.dvt", file))) << "cut at " << cut;
        ASSERT_EQ(archive.slotCount(), 3) << "cut at " << cut;
        for (int slot = 0; slot < 3; ++slot) {
            EXPECT_FALSE(archive.restoreFrameJpeg(slot).empty()) << "cut at " << cut << " slot " << slot;
        }
    }
}

TEST_F(EventFileTest, OpeningReadsNoPayloadBytes) {
    writeFrames(eventHeader(0), 10);
    std::wstring path = save();
    RecordingFileSystem recording;
    VideoArchive archive;
    archive.openEventFile(path);
    ASSERT_EQ(archive.slotCount(), 10);
    // Record header, skip block, and per chunk its header and the 16 bytes ahead of it.
    EXPECT_EQ(recording.bytesRead[path], 32u + 16u + 11u * (64u + 16u));
    std::size_t beforeDecode = recording.bytesRead[path];
    EXPECT_FALSE(archive.restoreFrameJpeg(4).empty());
    EXPECT_EQ(recording.bytesRead[path] - beforeDecode, payload.size()) << "a frame is read when it is decoded";
}

TEST_F(EventFileTest, TheTemporarySoundFileGoesWithCloseAndFailedOpens) {
    writeFrames(eventHeader(0), 3);
    std::wstring good = save();
    RecorderWriter foreign(FirmwareCode{0x03, 0x13});
    foreign.header(eventHeader(0)).videoChunk(leadFrame());
    std::wstring refused = folder.save(L"foreign.dvt", foreign);
    RecorderWriter cut;
    cut.append(RecorderWriter::recordHeaderBytes(eventHeader(0)));
    std::wstring shortFile = folder.save(L"short.dvt", cut);

    RecordingFileSystem recording;
    {
        VideoArchive archive;
        archive.openEventFile(good);
        ASSERT_FALSE(archive.soundFileName().empty());
        EXPECT_TRUE(fileExists(archive.soundFileName()));
        archive.close();
        EXPECT_TRUE(archive.soundFileName().empty());
        EXPECT_TRUE(recording.tempFilesLeft().empty()) << "after close";

        EXPECT_THROW(archive.openEventFile(refused), VideoArchiveException);
        EXPECT_TRUE(recording.tempFilesLeft().empty()) << "after a refused firmware code";
        EXPECT_THROW(archive.openEventFile(shortFile), VideoArchiveException);
        EXPECT_TRUE(recording.tempFilesLeft().empty()) << "after a short header";

        archive.openEventFile(good);
        archive.openEventFile(good);
        EXPECT_EQ(recording.tempFilesLeft().size(), 1u) << "each open replaces the last sound file";
    }
    EXPECT_TRUE(recording.tempFilesLeft().empty()) << "after destruction";
    EXPECT_EQ(recording.tempFiles.size(), 5u);
}

TEST_F(EventFileTest, WithoutASoundFileTheRecordOpensAfterOneWarning) {
    writeFrames(eventHeader(0), 3);
    writer.soundChunk(kClockStart, std::vector<std::uint8_t>(100, 0x90));
    std::wstring path = save();
    std::vector<std::pair<std::wstring, std::wstring>> warnings;
    SoundWarning::install([&](const std::wstring& message, const std::wstring& caption) {
        warnings.emplace_back(message, caption);
    });
    RecordingFileSystem recording;
    recording.refuseSoundFile = true;
    {
        VideoArchive archive;
        archive.openEventFile(path);
        EXPECT_EQ(archive.slotCount(), 3);
        ASSERT_EQ(warnings.size(), 1u);
        EXPECT_EQ(warnings[0].first, L"音声データの復元に失敗しました");
        EXPECT_EQ(warnings[0].second, L"警告");
    }
    SoundWarning::install(nullptr);
    EXPECT_TRUE(recording.tempFilesLeft().empty()) << "the empty file the system made goes with close";
}

}  // namespace
