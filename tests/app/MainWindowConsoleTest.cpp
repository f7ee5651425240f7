// The main window's share of the console and the stopwatch: their places, their state in
// each display mode, and the question before measured laps are lost.
#include "app/MainWindow.h"
#include "playback/VideoPlayer.h"
#include "support/MainWindowFixture.h"
#include "support/MessageBoxRecorder.h"
#include "support/PlayerRecords.h"
#include "ui/ConsolePanel.h"
#include "ui/ImageButton.h"
#include "ui/StopWatch.h"

#include <gtest/gtest.h>

namespace {

const std::wstring kLapsQuestion = L"LAP LISTが消去されます。よろしいですか？";

class MainWindowConsoleTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        for (const wchar_t* name : {L"CNT00001", L"CNT00002"}) {
            std::wstring folder = tree.folder(std::wstring(L"CONTINUE\\") + name);
            EXPECT_TRUE(writeChapter(folder + L"\\Video0000.dmv", 30));
            EXPECT_TRUE(writeChapter(folder + L"\\Video0001.dmv", 30));
        }
        event = tree.folder(L"EVENT\\EVT00001");
        EXPECT_TRUE(writeEventRecord(event, 30, false));
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
