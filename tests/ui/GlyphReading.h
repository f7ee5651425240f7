#pragma once
// Reads text drawn from skin glyphs back out of captured pixels: the glyphs are drawn opaque
// at their own size, so each character's picture appears exactly where the text puts it.
#include "support/PaintCapture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

struct GlyphSet {
    std::wstring characters;
    std::vector<int> ids;  // the skin picture of each character
    int blankAdvance;
};

// The console's seconds-from-event read-out, the stopwatch's first line and the LAP LIST.
GlyphSet readoutGlyphs();
GlyphSet totalLineGlyphs();
GlyphSet lapListGlyphs();

// Success when text, drawn with the set from (x, y), is what the capture shows there.
::testing::AssertionResult showsText(const CapturedPixels& shot, const GlyphSet& set, int x, int y,
                                     const std::wstring& text);
