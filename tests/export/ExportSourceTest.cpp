// The viewer's export of what it has open: the same video as feeding the records straight
// into a writer (as scenova-cli does), unreadable chapters left out, and a working cancel.
#include "archive/ArchiveTestFiles.h"
#include "archive/TestRecordings.h"
#include "export/AviContents.h"
#include "export/AviRecordWriter.h"
#include "export/ExportSource.h"
#include "export/RecordSlots.h"

#include <gtest/gtest.h>

namespace {

class CountingProgress : public ExportProgress {
public:
    explicit CountingProgress(int stopAfter = -1) : stopAfter(stopAfter) {}
    void report(std::uint64_t done, std::uint64_t total) override {
        ++reports;
        EXPECT_LE(done, total);
        EXPECT_GE(done, last) << "progress never goes back";
        last = done;
    }
    bool cancelled() const override { return stopAfter >= 0 && reports >= stopAfter; }
    int reports = 0;
    std::uint64_t last = 0;

private:
    int stopAfter;
};

RecorderWriter realChapter(int slots, std::uint32_t seed) {
    RecorderWriter file;
    RecordHeaderFields header;
    header.kindCode = 0x19;
    file.header(header);
    file.videoChunk(FrameFields{});
    for (int slot = 0; slot < slots; ++slot) {
        FrameFields frame;
        frame.timeStamp = 5000 + 100u * static_cast<std::uint32_t>(slot);
        file.videoChunk(frame, RgbPicture::bands(32, 24, seed + static_cast<std::uint32_t>(slot)));
        file.soundChunk(frame.timeStamp, std::vector<std::uint8_t>(1102, static_cast<std::uint8_t>(seed)));
    }
    return file;
}

TEST(ExportSourceTest, AContinuousRecordIsItsReadableChaptersJoined) {
    ScratchFolder folder;
    ExportSource source;
    source.kind = ExportSource::Kind::Continuous;
    source.files = {folder.save(L"Video0000.dmv", realChapter(7, 10)), folder.file(L"Video0001.dmv"),
                    folder.save(L"Video0002.dmv", realChapter(5, 60))};
    // A chapter cut before its header ends.
    RecorderWriter cut = realChapter(3, 30);
    cut.truncate(20);
    folder.save(L"Video0001.dmv", cut);
    CountingProgress progress;
    std::wstring error;
    ASSERT_TRUE(writeSourceVideo(source, nullptr, folder.file(L"viewer.avi"), progress, error));
    EXPECT_GT(progress.reports, 12);
    EXPECT_EQ(progress.last, 3000u) << "ends at the whole";

    // The same chapters fed straight into a writer.
    AviRecordWriter writer(10, true);
    writer.create(folder.file(L"direct.avi"));
    for (std::size_t chapter : {0u, 2u}) {
        VideoArchive archive;
        archive.openChapterFile(source.files[chapter]);
        ASSERT_TRUE(feedRecord(archive, nullptr, {&writer}, {}, error));
    }
    ASSERT_TRUE(writer.finish(error));
    EXPECT_EQ(readFileBytes(folder.file(L"viewer.avi")), readFileBytes(folder.file(L"direct.avi")));
    EXPECT_EQ(readAviContents(readFileBytes(folder.file(L"viewer.avi"))).frames.size(), 12u);

    std::string csv;
    CountingProgress telemetryProgress;
    ASSERT_TRUE(writeSourceTelemetry(source, csv, telemetryProgress, error));
    EXPECT_NE(csv.find("\r\n11,1.100,"), std::string::npos);
}

TEST(ExportSourceTest, CancelStopsWithoutAMessage) {
    ScratchFolder folder;
    ExportSource source;
    source.kind = ExportSource::Kind::Continuous;
    source.files = {folder.save(L"Video0000.dmv", realChapter(30, 1))};
    CountingProgress progress(10);
    std::wstring error;
    EXPECT_FALSE(writeSourceVideo(source, nullptr, folder.file(L"out.avi"), progress, error));
    EXPECT_TRUE(error.empty());
    EXPECT_LT(progress.reports, 15) << "stops soon after being asked";
}

TEST(ExportSourceTest, AnUnreadableEventFileIsAFailureWithTheReadersMessage) {
    ScratchFolder folder;
    ExportSource source;
    source.kind = ExportSource::Kind::Event;
    source.files = {folder.file(L"Video.dvt")};
    CountingProgress progress;
    std::wstring error;
    EXPECT_FALSE(writeSourceVideo(source, nullptr, folder.file(L"out.avi"), progress, error));
    EXPECT_EQ(error, L"該当データを読み込めません。");
}

}  // namespace
