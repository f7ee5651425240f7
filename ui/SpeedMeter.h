#pragma once
// The digital speed meter at the top of the right column: the speed of the frame on screen
// as three large skin digits. A frame without a speed keeps the last speed shown; before
// any speed was shown the meter reads "  -".
#include "playback/AlphaImage.h"
#include "ui/GlyphSet.h"
#include "ui/IPanelSource.h"
#include "ui/Window.h"

#include <memory>
#include <string>

class SpeedMeter : public Window {
public:
    static constexpr int kNoSpeed = -1;

    SpeedMeter(HWND parent, const IPanelSource& source);

    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Draws the current frame's speed at once (after every frame change); nothing when the
    // meter shows it already.
    void refresh();
    // The speed shown when a frame has none; the main window sets 0 after a failed open.
    void setLastSpeed(int speed) { lastShown = speed; }
    int lastSpeed() const { return lastShown; }

    // The three cells of a speed: "%3d", or "  -" for a negative (unmeasured) speed.
    static std::wstring speedText(int speed);
    // The cells as text ("42 km/h", "- km/h"): the meter's window text once drawn, so that a
    // screen reader and the test bed can read the glyphs.
    static std::wstring spokenText(const std::wstring& cells);

private:
    void onPaint();
    // The text for the current frame; a measured speed becomes the last one shown.
    std::wstring textNow();
    void draw(HDC dc, const std::wstring& text);

    const IPanelSource& source;
    std::unique_ptr<AlphaImage> background;
    GlyphSet digits;
    int lastShown = kNoSpeed;
    std::wstring drawnText;  // what the window shows, empty before the first drawing
};
