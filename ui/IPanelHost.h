#pragma once
// What the console panel and the stopwatch ask of the main window that owns them.
// Implemented by the main window; tests give their own.

class IPanelHost {
public:
    // 0 event records, 1 image records, 2 continuous records.
    virtual int displayMode() const = 0;
    // The record cannot be shown any more: stop the player and return to the empty display.
    virtual void clearDisplay() = 0;
    // The console re-reads which of its controls apply.
    virtual void updateConsoleControls() = 0;
    // The previous or next record folder beside the open one; failures are shown to the user.
    virtual void goToAdjacentRecord(bool previous) = 0;

protected:
    ~IPanelHost() = default;
};
