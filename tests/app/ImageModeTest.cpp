// The main window in image mode: the thumbnail strip takes the bottom row, the first record
// by date-time is shown when the strip is done and a chosen one after it, a folder of more
// than 600 records warns, a record that cannot be shown warns without leaving image mode,
// and clearing the display empties and hides the strip.
#include "app/MainWindow.h"
#include "playback/ImageListView.h"
#include "playback/Thumbnail.h"
#include "playback/VideoPlayer.h"
#include "support/MainWindowFixture.h"
#include "support/MessageBoxRecorder.h"
#include "tools/writer/RecorderWriter.h"

#include <gtest/gtest.h>

namespace {

constexpr DWORD kDeadlineMs = 60000;

// A small image record taken at 12:00 plus the given seconds.
bool writeImage(const std::wstring& path, int second) {
    FrameFields fields;
    fields.timeStamp = 1000;
    fields.dateTime = RecorderDateTime{2024, 5, 1, 12, second / 60, second % 60};
    RecorderWriter file;
    file.videoChunk(fields, RgbPicture::solid(64, 48, 200, 40, 40));
    return file.save(path);
}

// Shown as far as the window itself goes (the main window is not shown in tests).
bool showsItself(HWND window) {
    return (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

// The file the player shows, or empty.
std::wstring shownFile(const MainWindow& window) {
    const IVideoInfo* info = window.videoPlayer()->frameInfo();
    const FrameRecord* record = info != nullptr ? info->frameAt(0) : nullptr;
    return record != nullptr ? record->sourcePath : std::wstring();
}

class ImageModeTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        strip = window->thumbnailStrip();
    }
    // A folder of count records whose names run against their dates.
    std::wstring imageFolder(int count) {
        std::wstring folder = tree.folder(L"IMAGE\\IMG00001");
        for (int i = 0; i < count; ++i) {
            wchar_t name[32];
            _snwprintf(name, 31, L"\\IMG%05d.dpc", i + 1);
            EXPECT_TRUE(writeImage(folder + name, count - i)) << "writing record " << i;
        }
        return folder;
    }
    bool waitUntilDone() {
        return pumpMessagesUntil([&] { return strip->isDone(); }, kDeadlineMs);
    }

    Thumbnail* strip = nullptr;
};

}  // namespace

TEST_F(ImageModeTest, TheStripTakesTheBottomRowAndShowsTheChosenRecord) {
    MessageBoxRecorder boxes;
    std::wstring folder = imageFolder(3);
    window->loadFolder(folder);
    ASSERT_EQ(window->displayMode(), 1);
    RECT client;
    GetClientRect(handle, &client);
    EXPECT_TRUE(showsItself(strip->handle()));
    RECT place = placeOf(strip->handle());
    EXPECT_EQ(place.left, 0);
    EXPECT_EQ(place.top, client.bottom - 90);
    EXPECT_EQ(place.right, client.right);
    EXPECT_EQ(place.bottom, client.bottom);
    EXPECT_EQ(window->layout().videoPlayer.height, client.bottom - 90 - 92);

    ASSERT_TRUE(waitUntilDone());
    EXPECT_TRUE(boxes.boxes().empty());
    // IMG00003 is the earliest record; the strip is done, so the folder counts as loaded.
    EXPECT_EQ(shownFile(*window), folder + L"\\IMG00003.dpc");
    EXPECT_EQ(captionOf(handle), L"画像記録表示モード " + folder + L" - SCENOVA");

    // A later thumbnail, chosen the way a click chooses it.
    strip->listView().selectItem(2);
    EXPECT_EQ(shownFile(*window), folder + L"\\IMG00001.dpc");
    EXPECT_EQ(strip->currentIndex(), 2);
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(ImageModeTest, MoreThanSixHundredRecordsWarnAndShowTheFirstSixHundred) {
    MessageBoxRecorder boxes;
    window->loadFolder(imageFolder(601));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, L"画像は600枚までしか表示できません。");
    EXPECT_EQ(boxes.boxes()[0].caption, L"警告");
    EXPECT_EQ(boxes.boxes()[0].style, UINT(MB_ICONWARNING));
    EXPECT_EQ(window->displayMode(), 1) << "the folder stays open";
    EXPECT_EQ(strip->totalCount(), 600);
}

TEST_F(ImageModeTest, ARecordThatCannotBeShownWarnsAndKeepsImageMode) {
    MessageBoxRecorder boxes;
    std::wstring folder = imageFolder(2);
    window->loadFolder(folder);
    ASSERT_TRUE(waitUntilDone());
    ASSERT_TRUE(boxes.boxes().empty());

    window->showImage(5);  // past the strip's records: the player has no file to open
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_FALSE(boxes.boxes()[0].text.empty());
    EXPECT_EQ(boxes.boxes()[0].caption, L"警告");
    EXPECT_EQ(window->displayMode(), 1);
    EXPECT_EQ(strip->imageCount(), 2);
    EXPECT_EQ(captionOf(handle), L"画像記録表示モード " + folder + L" - SCENOVA");
}

TEST_F(ImageModeTest, ClearingTheDisplayEmptiesAndHidesTheStrip) {
    MessageBoxRecorder boxes;
    window->loadFolder(imageFolder(2));
    ASSERT_TRUE(waitUntilDone());
    window->clearDisplay();
    EXPECT_EQ(window->displayMode(), 0);
    EXPECT_FALSE(showsItself(strip->handle()));
    EXPECT_EQ(strip->imageCount(), 0);
    EXPECT_FALSE(strip->isDone());
    EXPECT_FALSE(window->isDataLoaded());
    EXPECT_EQ(captionOf(handle), L"SCENOVA");
    EXPECT_TRUE(boxes.boxes().empty());
}
