#include "tools/samplecard/Canvas.h"

#include "tools/samplecard/BitmapFont.h"

#include <algorithm>

Canvas::Canvas(int width, int height) {
    picture.width = width;
    picture.height = height;
    picture.rgb.assign(static_cast<std::size_t>(width) * height * 3, 0);
}

void Canvas::set(int x, int y, Colour colour) {
    if (x < 0 || y < 0 || x >= picture.width || y >= picture.height) return;
    std::uint8_t* pixel = &picture.rgb[(static_cast<std::size_t>(y) * picture.width + x) * 3];
    pixel[0] = colour.red;
    pixel[1] = colour.green;
    pixel[2] = colour.blue;
}

void Canvas::fillRect(int left, int top, int right, int bottom, Colour colour) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, picture.width);
    bottom = std::min(bottom, picture.height);
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) set(x, y, colour);
    }
}

void Canvas::darken(int left, int top, int right, int bottom, double keep) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, picture.width);
    bottom = std::min(bottom, picture.height);
    for (int y = top; y < bottom; ++y) {
        std::uint8_t* pixel = &picture.rgb[(static_cast<std::size_t>(y) * picture.width + left) * 3];
        for (int i = 0; i < (right - left) * 3; ++i) pixel[i] = static_cast<std::uint8_t>(pixel[i] * keep);
    }
}

int Canvas::textWidth(const std::string& text, int scale) {
    return static_cast<int>(text.size()) * BitmapFont::kAdvance * scale;
}

void Canvas::drawText(int left, int top, const std::string& text, int scale, Colour colour) {
    const Colour shadow{0, 0, 0};
    for (int pass = 0; pass < 2; ++pass) {
        const int offset = pass == 0 ? std::max(1, scale / 2) : 0;
        const Colour ink = pass == 0 ? shadow : colour;
        int x = left;
        for (char c : text) {
            const auto rows = BitmapFont::glyph(c);
            for (int row = 0; row < BitmapFont::kHeight; ++row) {
                for (int column = 0; column < BitmapFont::kWidth; ++column) {
                    if (!(rows[row] & (0x10 >> column))) continue;
                    const int px = x + column * scale + offset;
                    const int py = top + row * scale + offset;
                    fillRect(px, py, px + scale, py + scale, ink);
                }
            }
            x += BitmapFont::kAdvance * scale;
        }
    }
}
