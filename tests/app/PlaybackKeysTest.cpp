// The main window's keys, sent as the program's message loop receives them.
#include "app/MainWindow.h"
#include "app/PlaybackKeys.h"
#include "playback/VideoPlayer.h"
#include "resources/resource.h"
#include "support/MessageBoxRecorder.h"
#include "support/MainWindowFixture.h"
#include "support/PlayerRecords.h"
#include "ui/StopWatch.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <vector>

namespace {

class PlaybackKeysTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        keys = LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_PLAYBACK_KEYS));
        ASSERT_NE(keys, nullptr);
    }
    void TearDown() override {
        setControl(false);
        MainWindowFixture::TearDown();
    }

    // A key press as the message loop fetches it, addressed to target; true when the keys
    // took it.
    bool press(UINT key, HWND target = nullptr) {
        MSG message = {};
        message.hwnd = target != nullptr ? target : handle;
        message.message = WM_KEYDOWN;
        message.wParam = key;
        message.lParam = 1;
        return PlaybackKeys::translate(handle, keys, message);
    }
    static void setControl(bool down) {
        BYTE state[256] = {};
        GetKeyboardState(state);
        state[VK_CONTROL] = down ? 0x80 : 0;
        SetKeyboardState(state);
    }
    // Opens folder and stops on its first frame.
    void open(const std::wstring& folder) {
        window->setDisplayMode(0);
        window->loadFolder(folder);
        ASSERT_TRUE(window->isDataLoaded());
        ASSERT_TRUE(press(VK_HOME));
    }
    bool playing() { return player().playState() == VideoPlayer::Playing; }

    HACCEL keys = nullptr;
};

}  // namespace

TEST_F(PlaybackKeysTest, StepJumpPlayAndPauseAnEventRecord) {
    MessageBoxRecorder quiet;
    std::wstring folder = tree.folder(L"EVENT\\A");
    ASSERT_TRUE(writeEventRecord(folder, 12, false));
    struct Case {
        const char* name;
        std::vector<UINT> keys;
        int frame;
        bool playing;
    } cases[] = {
        {"Right steps one frame", {VK_RIGHT}, 1, false},
        {"Left steps back", {VK_RIGHT, VK_RIGHT, VK_LEFT}, 1, false},
        {"Left on the first frame stays", {VK_LEFT}, 0, false},
        {"End shows the last frame", {VK_END}, 11, false},
        {"Right on the last frame stays", {VK_END, VK_RIGHT}, 11, false},
        {"Home shows the first frame", {VK_END, VK_HOME}, 0, false},
        // Playing asks at once for the frame after the one it starts on.
        {"Space plays from the frame shown", {VK_RIGHT, VK_RIGHT, VK_SPACE}, 3, true},
        {"Space again pauses", {VK_SPACE, VK_SPACE}, 1, false},
        {"Space on the last frame plays from the start", {VK_END, VK_SPACE}, 1, true},
        {"Right while playing stops one frame on", {VK_SPACE, VK_RIGHT}, 2, false},
    };
    for (const Case& c : cases) {
        open(folder);
        for (UINT key : c.keys) EXPECT_TRUE(press(key)) << c.name << ": key " << key;
        EXPECT_EQ(player().currentFrame(), c.frame) << c.name;
        EXPECT_EQ(playing(), c.playing) << c.name;
    }
    EXPECT_TRUE(quiet.boxes().empty());
}

TEST_F(PlaybackKeysTest, StepAndPageThroughTheChaptersOfAContinuousRecord) {
    MessageBoxRecorder quiet;
    std::wstring folder = tree.folder(L"CONTINUE\\CNT00001");
    // The first chapter is cut short: steps must still cross into the next one.
    ASSERT_TRUE(writeChapter(folder + L"\\Video0000.dmv", 12));
    ASSERT_TRUE(writeChapter(folder + L"\\Video0001.dmv", 12));
    struct Case {
        const char* name;
        std::vector<UINT> keys;
        int chapter;
        int frame;
    } cases[] = {
        {"Page Down opens the next chapter", {VK_NEXT}, 1, 0},
        {"Page Up opens the previous chapter", {VK_NEXT, VK_PRIOR}, 0, 0},
        {"Left from a chapter's first frame", {VK_NEXT, VK_LEFT}, 0, 11},
        {"Right from a cut chapter's last frame", {VK_NEXT, VK_LEFT, VK_RIGHT}, 1, 0},
        {"End shows the last chapter's last frame", {VK_END}, 1, 11},
        {"Home goes back to the first chapter", {VK_END, VK_HOME}, 0, 0},
    };
    for (const Case& c : cases) {
        open(folder);
        ASSERT_EQ(window->displayMode(), 2) << c.name;
        for (UINT key : c.keys) EXPECT_TRUE(press(key)) << c.name << ": key " << key;
        EXPECT_EQ(player().chapter(), c.chapter) << c.name;
        EXPECT_EQ(player().currentFrame(), c.frame) << c.name;
        EXPECT_FALSE(playing()) << c.name;
    }
    EXPECT_TRUE(quiet.boxes().empty());
}

// A running lap measurement is never stepped or moved back before its last mark, by keys no
// more than by the console's buttons and bar: a lap would otherwise end before it began.
TEST_F(PlaybackKeysTest, KeysNeverGoBackBeforeAMeasurementsLastMark) {
    MessageBoxRecorder quiet;
    std::wstring folder = tree.folder(L"CONTINUE\\CNT00001");
    ASSERT_TRUE(writeChapter(folder + L"\\Video0000.dmv", 12));
    ASSERT_TRUE(writeChapter(folder + L"\\Video0001.dmv", 12));
    for (UINT back : {VK_LEFT, VK_HOME, VK_PRIOR}) {
        open(folder);
        ASSERT_TRUE(press(VK_NEXT));
        for (int step = 0; step < 3; ++step) ASSERT_TRUE(press(VK_RIGHT));
        ASSERT_EQ(player().currentFrame(), 3);
        window->panelWindows().stopwatch->startOrStop();
        ASSERT_TRUE(press(back));
        EXPECT_EQ(player().chapter(), 1) << "key " << back;
        EXPECT_GE(player().currentFrame(), 3) << "key " << back;
        window->panelWindows().stopwatch->reset();
    }
    EXPECT_TRUE(quiet.boxes().empty());
}

TEST_F(PlaybackKeysTest, PageKeysMoveBetweenEventRecords) {
    MessageBoxRecorder quiet;
    for (const wchar_t* name : {L"EVENT\\A", L"EVENT\\B"}) ASSERT_TRUE(writeEventRecord(tree.folder(name), 12, false));
    open(tree.path(L"EVENT\\A"));
    EXPECT_TRUE(press(VK_NEXT));
    EXPECT_EQ(window->currentFolder(), tree.path(L"EVENT\\B"));
    EXPECT_TRUE(press(VK_PRIOR));
    EXPECT_EQ(window->currentFolder(), tree.path(L"EVENT\\A"));
    EXPECT_TRUE(quiet.boxes().empty());
}

TEST_F(PlaybackKeysTest, AListControlKeepsItsKeysAndOtherWindowsAreLeftAlone) {
    MessageBoxRecorder quiet;
    std::wstring folder = tree.folder(L"EVENT\\A");
    ASSERT_TRUE(writeEventRecord(folder, 12, false));
    open(folder);
    HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD, 0, 0, 100, 100, handle, nullptr, nullptr, nullptr);
    HWND other = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(list, nullptr);
    ASSERT_NE(other, nullptr);
    EXPECT_FALSE(press(VK_RIGHT, list));
    EXPECT_FALSE(press(VK_END, other));
    EXPECT_EQ(player().currentFrame(), 0);
    EXPECT_TRUE(press(VK_RIGHT, player().handle())) << "the picture is a child of the main window";
    EXPECT_EQ(player().currentFrame(), 1);
    DestroyWindow(other);
}

TEST_F(PlaybackKeysTest, CtrlCCopiesThePicture) {
    MessageBoxRecorder quiet;
    std::wstring folder = tree.folder(L"EVENT\\A");
    ASSERT_TRUE(writeEventRecord(folder, 12, false));
    // The copy takes the picture from the screen.
    ShowWindow(handle, SW_SHOWNOACTIVATE);
    open(folder);
    ASSERT_TRUE(pumpMessagesUntil([&] { return player().hasPicture(); }, 20000));
    ASSERT_TRUE(OpenClipboard(handle));
    EmptyClipboard();
    CloseClipboard();
    EXPECT_FALSE(press('C')) << "C alone is no key of the viewer";
    setControl(true);
    EXPECT_TRUE(press('C'));
    setControl(false);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_NE(GetClipboardData(CF_BITMAP), nullptr);
    CloseClipboard();
}
