#include "ui/GlyphFont.h"

GlyphFont::GlyphFont(const std::wstring& characters, const int* ids, int blankAdvance) : blankAdvance(blankAdvance) {
    for (std::size_t i = 0; i < characters.size(); ++i) glyphs[characters[i]] = AlphaImage::fromResource(ids[i]);
}

int GlyphFont::draw(HDC dc, int x, int y, const std::wstring& text) const {
    for (wchar_t character : text) {
        if (character == L' ') {
            x += blankAdvance;
            continue;
        }
        auto glyph = glyphs.find(character);
        if (glyph == glyphs.end() || glyph->second->empty()) continue;
        glyph->second->draw(dc, x, y);
        x += glyph->second->width();
    }
    return x;
}
