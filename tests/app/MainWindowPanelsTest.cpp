// The panels of the main window: where each display mode puts them and which it enables,
// and what a new record does to the meters, the charts and the info panel.
#include "app/MainWindow.h"
#include "playback/VideoPlayer.h"
#include "support/MainWindowFixture.h"
#include "support/MessageBoxRecorder.h"
#include "support/PanelFakes.h"
#include "support/PlayerRecords.h"
#include "support/VisibleDialog.h"
#include "tools/writer/RecorderWriter.h"
#include "ui/AnalogSpeedMeter.h"
#include "ui/CircleChart.h"
#include "ui/ConfigPanel.h"
#include "ui/InfoPanel.h"
#include "ui/LineChart.h"
#include "ui/SpeedMeter.h"

#include <gtest/gtest.h>

namespace {

bool styled(HWND window, DWORD style) {
    return (GetWindowLongW(window, GWL_STYLE) & style) == style;
}

// An event record of a fast drive with a hard jolt: 150 km/h and 1.2 G on every frame.
bool writeFastProtectedRecord(const std::wstring& folder) {
    RecordHeaderFields header;
    header.dateTime = RecorderDateTime{2024, 5, 1, 12, 0, 0};
    header.protect = true;
    RecorderWriter file;
    file.header(header);
    for (int slot = 0; slot <= 12; ++slot) {
        FrameFields fields;
        fields.timeStamp = 100000 + slot * 34;
        fields.dateTime = header.dateTime;
        fields.speed = 150;
        fields.gFirst = 1.2;
        file.videoChunk(fields, RgbPicture::solid(64, 48, 90, 90, 90));
    }
    return file.save(folder + L"\\Video.dvt");
}

using MainWindowPanelsTest = MainWindowFixture;

}  // namespace

TEST_F(MainWindowPanelsTest, EachDisplayModePutsThePanelsInTheirPlaces) {
    MessageBoxRecorder quiet;
    std::wstring event = tree.folder(L"EVENT\\EVT00001");
    ASSERT_TRUE(writeEventRecord(event, 12, false));
    std::wstring image = tree.folder(L"IMAGE\\IMG00001");
    ASSERT_TRUE(writeImageRecord(image + L"\\P0001.dpc", 200, 40, 40));
    std::wstring continuous = tree.folder(L"CONTINUE\\CNT00001");
    ASSERT_TRUE(writeChapter(continuous + L"\\Video0000.dmv", 12));

    struct Case {
        const char* name;
        std::wstring folder;
        int mode;
    } cases[] = {{"event", event, 0}, {"image", image, 1}, {"continuous", continuous, 2}, {"event again", event, 0}};
    const MainWindow::Panels& panels = window->panelWindows();
    for (const Case& c : cases) {
        window->loadFolder(c.folder);
        ASSERT_EQ(window->displayMode(), c.mode) << c.name;
        RECT client;
        GetClientRect(handle, &client);
        int w = client.right, h = client.bottom;
        bool telemetry = c.mode != 1;

        struct Place {
            const char* panel;
            HWND window;
            RECT at;
        } places[] = {
            {"picture", window->videoPlayer()->handle(), {185, 0, w - 185, h - 182}},
            {"config panel", panels.config->handle(), {w - 185, 490, w, 573}},
            {"circle chart", panels.circleChart->handle(), {0, 325, 185, 571}},
            {"analog meter", panels.analogSpeedMeter->handle(), {2, 2, 184, 142}},
            {"info panel", panels.info->handle(), {0, 141, 185, 325}},
            {"digital meter", panels.speedMeter->handle(), {w - 185, 0, w, 141}},
        };
        for (const Place& p : places) {
            RECT at = placeOf(p.window);
            EXPECT_TRUE(EqualRect(&at, &p.at)) << c.name << ": " << p.panel << " at " << at.left << "," << at.top
                                               << " to " << at.right << "," << at.bottom;
        }
        HWND lineChart = panels.lineChart->handle();
        EXPECT_EQ(styled(lineChart, WS_VISIBLE), telemetry) << c.name << ": line chart shown";
        EXPECT_EQ(panels.lineChart->isEnabled(), telemetry) << c.name;
        if (telemetry) {
            RECT at = placeOf(lineChart), bottomRow = {0, h - 90, w, h};
            EXPECT_TRUE(EqualRect(&at, &bottomRow)) << c.name << ": the line chart takes the bottom row";
        }
        EXPECT_EQ(panels.circleChart->isEnabled(), telemetry) << c.name;
        EXPECT_EQ(panels.analogSpeedMeter->isEnabled(), telemetry) << c.name;
        int shownRanges = 0;
        for (int i = 0; i < CircleChart::kRanges; ++i)
            if (styled(panels.circleChart->rangeButton(i)->handle(), WS_VISIBLE)) ++shownRanges;
        EXPECT_EQ(shownRanges, telemetry ? 1 : 0) << c.name << ": range buttons";
    }
    EXPECT_TRUE(quiet.boxes().empty());
}

TEST_F(MainWindowPanelsTest, ANewRecordRedrawsTheChartsAndTheMeters) {
    MessageBoxRecorder quiet;
    ShowWindow(handle, SW_SHOWNOACTIVATE);
    const MainWindow::Panels& panels = window->panelWindows();
    std::wstring steady = tree.folder(L"EVENT\\EVT00001");
    ASSERT_TRUE(writeEventRecord(steady, 12, false));
    std::wstring fast = tree.folder(L"EVENT\\EVT00002");
    ASSERT_TRUE(writeFastProtectedRecord(fast));

    window->loadFolder(steady);
    window->videoPlayer()->pause();
    UpdateWindow(handle);
    window->refreshPanels();
    CapturedPixels steadyChart = windowPixels(panels.lineChart->handle());
    EXPECT_EQ(panels.speedMeter->lastSpeed(), 40);
    EXPECT_FALSE(panels.info->contentNow().protectedRecord);

    window->loadFolder(fast);
    window->videoPlayer()->pause();
    UpdateWindow(handle);
    window->refreshPanels();
    CapturedPixels fastChart = windowPixels(panels.lineChart->handle());
    EXPECT_EQ(panels.speedMeter->lastSpeed(), 150);
    EXPECT_EQ(panels.analogSpeedMeter->rememberedFrame(), 150);
    EXPECT_TRUE(panels.info->contentNow().protectedRecord) << "the protect icon of a protected record";
    EXPECT_GT(differingPixels(steadyChart, fastChart), 500) << "the line chart drew the new record";
    EXPECT_TRUE(quiet.boxes().empty());
}

TEST_F(MainWindowPanelsTest, TheOpenFolderButtonOpensTheFolderDialog) {
    // The shell's folder dialog runs its own message loop; a timer there closes it as soon
    // as it shows.
    static HWND dialogSeen;
    dialogSeen = nullptr;
    UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
        HWND found = findVisibleDialog(GetCurrentThreadId());
        if (found == nullptr || found == dialogSeen) return;
        dialogSeen = found;
        PostMessageW(found, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(found, IDCANCEL)));
    });
    HWND button = window->panelWindows().config->openFolderButton()->handle();
    SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    KillTimer(nullptr, timer);
    EXPECT_NE(dialogSeen, nullptr) << "the button opened the folder dialog";
    EXPECT_FALSE(window->isDataLoaded()) << "cancelled: nothing opened";
}
