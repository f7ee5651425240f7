// The thumbnail strip of image mode and its list view: pictures in date-time order in one
// row, captions, the stand-in for a picture that does not decode, the frame of the chosen
// item, the four buttons, late answers of the loader, the key and scroll rules, and a
// folder that goes away while the strip fills.
#include "playback/IThumbnailHost.h"
#include "playback/ImageListView.h"
#include "playback/Messages.h"
#include "playback/Thumbnail.h"
#include "tools/writer/RecorderWriter.h"
#include "support/MessageBoxRecorder.h"
#include "support/MessagePump.h"
#include "support/PaintCapture.h"
#include "support/PlayerRecords.h"
#include "base/Exception.h"
#include "ui/ImageButton.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

namespace {

constexpr DWORD kDeadlineMs = 30000;
const std::wstring kUnknownCaption = L"----/--/-- --:--:--";

struct RecordingHost : IThumbnailHost {
    std::vector<int> shown;
    int clears = 0;
    Thumbnail* strip = nullptr;
    void showImage(int index) override { shown.push_back(index); }
    void clearDisplay() override {
        ++clears;
        if (strip != nullptr) strip->reset();
    }
};

// One image record: a single frame of one colour taken at the given time.
bool writeImage(const std::wstring& path, RecorderDateTime taken, std::uint8_t red, std::uint8_t green,
                std::uint8_t blue) {
    FrameFields fields;
    fields.timeStamp = 1000;
    fields.dateTime = taken;
    RecorderWriter file;
    file.videoChunk(fields, RgbPicture::solid(64, 48, red, green, blue));
    return file.save(path);
}

RecorderDateTime at(int second) {
    return RecorderDateTime{2024, 5, 1, 12, 0, second};
}

// An image record whose frame carries the recorder's tag but no JPEG after it.
bool writeUndecodableImage(const std::wstring& path, RecorderDateTime taken) {
    FrameFields fields;
    fields.timeStamp = 1000;
    fields.dateTime = taken;
    RecorderWriter file;
    std::vector<std::uint8_t> payload = file.framePayload(RgbPicture::solid(64, 48, 0, 0, 0));
    std::fill(payload.begin() + 16, payload.end(), std::uint8_t{0x11});
    file.videoChunkWithPayload(fields, payload);
    return file.save(path);
}

std::wstring captionOf(const ImageListView& list, int item) {
    wchar_t text[64] = {};
    ListView_GetItemText(list.handle(), item, 0, text, 64);
    return text;
}

// The picture the image list holds for item index.
CapturedPixels thumbnailPixels(const ImageListView& list, int index) {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, ImageListView::kThumbnailWidth, ImageListView::kThumbnailHeight);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    ImageList_Draw(list.imageList(), index, memory, 0, 0, ILD_NORMAL);
    SelectObject(memory, previous);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    CapturedPixels pixels = bitmapPixels(bitmap);
    DeleteObject(bitmap);
    return pixels;
}

// The pixel (x, y from the top) of a skin picture, as 0x00RRGGBB.
std::uint32_t skinPixel(int pictureId, int x, int y) {
    std::unique_ptr<Image> skin = skinPicture(pictureId);
    const Image& image = *skin;
    const std::uint8_t* p = image.pixels() + (static_cast<std::size_t>(image.height() - 1 - y) * image.width() + x) * 4;
    return (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
}

// A JPEG of one colour comes back within a few steps of it.
bool closeTo(std::uint32_t pixel, std::uint32_t rgb) {
    for (int shift = 0; shift < 24; shift += 8) {
        int a = (pixel >> shift) & 0xFF;
        int b = (rgb >> shift) & 0xFF;
        if (a - b > 6 || b - a > 6) return false;
    }
    return true;
}

class ThumbnailTest : public ::testing::Test {
protected:
    // Showing a top-level window takes seconds under a bare X server: one serves all tests.
    static void SetUpTestSuite() { owner = new HostWindow(0, 0, kStripWidth, 200); }
    static void TearDownTestSuite() { delete owner; }

    void SetUp() override {
        strip = new Thumbnail(owner->handle(), host);
        host.strip = strip;
        MoveWindow(strip->handle(), 0, 0, kStripWidth, 90, TRUE);
    }
    void TearDown() override {
        if (IsWindow(strip->handle())) DestroyWindow(strip->handle());
    }

    // Opens the folder and waits until the strip is done.
    void openAndWait(const std::wstring& folder) {
        strip->openFolder(folder);
        ASSERT_TRUE(pumpMessagesUntil([&] { return strip->isDone(); }, kDeadlineMs)) << "the strip never got done";
    }
    void click(Thumbnail::Button which) { strip->onClick(&strip->button(which)); }
    // Three records whose names run against their dates: red, green and blue by date.
    std::wstring threeRecords() {
        std::wstring folder = scratch.subfolder(L"IMG00001");
        EXPECT_TRUE(writeImage(folder + L"\\IMG00001.dpc", at(3), 40, 40, 200));
        EXPECT_TRUE(writeImage(folder + L"\\IMG00002.dpc", at(1), 200, 40, 40));
        EXPECT_TRUE(writeImage(folder + L"\\IMG00003.dpc", at(2), 40, 200, 40));
        return folder;
    }
    // Whether the picture of item index wears the selection frame.
    bool framed(int index) const {
        return thumbnailPixels(strip->listView(), index).at(0, 0) == skinPixel(ImageListView::kFramePictureId, 0, 0);
    }
    bool enabled(Thumbnail::Button which) const { return IsWindowEnabled(strip->button(which).handle()) != FALSE; }

    static constexpr int kStripWidth = 1024;
    static HostWindow* owner;
    RecordingHost host;
    Thumbnail* strip = nullptr;
    ScratchFolder scratch;
};

HostWindow* ThumbnailTest::owner = nullptr;

}  // namespace

TEST_F(ThumbnailTest, RecordsStandInDateOrderAndTheFirstIsFramedAndShown) {
    std::wstring folder = threeRecords();
    EXPECT_FALSE(strip->openFolder(folder)) << "three records are not more than the strip takes";
    EXPECT_FALSE(enabled(Thumbnail::FirstButton)) << "the buttons wait for the last thumbnail";
    EXPECT_FALSE(enabled(Thumbnail::LastButton));
    ASSERT_TRUE(pumpMessagesUntil([&] { return strip->isDone(); }, kDeadlineMs));

    const ImageListView& list = strip->listView();
    ASSERT_EQ(strip->imageCount(), 3);
    int pitch = list.pitch();
    ASSERT_GT(pitch, ImageListView::kThumbnailWidth);
    const struct {
        const wchar_t* caption;
        std::uint32_t colour;
        const wchar_t* file;
    } expected[] = {
        {L"2024/05/01 12:00:01", 0xC82828, L"IMG00002.dpc"},
        {L"2024/05/01 12:00:02", 0x28C828, L"IMG00003.dpc"},
        {L"2024/05/01 12:00:03", 0x2828C8, L"IMG00001.dpc"},
    };
    for (int i = 0; i < 3; ++i) {
        RECT box = {};
        ListView_GetItemRect(list.handle(), i, &box, LVIR_BOUNDS);
        EXPECT_EQ(box.left, i * pitch) << "item " << i;
        EXPECT_EQ(box.top, 0) << "item " << i << ": one row";
        EXPECT_EQ(captionOf(list, i), expected[i].caption) << "item " << i;
        EXPECT_TRUE(closeTo(thumbnailPixels(list, i).at(35, 26), expected[i].colour)) << "item " << i;
        EXPECT_EQ(strip->imagePath(i), folder + L"\\" + expected[i].file) << "item " << i;
        EXPECT_EQ(framed(i), i == 0) << "item " << i;
    }
    EXPECT_EQ(host.shown, std::vector<int>{0});
    EXPECT_FALSE(enabled(Thumbnail::FirstButton));
    EXPECT_FALSE(enabled(Thumbnail::PreviousButton));
    EXPECT_TRUE(enabled(Thumbnail::NextButton));
    EXPECT_TRUE(enabled(Thumbnail::LastButton));
}

TEST_F(ThumbnailTest, ButtonsMoveTheChoiceAndStopAtTheEnds) {
    openAndWait(threeRecords());
    const struct {
        const char* name;
        Thumbnail::Button button;
        int current;
        bool shows;  // a new record goes to the player
        bool backEnabled, forwardEnabled;
    } steps[] = {
        {"next from the first", Thumbnail::NextButton, 1, true, true, true},
        {"last", Thumbnail::LastButton, 2, true, true, false},
        {"next on the last", Thumbnail::NextButton, 2, false, true, false},
        {"previous", Thumbnail::PreviousButton, 1, true, true, true},
        {"first", Thumbnail::FirstButton, 0, true, false, true},
        {"previous on the first", Thumbnail::PreviousButton, 0, false, false, true},
    };
    for (const auto& step : steps) {
        std::size_t shownBefore = host.shown.size();
        click(step.button);
        pumpMessagesFor(50);
        EXPECT_EQ(strip->currentIndex(), step.current) << step.name;
        ASSERT_EQ(host.shown.size(), shownBefore + (step.shows ? 1 : 0)) << step.name;
        if (step.shows) {
            EXPECT_EQ(host.shown.back(), step.current) << step.name;
        }
        for (int i = 0; i < 3; ++i) EXPECT_EQ(framed(i), i == step.current) << step.name << ", item " << i;
        EXPECT_EQ(enabled(Thumbnail::FirstButton), step.backEnabled) << step.name;
        EXPECT_EQ(enabled(Thumbnail::PreviousButton), step.backEnabled) << step.name;
        EXPECT_EQ(enabled(Thumbnail::NextButton), step.forwardEnabled) << step.name;
        EXPECT_EQ(enabled(Thumbnail::LastButton), step.forwardEnabled) << step.name;
    }
}

TEST_F(ThumbnailTest, TheLastButtonWithASingleRecordDoesNothing) {
    std::wstring folder = scratch.subfolder(L"single");
    ASSERT_TRUE(writeImage(folder + L"\\IMG00001.dpc", at(1), 200, 40, 40));
    openAndWait(folder);
    click(Thumbnail::LastButton);
    pumpMessagesFor(50);
    EXPECT_EQ(strip->currentIndex(), 0);
    EXPECT_EQ(host.shown, std::vector<int>{0});
    for (Thumbnail::Button which : {Thumbnail::FirstButton, Thumbnail::PreviousButton, Thumbnail::NextButton,
                                    Thumbnail::LastButton})
        EXPECT_FALSE(enabled(which)) << "button " << which;
}

TEST_F(ThumbnailTest, UndecodableAndUndatedRecordsKeepTheirPlace) {
    std::wstring folder = scratch.subfolder(L"odd");
    ASSERT_TRUE(writeImage(folder + L"\\IMG00001.dpc", at(1), 200, 40, 40));
    ASSERT_TRUE(writeUndecodableImage(folder + L"\\IMG00002.dpc", at(2)));
    // 30 February: the recorder's clock was wrong, the record has no date-time (and sorts first).
    ASSERT_TRUE(writeImage(folder + L"\\IMG00003.dpc", RecorderDateTime{2024, 2, 30, 12, 0, 0}, 40, 200, 40));
    openAndWait(folder);

    const ImageListView& list = strip->listView();
    ASSERT_EQ(strip->imageCount(), 3);
    EXPECT_EQ(captionOf(list, 0), kUnknownCaption);
    EXPECT_TRUE(closeTo(thumbnailPixels(list, 0).at(35, 26), 0x28C828)) << "the undated record's own picture";
    EXPECT_EQ(captionOf(list, 1), L"2024/05/01 12:00:01");
    EXPECT_EQ(captionOf(list, 2), L"2024/05/01 12:00:02") << "the undecodable record keeps its caption";
    CapturedPixels broken = thumbnailPixels(list, 2);
    int differing = 0;
    for (int y = 0; y < ImageListView::kThumbnailHeight; ++y)
        for (int x = 0; x < ImageListView::kThumbnailWidth; ++x)
            differing += broken.at(x, y) != skinPixel(Thumbnail::kBrokenPictureId, x, y);
    EXPECT_EQ(differing, 0) << "the undecodable record shows picture 447";
}

TEST_F(ThumbnailTest, LateAndDuplicateFramesAreIgnored) {
    // Before any folder: an answer for record 0 adds nothing.
    PostMessageW(strip->handle(), WM_FRAME_READY, 0, reinterpret_cast<LPARAM>(solidPicture(64, 48, 0xFFFFFF).release()));
    pumpMessagesFor(50);
    EXPECT_EQ(strip->imageCount(), 0);

    openAndWait(threeRecords());
    const struct {
        const char* name;
        WPARAM index;
        bool withPicture;
    } late[] = {
        {"record 0 again", 0, true},
        {"the last record again", 2, true},
        {"record 1 again, undecoded", 1, false},
    };
    for (const auto& frame : late) {
        Image* picture = frame.withPicture ? solidPicture(64, 48, 0xFFFFFF).release() : nullptr;
        PostMessageW(strip->handle(), WM_FRAME_READY, frame.index, reinterpret_cast<LPARAM>(picture));
        pumpMessagesFor(50);
        EXPECT_EQ(strip->imageCount(), 3) << frame.name;
        EXPECT_EQ(strip->loadedCount(), 3) << frame.name;
        EXPECT_EQ(host.shown.size(), 1u) << frame.name;
    }
}

TEST_F(ThumbnailTest, TheRowComesToRestWithAnItemThreePixelsInside) {
    std::wstring folder = scratch.subfolder(L"many");
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(writeImage(folder + L"\\IMG" + std::to_wstring(10001 + i) + L".dpc", at(i), 200, 40, 40));
    openAndWait(folder);
    HWND list = strip->listView().handle();
    int pitch = strip->listView().pitch();
    // The left edge of the first item that starts inside the view.
    auto firstVisibleLeft = [&] {
        for (int i = 0; i < strip->imageCount(); ++i) {
            RECT box = {};
            ListView_GetItemRect(list, i, &box, LVIR_BOUNDS);
            if (box.left >= 0) return static_cast<int>(box.left);
        }
        return -1;
    };
    const struct {
        const char* name;
        int dragTo;   // where the scroll box was let go
        UINT ending;  // what the list view gets when the drag ends
    } drags[] = {
        {"one pixel in, end of scroll", 1, WM_HSCROLL},
        {"half an item, end of scroll", pitch / 2, WM_HSCROLL},
        {"just before an item, end of scroll", 2 * pitch - 4, WM_HSCROLL},
        {"several items, end of scroll", 5 * pitch + 17, WM_HSCROLL},
        {"several items, button released", 7 * pitch + 40, WM_LBUTTONUP},
    };
    for (const auto& drag : drags) {
        ListView_Scroll(list, drag.dragTo - GetScrollPos(list, SB_HORZ), 0);
        ASSERT_EQ(GetScrollPos(list, SB_HORZ), drag.dragTo) << drag.name;
        if (drag.ending == WM_HSCROLL)
            SendMessageW(list, WM_HSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
        else
            SendMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        EXPECT_EQ(firstVisibleLeft(), ImageListView::kRestInset) << drag.name;
    }
    // A click on the right arrow moves the row by one item.
    int resting = GetScrollPos(list, SB_HORZ);
    SendMessageW(list, WM_HSCROLL, MAKEWPARAM(SB_LINERIGHT, 0), 0);
    EXPECT_EQ(GetScrollPos(list, SB_HORZ), resting + pitch);
    EXPECT_EQ(firstVisibleLeft(), ImageListView::kRestInset);
}

TEST_F(ThumbnailTest, OnlyTheLeftAndRightKeysReachTheList) {
    openAndWait(threeRecords());
    HWND list = strip->listView().handle();
    const struct {
        const char* name;
        UINT message;
        WPARAM key;
    } ignored[] = {
        {"end", WM_KEYDOWN, VK_END},   {"down", WM_KEYDOWN, VK_DOWN}, {"page down", WM_KEYDOWN, VK_NEXT},
        {"space", WM_KEYDOWN, VK_SPACE}, {"letter", WM_KEYDOWN, 'C'},  {"typed letter", WM_CHAR, 'c'},
        {"wheel", WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA)},
    };
    for (const auto& input : ignored) {
        SendMessageW(list, input.message, input.key, 1);
        if (input.message == WM_KEYDOWN) SendMessageW(list, WM_KEYUP, input.key, 0xC0000001);
        pumpMessagesFor(20);
        EXPECT_EQ(strip->currentIndex(), 0) << input.name;
        EXPECT_EQ(host.shown.size(), 1u) << input.name;
        EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_FOCUSED), 0) << input.name;
    }
    // The right arrow does reach it: the next record is chosen and shown.
    SendMessageW(list, WM_KEYDOWN, VK_RIGHT, 1);
    SendMessageW(list, WM_KEYUP, VK_RIGHT, 0xC0000001);
    pumpMessagesFor(20);
    EXPECT_EQ(strip->currentIndex(), 1);
    EXPECT_EQ(host.shown, (std::vector<int>{0, 1}));
}

TEST_F(ThumbnailTest, FoldersWithoutImageRecordsAreRefused) {
    const struct {
        const char* name;
        std::vector<std::pair<const wchar_t*, std::string>> files;
    } cases[] = {
        {"empty folder", {}},
        {"only other files", {{L"readme.txt", "text"}, {L"Video.dvt", ""}}},
        {"only an empty image file", {{L"IMG00001.dpc", ""}}},
    };
    int index = 0;
    for (const auto& c : cases) {
        std::wstring folder = scratch.subfolder(L"none" + std::to_wstring(index++));
        for (const auto& file : c.files) {
            HANDLE h = CreateFileW((folder + L"\\" + file.first).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                                   nullptr);
            DWORD written = 0;
            WriteFile(h, file.second.data(), static_cast<DWORD>(file.second.size()), &written, nullptr);
            CloseHandle(h);
        }
        try {
            strip->openFolder(folder);
            ADD_FAILURE() << c.name << ": opened";
        } catch (const Exception& failure) {
            EXPECT_EQ(failure.message(), L"該当データを読み込めません。") << c.name;
        }
        EXPECT_EQ(strip->imageCount(), 0) << c.name;
        EXPECT_FALSE(strip->isDone()) << c.name;
    }
}

// The card is pulled (here: the folder moved away) while the strip is filling: the display
// is cleared and the user told, once.
TEST_F(ThumbnailTest, AFolderGoneWhileLoadingClearsTheDisplay) {
    std::wstring folder = scratch.subfolder(L"IMG00001");
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(writeImage(folder + L"\\IMG0000" + std::to_wstring(i + 1) + L".dpc", at(i), 200, 40, 40));
    // The first decode waits until the folder has gone.
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<bool> decoding{false};
    auto decoder = [&](VideoArchive& archive, int index) {
        decoding = true;
        WaitForSingleObject(release, kDeadlineMs);
        return archive.decodeFrame(index);
    };
    MessageBoxRecorder boxes;
    DestroyWindow(strip->handle());
    strip = new Thumbnail(owner->handle(), host, decoder);
    host.strip = strip;
    strip->openFolder(folder);
    ASSERT_TRUE(pumpMessagesUntil([&] { return decoding.load(); }, kDeadlineMs));
    std::wstring moved = folder + L"-moved";
    ASSERT_TRUE(MoveFileW(folder.c_str(), moved.c_str()));
    SetEvent(release);

    ASSERT_TRUE(pumpMessagesUntil([&] { return host.clears > 0; }, kDeadlineMs));
    pumpMessagesFor(200);
    EXPECT_EQ(host.clears, 1);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, L"現在開いているフォルダが移動または削除されました。");
    EXPECT_EQ(boxes.boxes()[0].caption, L"警告");
    EXPECT_EQ(boxes.boxes()[0].owner, owner->handle());
    EXPECT_EQ(strip->imageCount(), 0);
    EXPECT_FALSE(strip->isDone());
    EXPECT_TRUE(host.shown.empty());
    DestroyWindow(strip->handle());  // lets go of the moved folder's files
    CloseHandle(release);
    MoveFileW(moved.c_str(), folder.c_str());  // so that the scratch folder takes it along
}

// Painting the list gives it the keyboard focus (so the arrow keys page at once), but only
// while the strip's own window is the active one: a window of the program in front, such as
// a dialog being typed into, keeps its focus when the strip repaints behind it.
TEST_F(ThumbnailTest, PaintingTakesTheFocusOnlyFromTheStripsOwnWindow) {
    openAndWait(threeRecords());
    HWND list = strip->listView().handle();
    HostWindow dialog(0, 300, 200, 100);
    const struct {
        const char* name;
        HWND active;
        HWND focusAfterPaint;
    } cases[] = {
        {"another window in front", dialog.handle(), dialog.handle()},
        {"the strip's window active", owner->handle(), list},
    };
    for (const auto& c : cases) {
        SetActiveWindow(c.active);
        SetFocus(c.active);
        ASSERT_EQ(GetActiveWindow(), c.active) << c.name << ": could not be made active";
        ASSERT_EQ(GetFocus(), c.active) << c.name;
        InvalidateRect(list, nullptr, FALSE);
        UpdateWindow(list);
        EXPECT_EQ(GetFocus(), c.focusAfterPaint) << c.name;
    }
}

// The strip's loader thread costs about 1 MB under Wine: it exists only while the strip
// shows a folder, and the strip fills again after it was let go.
TEST_F(ThumbnailTest, TheLoaderLivesOnlyWhileAFolderIsOpen) {
    EXPECT_FALSE(strip->hasLoader()) << "before any folder";
    std::wstring folder = threeRecords();
    for (int round = 1; round <= 2; ++round) {
        openAndWait(folder);
        EXPECT_TRUE(strip->hasLoader()) << "round " << round;
        EXPECT_EQ(strip->imageCount(), 3) << "round " << round;
        strip->reset();
        EXPECT_FALSE(strip->hasLoader()) << "round " << round << ": after reset";
    }
}
