#pragma once
// What the video player asks of the stopwatch: chapter changes and the end of a record end
// or suspend a lap measurement. Implemented by the stopwatch; tests give their own.

class IStopwatchControl {
public:
    virtual bool isMeasuring() const = 0;
    virtual int lapCount() const = 0;
    // Issues the START/STOP command, as a click on the button would (ends a measurement).
    virtual void pressStartStop() = 0;
    virtual void setStartStopEnabled(bool enabled) = 0;
    // Clears the whole measurement and the archive's chapter time table.
    virtual void reset() = 0;
    // A jump to another chapter begins: the stopwatch disables its controls.
    virtual void beginChapterChange() = 0;
    // A chapter has loaded: the buttons follow the measurement's state again.
    virtual void enableForState() = 0;

protected:
    ~IStopwatchControl() = default;
};
