#include "ui/GlyphSet.h"

GlyphSet::GlyphSet(int firstDigit, const std::wstring& signs, const std::vector<int>& signIds)
    : characters(L"0123456789" + signs) {
    for (int digit = 0; digit < 10; ++digit) pictures.push_back(AlphaImage::fromResource(firstDigit + digit));
    for (int id : signIds) pictures.push_back(AlphaImage::fromResource(id));
}

const AlphaImage* GlyphSet::find(wchar_t character) const {
    std::size_t index = characters.find(character);
    if (index == std::wstring::npos || index >= pictures.size() || pictures[index]->empty()) return nullptr;
    return pictures[index].get();
}

void GlyphSet::drawRun(HDC dc, int x, int y, const std::wstring& text) const {
    for (wchar_t character : text) {
        const AlphaImage* glyph = find(character);
        if (glyph == nullptr) continue;
        glyph->draw(dc, x, y);
        x += glyph->width();
    }
}
