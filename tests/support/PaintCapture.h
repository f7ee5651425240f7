#pragma once
// Reads back what a window painted, as 0x00RRGGBB values in top-down rows, and makes
// solid skin pictures of a known colour to paint with.
#include "playback/AlphaImage.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

struct CapturedPixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // top-down rows, 0x00RRGGBB

    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    // True when every pixel of the rectangle [x0, x1) x [y0, y1) has this colour.
    bool all(int x0, int y0, int x1, int y1, std::uint32_t colour) const;
};

// 0x00RRGGBB of a COLORREF, the form CapturedPixels holds.
std::uint32_t rgbOf(COLORREF colour);
// The button face the controls erase with.
std::uint32_t buttonFace();

// Asks the window to erase and paint its client area into a memory bitmap
// (WM_ERASEBKGND, then WM_PRINTCLIENT) and returns the result.
CapturedPixels printClient(HWND window);
// Repaints the window at once and copies its client area from the window's own DC: what
// WM_PAINT really put there.
CapturedPixels screenClient(HWND window);
// Copies a bitmap handle's pixels.
CapturedPixels bitmapPixels(HBITMAP bitmap);

// A picture of one colour (0x00RRGGBB).
std::unique_ptr<Image> solidPicture(int width, int height, std::uint32_t rgb);
std::unique_ptr<AlphaImage> solidImage(int width, int height, std::uint32_t rgb);
// A skin picture of the program's resources decoded in full colour: the pixels a widget
// drawing it must show. Empty when the resource is missing.
std::unique_ptr<Image> skinPicture(int id);

// A visible top-level window without frame for controls to live in; destroyed with the object.
class HostWindow {
public:
    HostWindow(int x, int y, int width, int height);
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;
    HWND handle() const { return window; }

private:
    HWND window;
};
