#pragma once
// What the video player asks of the main window that owns it: to bring the panels in line
// with the frame on screen, to clear everything when the record cannot be shown any more,
// and which display mode is current. Implemented by the main window; tests give their own.

class IPlayerHost {
public:
    // The panels re-read the player's state and the current frame's record.
    virtual void refreshPanels() = 0;
    // The record is gone or unreadable: stop the player and return to the empty display.
    virtual void clearDisplay() = 0;
    // 0 event records, 1 image records, 2 continuous records.
    virtual int displayMode() const = 0;
    // A chapter is about to load: reset the line chart, drop the circle chart's cached
    // picture and repaint the info panel.
    virtual void resetCharts() = 0;
    // A chapter has loaded: drop the cached pictures of the line chart (when enabled) and
    // of the circle chart, and repaint the info panel.
    virtual void redrawCharts() = 0;
    // The console re-reads which of its controls apply.
    virtual void updateConsoleControls() = 0;

protected:
    ~IPlayerHost() = default;
};
