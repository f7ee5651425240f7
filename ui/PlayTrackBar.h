#pragma once
// The playback position bar: an ImageTrackBar at its fixed place in the console, which also
// shows the event frame of the record and, for continuous records, the stopwatch's start,
// lap and end markers.
#include "ui/ImageTrackBar.h"

#include <array>

class PlayTrackBar : public ImageTrackBar {
public:
    static constexpr int kEventMarkerIds[2] = {10029, 10030};  // kind 1 automatic, kind 2 manual
    static constexpr int kStartMarkerId = 115;
    static constexpr int kEndMarkerId = 116;
    static constexpr int kLapMarkerIds[9] = {117, 118, 119, 120, 121, 122, 123, 127, 128};
    // Markers stand this far below the top of the bar.
    static constexpr int kMarkerTop = 11;

    explicit PlayTrackBar(HWND parent);

    void drawChannel(HDC dc, int width, int height) override;

    // The event marker: a frame position (negative for none) and the record kind; only
    // kinds 1 and 2 have a marker. True when it changed (the owner repaints).
    bool setEvent(int position, int kind);
    // The display mode of the open folder; start, lap and end markers show only for
    // continuous records (mode 2).
    void setDisplayMode(int mode) { displayMode = mode; }

private:
    static constexpr int kContinuousMode = 2;

    void drawMarker(HDC dc, const AlphaImage& marker, int position, int offset);

    std::array<std::unique_ptr<AlphaImage>, 2> eventMarkers;
    std::unique_ptr<AlphaImage> startMarker;
    std::unique_ptr<AlphaImage> endMarker;
    std::array<std::unique_ptr<AlphaImage>, 9> lapMarkers;
    int eventPosition = 0;
    int eventKind = 0;
    int displayMode = 0;
};
