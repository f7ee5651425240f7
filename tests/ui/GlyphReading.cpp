#include "GlyphReading.h"

#include <sstream>

GlyphSet readoutGlyphs() {
    return {L"0123456789.+-\u00B1", {237, 238, 239, 240, 241, 242, 243, 244, 245, 246, 247, 249, 248, 236}, 0};
}

GlyphSet totalLineGlyphs() {
    std::vector<int> ids;
    for (int id = 10090; id <= 10102; ++id) ids.push_back(id);
    return {L"0123456789\u2032\u2033-", ids, 15};
}

GlyphSet lapListGlyphs() {
    std::vector<int> ids;
    for (int id = 10133; id <= 10146; ++id) ids.push_back(id);
    return {L"0123456789\u2032\u2033-:", ids, 9};
}

::testing::AssertionResult showsText(const CapturedPixels& shot, const GlyphSet& set, int x, int y,
                                     const std::wstring& text) {
    for (std::size_t at = 0; at < text.size(); ++at) {
        wchar_t character = text[at];
        if (character == L' ') {
            x += set.blankAdvance;
            continue;
        }
        std::size_t index = set.characters.find(character);
        if (index == std::wstring::npos) return ::testing::AssertionFailure() << "no glyph for character " << at;
        std::unique_ptr<Image> glyph = skinPicture(set.ids[index]);
        const Image* picture = glyph.get();
        if (picture == nullptr) return ::testing::AssertionFailure() << "glyph " << set.ids[index] << " missing";
        for (int row = 0; row < picture->height(); ++row) {
            // Image rows are stored bottom-up, blue first.
            const std::uint8_t* source = picture->pixels() + static_cast<std::size_t>(picture->height() - 1 - row) *
                                                                   picture->width() * 4;
            for (int column = 0; column < picture->width(); ++column) {
                std::uint32_t expected = (source[column * 4 + 2] << 16) | (source[column * 4 + 1] << 8) | source[column * 4];
                int px = x + column;
                int py = y + row;
                if (px < 0 || py < 0 || px >= shot.width || py >= shot.height || shot.at(px, py) != expected)
                    return ::testing::AssertionFailure()
                           << "character " << at << " (glyph " << set.ids[index] << ") differs at (" << px << ", " << py << ")";
            }
        }
        x += picture->width();
    }
    return ::testing::AssertionSuccess();
}
