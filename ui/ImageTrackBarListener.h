#pragma once
// How an image track bar reports to its owner, synchronously on the user-interface thread.
class ImageTrackBar;

class ImageTrackBarListener {
public:
    // The position changed; also sent at each tick while the mouse button is held.
    virtual void onChange(ImageTrackBar* trackBar) = 0;
    // The left mouse button went down on the track bar.
    virtual void onBeginTrack(ImageTrackBar* trackBar) = 0;
    // The left mouse button was released after a press on the track bar.
    virtual void onEndTrack(ImageTrackBar* trackBar) = 0;

protected:
    ~ImageTrackBarListener() = default;
};
