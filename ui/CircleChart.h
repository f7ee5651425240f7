#pragma once
// The G circle of the left column: the lateral and longitudinal G of the last ten seconds
// as a trace that fades from orange to the colour of the circle with age, the frame on
// screen as a yellow dot, and a button under the circle that chooses the G of its outer
// ring (1.0 to 3.0 G in steps of 0.5). Stopped at the start, the whole record shows in
// orange. Disabled (image mode) it shows its grey picture and no button.
#include "playback/AlphaImage.h"
#include "ui/GdiScope.h"
#include "ui/IPanelSource.h"
#include "ui/ImageButton.h"
#include "ui/ImageButtonListener.h"
#include "ui/Window.h"

#include <array>
#include <memory>

class CircleChart : public Window, public ImageButtonListener {
public:
    // The player's position state, which chooses how the trace is drawn.
    enum TraceMode { NoPosition = 0, Playing = 1, AtStart = 2, Elsewhere = 3 };
    static constexpr int kRanges = 5;
    static constexpr POINT kCentre = {93, 107};
    static constexpr int kRingRadius = 64;

    CircleChart(HWND parent, const IPanelSource& source, double maximumG);

    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // After every frame change: remembers the player's position state and draws at once.
    void refresh(int traceMode);
    // The record changed: the trace bitmap is made again, and the chart repainted.
    void discardBitmap();
    // Shows the button of the selected range (none while disabled) and repaints them all.
    void updateRangeButtons();

    void onClick(ImageButton* button) override;
    void onPress(ImageButton*) override {}

    double maximumG() const { return range; }
    ImageButton* rangeButton(int index) const { return buttons[static_cast<std::size_t>(index)]; }

    // Where a sample's G is drawn for an outer ring of maximumG: beyond the ring, on it in
    // the sample's own direction.
    static POINT pointOf(const FrameRecord& sample, double maximumG);
    // The colour of a trace line whose newer end is age frames old (window = 10 s of frames).
    static COLORREF ageColour(int age, int window, int traceMode);

private:
    void onSize();
    void onEraseBackground(HDC dc);
    void onPaint();
    // Draws the chart into its bitmap and copies it to dc: all of it, or (after a frame
    // change) only the part where the old or the new trace lies.
    void paint(HDC dc, bool whole = true);
    void drawTrace(HDC dc);
    void includeInTrace(POINT point);
    void drawWholeRecord(HDC dc, const IVideoInfo& info);
    const AlphaImage& currentBackground() const;

    const IPanelSource& source;
    GdiObject trace;  // the bitmap the chart is drawn in; made again when null
    std::unique_ptr<AlphaImage> background;
    std::unique_ptr<AlphaImage> disabledBackground;
    double range;
    std::array<ImageButton*, kRanges> buttons = {};  // child windows: they delete themselves
    int traceMode = NoPosition;
    RECT traceBounds = {};  // where the trace drawn last lies in the window
    RECT newBounds = {};    // the same for the trace being drawn
};
