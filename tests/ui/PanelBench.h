#pragma once
// The console panel and the stopwatch around a real video player, wired as the main window
// wires them, over records written for the test into a scratch folder.
#include "playback/IPlayerHost.h"
#include "playback/ImageLoader.h"
#include "support/PaintCapture.h"
#include "support/PlayerRecords.h"
#include "ui/IPanelHost.h"

#include <vector>

class ConsolePanel;
class StopWatch;
class VideoPlayer;

class PanelBench : public IPlayerHost, public IPanelHost {
public:
    static constexpr int kConsoleWidth = 648;
    static constexpr int kConsoleTop = 400;

    // decoder replaces the archive's frame decoder (measurements).
    explicit PanelBench(ImageLoader::FrameDecoder decoder = {});
    ~PanelBench();

    // An event record of 30 frames a second with an automatic event at eventSlot.
    void openEvent(int frames, int eventSlot);
    // Continuous chapters of the given lengths on one running clock (slot s of a chapter at
    // its start + 100 s ms); a row's speed is 100 x chapter + slot. Opens chapter 0.
    void openChapters(const std::vector<int>& frames);

    // IPlayerHost and IPanelHost, as the main window answers them.
    void refreshPanels() override;
    void clearDisplay() override;
    int displayMode() const override { return mode; }
    void resetCharts() override {}
    void redrawCharts() override {}
    void updateConsoleControls() override;
    void goToAdjacentRecord(bool previous) override { adjacentRequests.push_back(previous); }

    void setMode(int value);

    HostWindow window{0, 0, 1000, 600};
    ScratchFolder scratch;
    VideoPlayer* player = nullptr;
    ConsolePanel* console = nullptr;
    StopWatch* stopwatch = nullptr;
    int mode = 0;
    int clears = 0;
    std::vector<bool> adjacentRequests;
};
