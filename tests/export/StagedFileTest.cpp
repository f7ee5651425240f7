// Outputs of the viewer's exports appear under the chosen name only when complete.
#include "archive/ArchiveTestFiles.h"
#include "export/PngEncoder.h"
#include "export/StagedFile.h"
#include "playback/decode/ImageDecoder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::vector<std::uint8_t> bytesOf(const std::string& text) { return std::vector<std::uint8_t>(text.begin(), text.end()); }

void writeText(const std::wstring& path, const std::string& text) {
    std::unique_ptr<File> file = FileSystem::real().open(path, FileMode::WriteBinary);
    ASSERT_TRUE(file);
    file->write(text.data(), text.size());
    file->close();
}

TEST(StagedFileTest, TheChosenNameHoldsTheOldFileOrTheWholeNewOne) {
    ScratchFolder folder;
    const std::wstring target = folder.file(L"drive.csv");
    writeText(target, "old");
    std::wstring error;
    {
        StagedFile abandoned(target);
        ASSERT_TRUE(abandoned.write("half", 4, error));
        EXPECT_EQ(readFileBytes(target), bytesOf("old")) << "nothing changes before the commit";
    }
    EXPECT_FALSE(fileExists(StagedFile(target).temporaryPath())) << "an abandoned file is removed";
    EXPECT_EQ(readFileBytes(target), bytesOf("old"));

    StagedFile staged(target);
    ASSERT_TRUE(staged.write("new content", 11, error));
    ASSERT_TRUE(staged.commit(error));
    EXPECT_EQ(readFileBytes(target), bytesOf("new content"));
    EXPECT_FALSE(fileExists(staged.temporaryPath()));
}

TEST(StagedFileTest, AFolderThatIsNotThereGivesTheSystemsReason) {
    ScratchFolder folder;
    const std::wstring target = folder.file(L"missing\\drive.csv");
    StagedFile staged(target);
    std::wstring error;
    EXPECT_FALSE(staged.write("x", 1, error));
    EXPECT_NE(error.find(target), std::wstring::npos);
    EXPECT_GT(error.size(), target.size() + 2) << "with the reason";
    EXPECT_FALSE(fileExists(target));
}

TEST(PngEncoderTest, AFrameComesBackPixelForPixel) {
    Image picture(40, 30);
    for (int i = 0; i < picture.byteSize(); ++i) picture.pixels()[i] = static_cast<std::uint8_t>(i % 4 == 3 ? 0 : i * 13);
    const std::vector<std::uint8_t> png = encodePng(picture);
    std::unique_ptr<Image> back = loadPng(png.data(), png.size());
    ASSERT_NE(back, nullptr);
    ASSERT_EQ(back->width(), 40);
    ASSERT_EQ(back->height(), 30);
    for (int i = 0; i < picture.byteSize(); i += 4) {
        // Blue, green and red; the fourth byte is not in the file.
        ASSERT_EQ(back->pixels()[i], picture.pixels()[i]) << "byte " << i;
        ASSERT_EQ(back->pixels()[i + 1], picture.pixels()[i + 1]) << "byte " << i + 1;
        ASSERT_EQ(back->pixels()[i + 2], picture.pixels()[i + 2]) << "byte " << i + 2;
    }
}

}  // namespace
