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

    // A decoded dial picture is 100 KB and a drive passes through most speeds: only the
    // needles shown last are kept, which the speed, changing a little from frame to frame,
    // mostly comes back to.
    struct CachedNeedle {
        int speed = -1;
        unsigned lastUse = 0;
        std::unique_ptr<AlphaImage> picture;
    };
    static constexpr std::size_t kCachedNeedles = 8;

    const IPanelSource& source;
    std::unique_ptr<AlphaImage> dial;
    std::array<CachedNeedle, kCachedNeedles> needles;
    unsigned uses = 0;
    int remembered = 0;
    int drawnFrame = -1;  // the needle the window shows, -1 before the first drawing
};
