// The main window's share of the console and the stopwatch: their places, their state in
// each display mode, and the question before measured laps are lost.
#include "app/AppTestFolder.h"
#include "app/Application.h"
#include "app/MainWindow.h"
#include "playback/VideoPlayer.h"
#include "support/MessageBoxRecorder.h"
#include "support/PlayerRecords.h"
#include "ui/ConsolePanel.h"
#include "ui/ImageButton.h"
#include "ui/StopWatch.h"

#include <gtest/gtest.h>

#include <objbase.h>

namespace {

const std::wstring kLapsQuestion = L"LAP LISTが消去されます。よろしいですか？";

class MainWindowConsoleTest : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        OSVERSIONINFOEXW version = {};
        version.dwOSVersionInfoSize = sizeof version;
        version.dwMajorVersion = 10;
        Application::setOsVersion(version);
        window = new MainWindow();
        handle = window->handle();
        for (const wchar_t* name : {L"CNT00001", L"CNT00002"}) {
            std::wstring folder = tree.folder(std::wstring(L"CONTINUE\\") + name);
            EXPECT_TRUE(writeChapter(folder + L"\\Video0000.dmv", 30));
            EXPECT_TRUE(writeChapter(folder + L"\\Video0001.dmv", 30));
        }
        event = tree.folder(L"EVENT\\EVT00001");
        EXPECT_TRUE(writeEventRecord(event, 30, false));
    }
    void TearDown() override {
        if (IsWindow(handle)) DestroyWindow(handle);
        MSG quit;
        while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        CoUninitialize();
    }

    // Opens the first continuous folder and measures one lap over it, paused.
    int measureALap() {
        window->loadFolder(tree.path(L"CONTINUE\\CNT00001"));
        VideoPlayer& player = *window->videoPlayer();
        StopWatch& stopwatch = *window->panelWindows().stopwatch;
        player.pause();
        player.seekGlobal(0, 5);
        stopwatch.startOrStop();
        player.seekGlobal(0, 9);
        stopwatch.lapOrReset();
        return stopwatch.lapCount();
    }
    RECT placeOf(HWND child) const {
        RECT rect;
        GetWindowRect(child, &rect);
        MapWindowPoints(nullptr, handle, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

    MainWindow* window = nullptr;
    HWND handle = nullptr;
    AppTestFolder tree;
    std::wstring event;
};

void expectAt(const RECT& place, const PanelPlace& expected, const char* what) {
    EXPECT_EQ(place.left, expected.x) << what;
    EXPECT_EQ(place.top, expected.y) << what;
    EXPECT_EQ(place.right - place.left, expected.width) << what;
    EXPECT_EQ(place.bottom - place.top, expected.height) << what;
}

}  // namespace

TEST_F(MainWindowConsoleTest, TheConsoleAndTheStopwatchFollowTheDisplayMode) {
    MessageBoxRecorder quiet;
    ConsolePanel& console = *window->panelWindows().console;
    StopWatch& stopwatch = *window->panelWindows().stopwatch;
    struct Case {
        const char* name;
        std::wstring folder;
        bool chapterButtons;
        bool stopwatchEnabled;
    } cases[] = {
        {"continuous", tree.path(L"CONTINUE\\CNT00001"), true, true},
        {"event", event, false, false},
    };
    for (const Case& c : cases) {
        stopwatch.openLapList();
        window->loadFolder(c.folder);
        expectAt(placeOf(console.handle()), window->layout().console, c.name);
        expectAt(placeOf(stopwatch.handle()), window->layout().stopWatch, c.name);
        LONG style = GetWindowLongW(console.button(ConsolePanel::NextChapter)->handle(), GWL_STYLE);
        EXPECT_EQ((style & WS_VISIBLE) != 0, c.chapterButtons) << c.name;
        EXPECT_EQ(stopwatch.isEnabled(), c.stopwatchEnabled) << c.name;
        EXPECT_EQ(stopwatch.button(StopWatch::StartStop)->isEnabled(), c.stopwatchEnabled) << c.name;
        EXPECT_TRUE(console.button(ConsolePanel::Play)->isEnabled()) << c.name;
        // The list stays with continuous records only.
        EXPECT_EQ(stopwatch.lapListWindow() != nullptr, c.stopwatchEnabled) << c.name;
    }
}

TEST_F(MainWindowConsoleTest, MeasuredLapsGoOnlyWhenTheUserAgrees) {
    struct Case {
        const char* name;
        int answer;
        bool openFolderCommand;  // else: the next record
        bool moved;
    } cases[] = {
        {"open folder, cancelled", IDCANCEL, true, false},
        {"next record, cancelled", IDCANCEL, false, false},
        {"next record, agreed", IDOK, false, true},
    };
    for (const Case& c : cases) {
        MessageBoxRecorder quiet;
        ASSERT_EQ(measureALap(), 1) << c.name;
        MessageBoxRecorder boxes(c.answer);
        if (c.openFolderCommand)
            window->openFolder();  // cancelled before the folder dialog would show
        else
            window->goToAdjacentRecord(false);
        ASSERT_FALSE(boxes.boxes().empty()) << c.name;
        EXPECT_EQ(boxes.boxes()[0].text, kLapsQuestion) << c.name;
        EXPECT_EQ(boxes.boxes()[0].caption, L"確認") << c.name;
        EXPECT_EQ(window->currentFolder(), tree.path(c.moved ? L"CONTINUE\\CNT00002" : L"CONTINUE\\CNT00001")) << c.name;
        EXPECT_EQ(window->panelWindows().stopwatch->lapCount(), c.moved ? 0 : 1) << c.name;
    }
}
