// A measurement, not a test of behaviour: plays the sample card's first event record in
// real time in the real main window, twice with its panels refreshed after every frame and
// twice without, alternately, and reports what one refresh of all panels costs (median and
// worst over the record), what each panel's own refresh costs, and how many of the record's
// frames reached the screen each time. Disabled by default; run it with
//   scripts/sound-server start
//   xvfb-run -a -s "-screen 0 1280x800x24" scripts/wine build/bin/app_tests.exe
//       --gtest_also_run_disabled_tests --gtest_filter='*PanelRefresh*'   (one command line)
// with SCENOVA_MEASURE_RECORD naming an event folder (default: the build's sample card).
#include "app/MainWindow.h"
#include "playback/Messages.h"
#include "playback/VideoPlayer.h"
#include "playback/WaveAudioPlayer.h"
#include "support/MainWindowFixture.h"
#include "support/MessageBoxRecorder.h"
#include "support/SampleCard.h"
#include "ui/AnalogSpeedMeter.h"
#include "ui/CircleChart.h"
#include "ui/InfoPanel.h"
#include "ui/LineChart.h"
#include "ui/SpeedMeter.h"

#include <gtest/gtest.h>

#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <set>
#include <vector>

namespace {

double nowMs() {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The main window, timing every refresh of its panels that the player asks for.
class TimedMainWindow : public MainWindow {
public:
    void refreshPanels() override {
        if (held) return;
        double start = nowMs();
        MainWindow::refreshPanels();
        if (timing) costs.push_back(nowMs() - start);
    }
    bool timing = false;
    bool held = false;  // the panels are left to the measurement
    std::vector<double> costs;
};

void report(const char* what, std::vector<double> costs) {
    if (costs.empty()) return;
    std::sort(costs.begin(), costs.end());
    std::printf("%-24s %5zu calls: median %.3f ms, 99th %.3f ms, worst %.3f ms\n", what, costs.size(),
                costs[costs.size() / 2], costs[costs.size() * 99 / 100], costs.back());
}

}  // namespace

TEST(PanelRefresh, DISABLED_CostOfAllPanelsAndFramesPaintedWhilePlaying) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    pretendWindowsVersion(10);
    MessageBoxRecorder quiet;
    auto* window = new TimedMainWindow();
    ShowWindow(window->handle(), SW_SHOWNOACTIVATE);
    UpdateWindow(window->handle());
    std::wstring folder = sampleCardFolder(L"EVENT/EVT00001", L"SCENOVA_MEASURE_RECORD");
    window->loadFolder(folder);
    VideoPlayer* player = window->videoPlayer();
    ASSERT_TRUE(window->isDataLoaded()) << "no record at " << std::string(folder.begin(), folder.end());
    int frames = player->frameCount();
    // Plays alternately with the panels refreshed and with them held, so that both meet the
    // same load; the refresh is timed in the runs that have it.
    for (int run = 0; run < 4; ++run) {
        bool withPanels = run % 2 == 0;
        player->pause();
        player->seek(0);
        window->costs.clear();
        window->held = !withPanels;
        window->timing = withPanels;
        std::set<int> painted = {0};  // frame 0, shown before play, counts as painted
        double start = nowMs();
        player->play(0);
        bool withSound = player->soundPlayer().state() == ISoundPlayer::Playing;
        // Frames arrive as messages from the loader, each painted when dispatched.
        MSG message;
        while (player->playState() == VideoPlayer::Playing && nowMs() - start < 120000) {
            if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
                continue;
            }
            if (message.hwnd == player->handle() && message.message == WM_FRAME_READY && message.lParam != 0)
                painted.insert(static_cast<int>(message.wParam));
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        window->timing = false;
        window->held = false;
        std::printf("panels %s: %d frames, sound %s, played in %.0f ms; painted %zu, dropped %zu\n",
                    withPanels ? "on " : "off", frames, withSound ? "on" : "off", nowMs() - start, painted.size(),
                    frames - painted.size());
        if (withPanels) report("refresh of all panels", window->costs);
    }

    // Each panel on its own, at every tenth frame of the record: the player moves without
    // refreshing them, so each call below draws the new frame.
    const MainWindow::Panels& panels = window->panelWindows();
    std::vector<double> line, digits, circle, dial, info;
    auto timed = [](std::vector<double>& into, const std::function<void()>& refresh) {
        double begin = nowMs();
        refresh();
        into.push_back(nowMs() - begin);
    };
    player->play(0);
    player->pause();
    window->held = true;
    for (int f = 0; f < frames; f += 10) {
        player->seek(f);
        timed(line, [&] { panels.lineChart->refreshCursor(); });
        timed(digits, [&] { panels.speedMeter->refresh(); });
        timed(circle, [&] { panels.circleChart->refresh(VideoPlayer::PositionPlaying); });
        timed(dial, [&] { panels.analogSpeedMeter->refresh(); });
        timed(info, [&] { panels.info->refresh(); });
    }
    report("line chart cursor", line);
    report("digital speed meter", digits);
    report("G circle (playing)", circle);
    report("analog speed meter", dial);
    report("info panel", info);
    std::vector<double> graph;
    for (int i = 0; i < 10; ++i) {
        panels.lineChart->invalidateGraph();
        timed(graph, [&] { panels.lineChart->refreshCursor(); });
    }
    report("line chart, whole graph", graph);
    window->held = false;

    EXPECT_TRUE(quiet.boxes().empty());
    EXPECT_FALSE(line.empty());
    DestroyWindow(window->handle());
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    CoUninitialize();
}
