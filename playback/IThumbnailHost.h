#pragma once
// What the thumbnail strip asks of the main window that owns it: to show one image record
// of the folder full size, and to clear everything when the folder has gone. Implemented by
// the main window; tests give their own.

class IThumbnailHost {
public:
    // The image record at index (in date-time order) goes to the video player.
    virtual void showImage(int index) = 0;
    // The folder is gone: stop the player, empty the strip and return to the empty display.
    virtual void clearDisplay() = 0;

protected:
    ~IThumbnailHost() = default;
};
