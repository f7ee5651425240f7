// A temporary drive that fills up while the sound is written: the record opens without
// sound and with the warning, as when the sound file cannot be made at all.
#include "ArchiveTestFiles.h"
#include "ArchiveTestRecords.h"

#include "archive/SoundWarning.h"
#include "archive/VideoArchive.h"
#include "base/StringTable.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

constexpr std::size_t kWavHeader = 44;
// Two chunks 500 ms apart with 4000 samples each: 5512 samples, then 4000.
constexpr std::size_t kSoundBytes = 9512;

TEST(SoundFileFullDrive, RecordOpensWithoutSoundAndWarns) {
    const struct {
        const char* name;
        std::size_t room;
        bool closeFails;
    } cases[] = {
        {"the samples do not fit", 3000, false},
        {"only the finished header does not fit", kWavHeader + kSoundBytes, false},
        {"the close cannot write what was buffered", SIZE_MAX, true},
    };
    ScratchFolder folder;
    RecorderWriter file;
    file.header(eventHeader(0)).videoChunk(leadFrame());
    file.soundChunk(kClockStart + 1000, std::vector<std::uint8_t>(4000, 0x90));
    file.soundChunk(kClockStart + 1500, std::vector<std::uint8_t>(4000, 0x70));
    file.videoChunk(eventFrame(0)).videoChunk(eventFrame(1));
    const std::wstring path = folder.save(L"Video.dvt", file);

    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::pair<std::wstring, std::wstring>> warnings;
        SoundWarning::install([&](const std::wstring& message, const std::wstring& caption) {
            warnings.emplace_back(message, caption);
        });
        RecordingFileSystem recording;
        recording.soundFileRoom = c.room;
        recording.soundFileCloseFails = c.closeFails;
        {
            VideoArchive archive;
            archive.openEventFile(path);
            EXPECT_EQ(archive.slotCount(), 2) << "the pictures open all the same";
            EXPECT_TRUE(archive.soundFileName().empty()) << "a cut sound file is no sound to play";
        }
        SoundWarning::install(nullptr);
        ASSERT_EQ(warnings.size(), 1u);
        EXPECT_EQ(warnings[0].first, loadString(5501));
        EXPECT_EQ(warnings[0].second, loadString(5005));
        EXPECT_TRUE(recording.tempFilesLeft().empty());
    }
}

}  // namespace
