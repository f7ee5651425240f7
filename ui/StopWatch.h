#pragma once
// The stopwatch panel of the right column: it measures recorded time over continuous
// records, from a start position through up to nine laps to a stop position, and shows the
// running total, the last lap's time and its average speed. Times come from the chapter time
// table the archive fills as chapters are opened, so they are the recorder's own, not the
// wall clock's. Its LAP LIST button opens the LapDialog with every lap.
#include "playback/AlphaImage.h"
#include "playback/IStopwatchControl.h"
#include "ui/GlyphFont.h"
#include "ui/ImageButton.h"
#include "ui/ImageTrackBar.h"
#include "ui/Window.h"

#include <array>
#include <memory>
#include <string>

class IPanelHost;
class LapDialog;
class TrackToolTip;
class VideoPlayer;
struct ChapterRow;

class StopWatch : public Window, public ImageButtonListener, public IStopwatchControl {
public:
    static constexpr int kBackgroundId = 105;
    // Laps the LAP command marks; STOP then adds the final segment as one more.
    static constexpr int kMaxMarkedLaps = 9;
    static constexpr int kMaxLaps = kMaxMarkedLaps + 1;
    // The read-outs take the panel's top; the buttons lie below.
    static constexpr int kButtonArea = 170;

    enum Button { StartStop, LapReset, LapList, Undo, kButtonCount };

    // A child of the main window, laid out by it; everything disabled, nothing measured.
    StopWatch(HWND mainWindow, IPanelHost& host, VideoPlayer& player);
    ~StopWatch() override;

    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void onClick(ImageButton* button) override;
    void onPress(ImageButton*) override {}

    // The four commands, exactly as their buttons issue them. START/STOP, LAP and undo do
    // nothing unless the player is playing or positioned (position state 1 or 3).
    void startOrStop();
    void lapOrReset();
    void openLapList();
    void undoLap();

    // Redraws the read-outs (the main window after every frame).
    void refresh();
    // Clears the measurement and the archive's chapter time table, disables everything.
    void reset() override;
    // Before a chapter change: the buttons and the panel disabled.
    void disableAll();
    void enableForState() override;
    void onDisplayModeChanged(int mode);

    bool isMeasuring() const override { return measuring; }
    int lapCount() const override { return laps; }
    void pressStartStop() override { startOrStop(); }
    void setStartStopEnabled(bool enabled) override;
    void beginChapterChange() override { disableAll(); }

    // Start, lap and end positions for the console's position bar.
    const TrackMarkers& markers() const { return marks; }
    // The absolute position nothing may go before while measuring: the last lap, or the start.
    int lastMarker() const;
    ImageButton* button(Button which) const { return buttons[which]; }
    HWND lapListWindow() const { return lapList; }
    // The LAP LIST closed itself.
    void lapListClosed();

    // What the read-outs and the LAP LIST show. Laps count from 1.
    int totalTime() const { return total; }
    int lapTime(int lap) const { return lapTimes[static_cast<std::size_t>(lap - 1)]; }
    int lapAverageSpeed(int lap) const { return lapSpeeds[static_cast<std::size_t>(lap - 1)]; }
    std::wstring totalText() const;
    std::wstring lapTimeText() const;
    std::wstring speedText() const;

    static const wchar_t* const kNoTime;  // "--′ --″ -"

private:
    bool positioned() const;
    int currentPosition() const;
    ChapterRow row(int chapter, int index) const;
    ChapterRow currentRow() const;
    // Lap `lap` ends at the current frame: its end time, lap time and average speed.
    void closeLap(int lap);
    void clearLaps();
    void enable(Button which, bool enabled);
    void refreshLapList();
    void afterCommand();

    void onEraseBackground(HDC dc);
    void onPaint();
    void paintReadouts(HDC target);
    std::array<std::wstring, 3> currentLines() const;

    IPanelHost& host;
    VideoPlayer& player;
    HWND lapList = nullptr;
    bool measuring = false;
    // Entry 0 is the start of the measurement, entry m the end of lap m (the next lap's start).
    std::array<int, kMaxLaps> lapStartChapters = {};
    std::array<int, kMaxLaps> lapStartRows = {};
    int startTime = 0;
    int total = 0;
    int laps = 0;
    std::array<int, kMaxLaps> lapEndTimes = {};
    std::array<int, kMaxLaps> lapTimes = {};
    std::array<int, kMaxLaps> lapSpeeds = {};
    TrackMarkers marks;
    TrackToolTip* toolTip = nullptr;
    std::unique_ptr<AlphaImage> background;
    std::array<ImageButton*, kButtonCount> buttons = {};
    std::array<std::unique_ptr<GlyphFont>, 3> lineFonts;
    std::unique_ptr<LapDialog> lapDialog;
    std::array<std::wstring, 3> shownLines;
};
