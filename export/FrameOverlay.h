#pragma once
// Burns what the recorder logged with a frame into its picture: date and time, speed and G,
// white on a darkened band along the bottom, sized to stay legible on a 640 x 480 frame.
// Uses its own memory DC and font, so a worker thread may hold one.
#include "archive/FrameRecord.h"
#include "playback/decode/Image.h"

#include <windows.h>

#include <string>

class FrameOverlay {
public:
    // The band's darkening: what is left of each colour, in 256ths.
    static constexpr int kBandKeep = 90;

    FrameOverlay();
    ~FrameOverlay();
    FrameOverlay(const FrameOverlay&) = delete;
    FrameOverlay& operator=(const FrameOverlay&) = delete;

    // Draws into picture; false when the system could not draw (the picture is then unchanged).
    bool draw(Image& picture, const FrameRecord* record);

    // "2026/12/08 09:41:07   62 km/h  G 0.45 (+0.40 -0.21)", in the recorder's local time;
    // unknown values as dashes.
    static std::wstring text(const FrameRecord* record);
    // Height of the band on a picture of this height, in pixels.
    static int bandHeight(int pictureHeight);

private:
    bool prepare(int width, int height);
    void release();

    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ originalBitmap = nullptr;
    HFONT font = nullptr;
    HGDIOBJ originalFont = nullptr;
    void* bits = nullptr;
    int width = 0;
    int height = 0;
};
