#pragma once
// Text drawn from skin pictures, one picture per character: the read-outs of the console,
// the stopwatch and the lap list. Each glyph is drawn at its own size and moves the pen on
// by its width, a blank moves it by a fixed step, other characters are skipped.
#include "playback/AlphaImage.h"

#include <windows.h>

#include <map>
#include <memory>
#include <string>

class GlyphFont {
public:
    // characters[i] is drawn with the skin picture ids[i].
    GlyphFont(const std::wstring& characters, const int* ids, int blankAdvance);

    // Draws text with its top-left corner at (x, y); returns the x after it.
    int draw(HDC dc, int x, int y, const std::wstring& text) const;

private:
    std::map<wchar_t, std::unique_ptr<AlphaImage>> glyphs;
    int blankAdvance;
};
