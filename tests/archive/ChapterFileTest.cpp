// Continuous chapter files: the 10-per-second grid, the chapter time table, and counting a
// chapter's slots without opening it.
#include "ArchiveTestFiles.h"
#include "ArchiveTestRecords.h"

#include "archive/RecordKind.h"
#include "archive/VideoArchive.h"
#include "base/Exception.h"

#include <gtest/gtest.h>

namespace {

RecordHeaderFields chapterHeader() {
    RecordHeaderFields header;
    header.kindCode = 0x19;
    header.dateTime = dateAfter(0);
    return header;
}

class ChapterFileTest : public ::testing::Test {
protected:
    ScratchFolder folder;
    RecorderWriter writer;
    std::vector<std::uint8_t> payload = writer.framePayload(RgbPicture::solid(16, 16, 0, 200, 0));

    std::wstring saveChapter(const std::wstring& name, const std::vector<int>& slots, int speedStep = 0) {
        RecorderWriter file;
        file.header(chapterHeader()).videoChunkWithPayload(leadFrame(), payload);
        for (int slot : slots) {
            file.videoChunkWithPayload(chapterFrame(slot, 30 + slot * speedStep), payload);
            file.soundChunk(chapterFrame(slot).timeStamp, std::vector<std::uint8_t>(1102, 0x70));
        }
        return folder.save(name, file);
    }
};

TEST_F(ChapterFileTest, TenSlotsPerSecondAndNoEvent) {
    std::wstring path = saveChapter(L"Video0001.dmv", {0, 1, 2, 5, 9});
    VideoArchive archive;
    archive.openChapterFile(path);
    EXPECT_EQ(archive.recordInformation().recordKind, RecordKind::Continuous);
    EXPECT_EQ(archive.eventIndex(), -1);
    ASSERT_EQ(archive.slotCount(), 10);
    EXPECT_EQ(archive.frameAt(5)->timeStamp, chapterFrame(5).timeStamp);
    EXPECT_EQ(archive.frameAt(4)->timeStamp, chapterFrame(2).timeStamp) << "gap copy";
    EXPECT_NE(archive.firstTime(), 0);
    EXPECT_EQ(archive.recordTime(), archive.firstTime());
}

TEST_F(ChapterFileTest, TimeRowsGoToTheChapterIndex) {
    std::wstring three = saveChapter(L"Video0003.dmv", {0, 1, 2, 3}, 10);
    std::wstring two = saveChapter(L"Video0002.dmv", {0, 1});
    VideoArchive archive;
    archive.setChapterIndex(3);
    archive.openChapterFile(three);
    for (int row = 0; row < 4; ++row) {
        ChapterRow r = archive.chapterRow(3, row);
        EXPECT_EQ(r.timeStamp, static_cast<std::int32_t>(chapterFrame(row).timeStamp)) << "row " << row;
        EXPECT_EQ(r.slotIndex, row) << "row " << row;
        EXPECT_EQ(r.speed, 30 + row * 10) << "row " << row;
    }
    EXPECT_EQ(archive.chapterRow(3, 4).timeStamp, 0) << "no row";
    EXPECT_EQ(archive.chapterRow(2, 0).timeStamp, 0) << "other chapters untouched";

    // A shorter chapter opened at the same index keeps the rows it does not write.
    archive.openChapterFile(two);
    EXPECT_EQ(archive.chapterRow(3, 1).speed, 30);
    EXPECT_EQ(archive.chapterRow(3, 3).speed, 60);
    EXPECT_EQ(archive.chapterIndex(), 3);

    archive.clearChapterTimeTable();
    EXPECT_EQ(archive.chapterIndex(), 0);
    EXPECT_EQ(archive.chapterRow(3, 0).timeStamp, 0);
    EXPECT_EQ(archive.chapterRow(3, 3).timeStamp, 0);
}

TEST_F(ChapterFileTest, RowsOutsideTheTableAreZero) {
    VideoArchive archive;
    for (auto [chapter, row] : {std::pair{-1, 0}, {600, 0}, {0, -1}, {0, 1000}}) {
        ChapterRow r = archive.chapterRow(chapter, row);
        EXPECT_EQ(r.timeStamp, 0) << chapter << "/" << row;
        EXPECT_EQ(r.slotIndex, 0) << chapter << "/" << row;
    }
    std::wstring path = saveChapter(L"Video0001.dmv", {0, 1});
    archive.setChapterIndex(700);
    EXPECT_NO_THROW(archive.openChapterFile(path)) << "an index outside the table writes no rows";
}

TEST_F(ChapterFileTest, CountedSlotsMatchTheSlotsOfTheOpenedChapter) {
    struct Case {
        const char* name;
        std::vector<int> slots;
        int expected;
    } cases[] = {
        {"one frame", {0}, 1},
        {"sparse", {0, 3, 250}, 251},
        {"full minute", {0, 100, 599}, 600},
        {"beyond the grid", {0, 899, 950}, 900},
    };
    for (const Case& c : cases) {
        std::wstring path = saveChapter(L"Video0001.dmv", c.slots);
        EXPECT_EQ(VideoArchive::countChapterSlots(path), c.expected) << c.name;
        VideoArchive archive;
        archive.openChapterFile(path);
        EXPECT_EQ(archive.slotCount(), c.expected) << c.name;
    }
}

TEST_F(ChapterFileTest, CountingNeedsNoFirmwareCodeButAReadableHeader) {
    RecorderWriter foreign(FirmwareCode{0x09, 0x09});
    foreign.header(chapterHeader()).videoChunk(leadFrame());
    foreign.videoChunk(chapterFrame(0)).videoChunk(chapterFrame(4));
    EXPECT_EQ(VideoArchive::countChapterSlots(folder.save(L"Video0001.dmv", foreign)), 5);

    RecorderWriter empty;
    empty.header(chapterHeader());
    EXPECT_EQ(VideoArchive::countChapterSlots(folder.save(L"Video0002.dmv", empty)), 0);

    RecorderWriter cut;
    cut.append(RecorderWriter::recordHeaderBytes(chapterHeader()));
    EXPECT_THROW(VideoArchive::countChapterSlots(folder.save(L"Video0003.dmv", cut)), VideoArchiveException);
    EXPECT_THROW(VideoArchive::countChapterSlots(folder.file(L"Video0004.dmv")), VideoArchiveException);
}

}  // namespace
