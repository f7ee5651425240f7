#pragma once
// The needle dial at the top of the left column. Each speed from 0 to 180 km/h has a
// complete dial picture of its own; faster speeds pin the needle at 180. A frame without a
// speed keeps the last speed below 180 that was shown.
#include "playback/AlphaImage.h"
#include "ui/IPanelSource.h"
#include "ui/Window.h"

#include <array>
#include <memory>

class AnalogSpeedMeter : public Window {
public:
    static constexpr int kTopSpeed = 180;

    AnalogSpeedMeter(HWND parent, const IPanelSource& source);

    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Draws the current frame's needle at once (after every frame change); nothing when the
    // dial shows it already.
    void refresh();
    // Back to the needle at 0 (a record is opened or closed), repainted.
    void reset();
    // The dial picture that a frame without speed shows.
    int rememberedFrame() const { return remembered; }

private:
    void onEraseBackground(HDC dc);
    void onPaint();
    void draw(HDC dc, int frame);
    int frameToShow();
    const AlphaImage& needleFrame(int speed);

    const IPanelSource& source;
    std::unique_ptr<AlphaImage> dial;
    // Decoded when first shown: most records never pass through most speeds.
    std::array<std::unique_ptr<AlphaImage>, kTopSpeed + 1> needles;
    int remembered = 0;
    int drawnFrame = -1;  // the needle the window shows, -1 before the first drawing
};
