#pragma once
// Drawing onto a picture for a recorded frame: filled rectangles, shaded rows and text in a
// built-in 5 x 7 pixel font, enough for a synthetic road scene and its time overlay.
#include "tools/writer/RgbPicture.h"

#include <cstdint>
#include <string>

struct Colour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};

class Canvas {
public:
    Canvas(int width, int height);

    int width() const { return picture.width; }
    int height() const { return picture.height; }
    const RgbPicture& result() const { return picture; }

    void set(int x, int y, Colour colour);
    // Clipped to the picture.
    void fillRect(int left, int top, int right, int bottom, Colour colour);
    // Darkens a rectangle to a fraction of its brightness (a translucent band for text).
    void darken(int left, int top, int right, int bottom, double keep);
    // Text in the built-in font, each font pixel scale x scale; unknown characters are
    // blank. A one-pixel shadow keeps it readable on any background.
    void drawText(int left, int top, const std::string& text, int scale, Colour colour);
    static int textWidth(const std::string& text, int scale);

private:
    RgbPicture picture;
};
