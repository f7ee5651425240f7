#pragma once
// A horizontal slider drawn from skin pictures: a channel (optionally split into a filled
// part left of the thumb and an unfilled part right of it) and a thumb. It reports to its
// listener when a drag begins, every 100 ms while it lasts, and when it ends. Markers
// (start, end, laps) can be given; with the restricted flag the mouse cannot choose a
// position left of the last of them.
#include "playback/AlphaImage.h"
#include "ui/ImageTrackBarListener.h"
#include "ui/Window.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class TrackToolTip;

// Positions of the markers on the bar; 0 means none. The lap list ends at its first 0.
struct TrackMarkers {
    static constexpr int kMaxLaps = 10;
    std::int32_t start = 0;
    std::int32_t end = 0;
    std::int32_t laps[kMaxLaps] = {};
};
static_assert(sizeof(TrackMarkers) == 48, "the marker record is 48 bytes");

class ImageTrackBar : public Window {
public:
    using TextFormatter = std::function<std::wstring(int position)>;

    ImageTrackBar(HWND parent, int x, int y, int width, int height);

    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Draws the channel when the split flag is set.
    virtual void drawChannel(HDC dc, int width, int height);

    // Loads the skin pictures; the filled channel may be 0 (none).
    void setImages(int thumbId, int channelId, int filledId);
    void setImages(std::unique_ptr<AlphaImage> thumb, std::unique_ptr<AlphaImage> channel,
                   std::unique_ptr<AlphaImage> filled);

    void setListener(ImageTrackBarListener* value) { listener = value; }
    // Bounds min and max(max, min); a position outside them moves to the nearer bound
    // without telling the listener.
    void setRange(int minimum, int maximum);
    // Clamps into the range; tells the listener of a change only when notify is set.
    void setPosition(int value, bool notify);
    int position() const { return currentPosition; }
    int rangeMinimum() const { return minimum; }
    int rangeMaximum() const { return maximum; }
    int thumbX() const { return thumbLeft; }
    // True when the markers changed (the owner repaints).
    bool setMarkers(const TrackMarkers& value);
    const TrackMarkers& trackMarkers() const { return markers; }
    void setRestricted(bool value) { restricted = value; }
    void setSplit(bool value) { split = value; }
    void setToolTip(TrackToolTip* value) { toolTip = value; }
    void setTextFormatter(TextFormatter value) { formatter = std::move(value); }
    // A track runs from the press on the bar to its release (or the loss of the mouse).
    bool isTracking() const { return tracking; }

    // The tool-tip text of a position: the formatter's, else the number.
    std::wstring positionText(int value) const;

protected:
    // Left edge of the thumb for a position.
    int thumbXOf(int value) const;
    // Thumb centre of a position; markers are placed by it.
    int thumbCentreOf(int value) const { return thumbXOf(value) + thumbWidth() / 2; }
    int thumbWidth() const { return thumbImage ? thumbImage->width() : 0; }

    std::unique_ptr<AlphaImage> thumbImage;
    std::unique_ptr<AlphaImage> channelImage;
    std::unique_ptr<AlphaImage> filledImage;
    TrackMarkers markers;

private:
    static constexpr UINT_PTR kTrackTimer = 0;
    static constexpr UINT kTrackTickMs = 100;
    // The tracking tip floats this far above the bar.
    static constexpr int kToolTipLift = 20;

    bool hasPictures() const;
    int clientWidth() const;
    void setFromPixel(int pixel, bool notify);
    // Restricted bars: the mouse may not choose a pixel left of this.
    int lowerBound() const;
    bool belowLowerBound(int pixel) const { return restricted && pixel < lowerBound(); }
    void moveThumbTo(int x);

    void onLButtonDown(int x);
    void onMouseMove(int x);
    void onTimer();
    void onLButtonUp(int x);
    void onCaptureChanged();
    void endTrack();
    void onSize();
    LRESULT onEraseBackground(HDC dc);
    void onPaint();
    void paint(HDC dc);
    void notifyChange();

    ImageTrackBarListener* listener = nullptr;
    int thumbLeft = 0;
    int minimum = 0;
    int maximum = 100;
    int currentPosition = 0;
    bool split = false;
    TrackToolTip* toolTip = nullptr;
    TextFormatter formatter;
    bool restricted = false;
    bool tracking = false;
};
