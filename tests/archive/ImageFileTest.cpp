// Image files and image folders, reopening images, and decoding frames.
#include "ArchiveTestFiles.h"
#include "ArchiveTestRecords.h"

#include "archive/RecordKind.h"
#include "archive/VideoArchive.h"
#include "base/Exception.h"
#include "playback/decode/Image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace {

const std::wstring kUnreadable = L"該当データを読み込めません。";
const std::wstring kImageMissing = L"画像が移動または削除されました。";

class ImageFileTest : public ::testing::Test {
protected:
    ScratchFolder folder;

    // An image file: one video chunk, no record header.
    std::wstring saveImage(const std::wstring& name, const FrameFields& fields, const RgbPicture& picture) {
        RecorderWriter file;
        file.videoChunk(fields, picture);
        return folder.save(name, file);
    }

    static FrameFields dated(int second) {
        FrameFields fields;
        fields.dateTime = dateAfter(second);
        return fields;
    }
};

// Blue, green, red of the picture's centre pixel.
void expectCentreColour(const Image& image, int red, int green, int blue, const std::string& name) {
    const std::uint8_t* pixel = image.pixels() + (static_cast<std::size_t>(image.height() / 2) * image.width() +
                                                  image.width() / 2) * 4;
    EXPECT_LE(std::abs(pixel[0] - blue), 8) << name;
    EXPECT_LE(std::abs(pixel[1] - green), 8) << name;
    EXPECT_LE(std::abs(pixel[2] - red), 8) << name;
}

TEST_F(ImageFileTest, OneImageFileOpensIntoSlotZero) {
    FrameFields fields = dated(5);
    fields.gFirst = 1.25;
    fields.gSecondWord = 0x8500;
    fields.speed = 42;
    fields.protect = true;
    fields.auxiliaryWord = 0x0077;
    std::wstring path = saveImage(L"IMG00001.dpc", fields, RgbPicture::solid(32, 24, 250, 10, 10));
    VideoArchive archive;
    archive.openImageFile(path);
    EXPECT_EQ(archive.slotCount(), 1);
    EXPECT_EQ(archive.eventIndex(), -1);
    EXPECT_TRUE(archive.isProtected());
    const RecordInformation& information = archive.recordInformation();
    EXPECT_EQ(information.recordKind, RecordKind::Image);
    EXPECT_NEAR(information.eventGFirst, 1.25, 1e-9);
    EXPECT_NEAR(information.eventGSecond, -0.5, 1e-9);
    EXPECT_EQ(information.eventSpeed, 42);
    EXPECT_EQ(information.auxiliaryByte, 0x77);
    EXPECT_EQ(information.eventTimeStamp, 0u);
    EXPECT_NE(information.dateTime, 0);
    ASSERT_NE(archive.frameAt(0), nullptr);
    EXPECT_EQ(archive.frameAt(0)->sourcePath, path);
    EXPECT_EQ(archive.frameAt(0)->payloadOffset, 64);

    std::unique_ptr<Image> image = archive.decodeFrame(0);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width(), 32);
    EXPECT_EQ(image->height(), 24);
    expectCentreColour(*image, 250, 10, 10, "solid red");
}

TEST_F(ImageFileTest, UnreadableImageFilesAreRefusedWithTheirMessages) {
    VideoArchive archive;
    try {
        archive.openImageFile(folder.file(L"gone.dpc"));
        ADD_FAILURE() << "a missing file opened";
    } catch (const VideoArchiveException& failure) {
        EXPECT_EQ(failure.message(), kImageMissing);
    }
    try {
        archive.openImageFile(std::wstring(280, L'a') + L".dpc");
        ADD_FAILURE() << "an overlong path opened";
    } catch (const VideoArchiveException& failure) {
        EXPECT_EQ(failure.message(), kImageMissing);
    }

    RecorderWriter shortFile;
    shortFile.videoChunk(dated(0));
    shortFile.truncate(70);
    std::wstring path = folder.save(L"short.dpc", shortFile);
    try {
        archive.openImageFile(path);
        ADD_FAILURE() << "a short file opened";
    } catch (const VideoArchiveException&) {
        ADD_FAILURE() << "reading failures reach the caller as a plain Exception";
    } catch (const Exception& failure) {
        EXPECT_EQ(failure.message(), kUnreadable);
    }
    EXPECT_FALSE(archive.hasOpenFile());
}

TEST_F(ImageFileTest, DecodeFrameGivesNothingForBadPayloads) {
    RecorderWriter writer;
    std::vector<std::uint8_t> good = writer.framePayload(RgbPicture::solid(16, 16, 0, 0, 255));
    std::vector<std::uint8_t> wrongCode = good;
    wrongCode[1] = 0x13;
    std::vector<std::uint8_t> wrongSignature = good;
    wrongSignature[5] ^= 0x20;
    std::vector<std::uint8_t> brokenJpeg = good;
    std::fill(brokenJpeg.begin() + 16, brokenJpeg.end(), 0x00);
    struct Case {
        const char* name;
        std::vector<std::uint8_t> payload;
        std::optional<std::uint32_t> declaredSize;
        bool decodes;
    } cases[] = {
        {"good", good, std::nullopt, true},
        {"16 bytes", std::vector<std::uint8_t>(good.begin(), good.begin() + 16), std::nullopt, false},
        {"over 1 MiB declared", good, 1024 * 1024 + 1, false},
        {"declared beyond the end", good, static_cast<std::uint32_t>(good.size() + 10), false},
        {"another firmware code", wrongCode, std::nullopt, false},
        {"another signature", wrongSignature, std::nullopt, false},
        {"undecodable JPEG", brokenJpeg, std::nullopt, false},
    };
    for (const Case& c : cases) {
        ChunkFields fields;
        fields.frame = dated(0);
        fields.payloadSize = c.declaredSize;
        RecorderWriter file;
        file.chunk(fields, c.payload);
        VideoArchive archive;
        archive.openImageFile(folder.save(L"case.dpc", file));
        EXPECT_EQ(archive.decodeFrame(0) != nullptr, c.decodes) << c.name;
        if (std::string(c.name) != "undecodable JPEG") {
            EXPECT_EQ(!archive.restoreFrameJpeg(0).empty(), c.decodes) << c.name;
        }
        EXPECT_EQ(archive.decodeFrame(1), nullptr) << c.name << ": beyond the slot count";
        EXPECT_EQ(archive.decodeFrame(-1), nullptr) << c.name;
    }
}

TEST_F(ImageFileTest, TheRestoredJpegStartsWithTheRecordersHuffmanSegment) {
    std::wstring path = saveImage(L"a.dpc", dated(0), RgbPicture::bands(40, 30, 3));
    VideoArchive archive;
    archive.openImageFile(path);
    std::vector<std::uint8_t> jpeg = archive.restoreFrameJpeg(0);
    const std::vector<std::uint8_t> prefix = {0xFF, 0xD8, 0xFF, 0xC4, 0x01, 0xA2, 0x00, 0x00,
                                              0x01, 0x05, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01};
    ASSERT_GT(jpeg.size(), prefix.size());
    EXPECT_TRUE(std::equal(prefix.begin(), prefix.end(), jpeg.begin()));
    EXPECT_EQ(jpeg[jpeg.size() - 2], 0xFF);
    EXPECT_EQ(jpeg[jpeg.size() - 1], 0xD9);
}

TEST_F(ImageFileTest, AFolderOpensSortedByDateTimeWithUnreadableFilesLeftOut) {
    struct File {
        const wchar_t* name;
        int second;      // -1: a file too short to read
        int red;
    } files[] = {
        {L"A.dpc", 30, 10}, {L"B.dpc", 10, 20}, {L"C.dpc", -1, 0}, {L"D.dpc", 20, 30},
        {L"E.dpc", 10, 40}, {L"F.dpcx", 5, 50}, {L"G.DPC", 0, 60},
    };
    for (const File& f : files) {
        if (f.second < 0) {
            RecorderWriter broken;
            broken.append(std::vector<std::uint8_t>(30, 0x55));
            folder.save(f.name, broken);
        } else {
            saveImage(f.name, dated(f.second), RgbPicture::solid(16, 16, static_cast<std::uint8_t>(f.red), 0, 0));
        }
    }
    VideoArchive archive;
    EXPECT_FALSE(archive.openImageFolder(folder.path()));
    EXPECT_FALSE(archive.hasOpenFile());
    // Wine's search returns names in its own order; equal times keep that order.
    const int expectedReds[] = {60, -1, -1, 30, 10};
    ASSERT_EQ(archive.slotCount(), 5);
    for (int slot = 1; slot < 5; ++slot) {
        EXPECT_LE(archive.frameAt(slot - 1)->dateTime, archive.frameAt(slot)->dateTime) << "slot " << slot;
    }
    for (int slot : {0, 3, 4}) {
        archive.reopenImage(slot);
        std::unique_ptr<Image> image = archive.decodeFrame(slot);
        ASSERT_NE(image, nullptr) << "slot " << slot;
        expectCentreColour(*image, expectedReds[slot], 0, 0, "slot " + std::to_string(slot));
    }
    archive.reopenImage(1);
    std::unique_ptr<Image> image = archive.decodeFrame(1);
    ASSERT_NE(image, nullptr);
    const std::uint8_t red = image->pixels()[(8 * 16 + 8) * 4 + 2];
    EXPECT_TRUE(std::abs(red - 20) <= 8 || std::abs(red - 40) <= 8) << "B or E, both dated 10 s";
}

TEST_F(ImageFileTest, ReopenImageRefusesWhatItCannotOpen) {
    std::wstring path = saveImage(L"A.dpc", dated(0), RgbPicture());
    VideoArchive archive;
    archive.openImageFolder(folder.path());
    ASSERT_EQ(archive.slotCount(), 1);
    for (int index : {-1, 1, 900}) {
        try {
            archive.reopenImage(index);
            ADD_FAILURE() << "index " << index;
        } catch (const VideoArchiveException& failure) {
            EXPECT_EQ(failure.message(), kUnreadable) << "index " << index;
        }
    }
    std::filesystem::remove(path);
    EXPECT_THROW(archive.reopenImage(0), VideoArchiveException);
    EXPECT_FALSE(archive.hasOpenFile());
}

TEST_F(ImageFileTest, AFolderWithoutImagesCannotBeSearched) {
    VideoArchive archive;
    EXPECT_THROW(archive.openImageFolder(folder.path()), VideoArchiveException);
    EXPECT_THROW(archive.openImageFolder(folder.file(L"absent")), VideoArchiveException);
    EXPECT_THROW(archive.openImageFolder(std::wstring(255, L'f')), VideoArchiveException);
}

TEST_F(ImageFileTest, SixHundredImagesAtMost) {
    RecorderWriter writer;
    std::vector<std::uint8_t> payload = writer.framePayload(RgbPicture::solid(8, 8, 0, 0, 0));
    for (int i = 0; i < 601; ++i) {
        RecorderWriter file;
        file.videoChunkWithPayload(dated(i % 60), payload);
        folder.save(L"IMG" + std::to_wstring(10000 + i) + L".dpc", file);
    }
    VideoArchive archive;
    EXPECT_TRUE(archive.openImageFolder(folder.path()));
    EXPECT_EQ(archive.slotCount(), 600);

    std::filesystem::remove(folder.file(L"IMG10600.dpc"));
    EXPECT_FALSE(archive.openImageFolder(folder.path()));
    EXPECT_EQ(archive.slotCount(), 600);
}

}  // namespace
