#pragma once
// The skin pictures that draw the characters of a panel's text (digits and a few signs),
// one picture per character.
#include "playback/AlphaImage.h"

#include <memory>
#include <string>
#include <vector>

#include <windows.h>

class GlyphSet {
public:
    // "0" to "9" from the picture firstDigit onwards, then one character per extra id:
    // GlyphSet(225, L"-/", {235, 224}).
    GlyphSet(int firstDigit, const std::wstring& signs, const std::vector<int>& signIds);

    // The picture of a character; nullptr for a character without one or whose picture is missing.
    const AlphaImage* find(wchar_t character) const;
    // Draws text from (x, y), each glyph at its own size, advancing by its width; a character
    // without a glyph is skipped without advancing.
    void drawRun(HDC dc, int x, int y, const std::wstring& text) const;

private:
    std::wstring characters;
    std::vector<std::unique_ptr<AlphaImage>> pictures;
};
