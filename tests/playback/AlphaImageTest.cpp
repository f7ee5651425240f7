#include "playback/AlphaImage.h"

#include "support/PaintCapture.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

// A 32-bit top-down DIB section selected into a memory DC, filled with one colour.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill) : width(width), height(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
        old = SelectObject(dc, bitmap);
        for (int i = 0; i < width * height; ++i) bits[i] = RGB(GetBValue(fill), GetGValue(fill), GetRValue(fill));
    }
    ~Canvas() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    // The colour at (x, y), y from the top, as 0x00RRGGBB.
    std::uint32_t at(int x, int y) const { return bits[y * width + x] & 0xFFFFFF; }

    HDC dc;
    int width, height;

private:
    HBITMAP bitmap;
    HGDIOBJ old;
    std::uint32_t* bits = nullptr;
};

// A picture of 4 x 2 pixels: columns 0..3 of the bottom row are 0x000010 .. 0x000013,
// of the top row 0x000020 .. 0x000023; the fourth byte is set to show it is ignored.
std::unique_ptr<Image> numberedPicture() {
    auto image = std::make_unique<Image>(4, 2);
    for (int row = 0; row < 2; ++row) {
        for (int x = 0; x < 4; ++x) {
            std::uint8_t* p = image->bufferRow(row) + x * 4;
            p[0] = static_cast<std::uint8_t>((row == 0 ? 0x10 : 0x20) + x);  // blue
            p[1] = 0;
            p[2] = 0;
            p[3] = 0x80;
        }
    }
    return image;
}

constexpr COLORREF kBackground = RGB(0x55, 0x55, 0x55);
constexpr std::uint32_t kBackgroundPixel = 0x555555;

}  // namespace

TEST(AlphaImage, DrawsTheWholePictureOpaqueAtItsNaturalSize) {
    AlphaImage skin(numberedPicture());
    Canvas canvas(8, 6, kBackground);
    skin.draw(canvas.dc, 2, 1);
    EXPECT_EQ(canvas.at(2, 1), 0x20u);  // top picture row, first column
    EXPECT_EQ(canvas.at(5, 1), 0x23u);
    EXPECT_EQ(canvas.at(2, 2), 0x10u);  // bottom picture row
    EXPECT_EQ(canvas.at(5, 2), 0x13u);
    EXPECT_EQ(canvas.at(1, 1), kBackgroundPixel);
    EXPECT_EQ(canvas.at(6, 2), kBackgroundPixel);
    EXPECT_EQ(canvas.at(2, 3), kBackgroundPixel);
}

TEST(AlphaImage, StretchesTheWholePicture) {
    AlphaImage skin(numberedPicture());
    Canvas canvas(8, 4, kBackground);
    skin.draw(canvas.dc, 0, 0, 8, 4);
    EXPECT_EQ(canvas.at(0, 0), 0x20u);
    EXPECT_EQ(canvas.at(1, 1), 0x20u);
    EXPECT_EQ(canvas.at(7, 1), 0x23u);
    EXPECT_EQ(canvas.at(0, 3), 0x10u);
    EXPECT_EQ(canvas.at(7, 3), 0x13u);
}

TEST(AlphaImage, DrawsASourceColumnRangeCountedFromTheBottomEdge) {
    AlphaImage skin(numberedPicture());
    Canvas canvas(4, 4, kBackground);
    // Two columns from column 1, one row high: the bottom row's columns 1 and 2.
    skin.draw(canvas.dc, 0, 0, 2, 1, 1, 2, 1);
    EXPECT_EQ(canvas.at(0, 0), 0x11u);
    EXPECT_EQ(canvas.at(1, 0), 0x12u);
    EXPECT_EQ(canvas.at(2, 0), kBackgroundPixel);
    EXPECT_EQ(canvas.at(0, 1), kBackgroundPixel);
}

TEST(AlphaImage, WithoutAPictureDrawsNothing) {
    AlphaImage empty;
    Canvas canvas(4, 4, kBackground);
    empty.draw(canvas.dc, 0, 0);
    empty.draw(canvas.dc, 0, 0, 4, 4);
    empty.draw(canvas.dc, 0, 0, 4, 4, 0, 1, 1);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(canvas.at(x, y), kBackgroundPixel) << x << "," << y;
    EXPECT_TRUE(AlphaImage::fromResource(1)->empty());  // id 1 holds no picture
}

// Skin pictures of up to 256 colours are kept as indexes into their colours (palette PNGs,
// and full-colour PNGs that use no more colours than that); drawn, they must show exactly
// the pixels of the full-colour decode, whole, stretched and in part. The widths (185, 182,
// 210) leave rows that are padded in memory.
TEST(AlphaImage, IndexedSkinPicturesDrawTheirFullColourPixels) {
    enum class Draw { NaturalSize, Stretched, ColumnRange };
    struct Case {
        const char* name;
        int id;
        Draw how;
    } cases[] = {
        {"panel background, natural size", 451, Draw::NaturalSize},
        {"speed needle, stretched", 11050, Draw::Stretched},
        {"chart background, a range of columns", 10132, Draw::ColumnRange},
        {"digit glyph of few colours, stored in full colour", 237, Draw::Stretched},
    };
    for (const Case& c : cases) {
        std::unique_ptr<AlphaImage> indexed = AlphaImage::fromResource(c.id);
        AlphaImage fullColour(skinPicture(c.id));
        ASSERT_FALSE(fullColour.empty()) << c.name;
        ASSERT_EQ(indexed->width(), fullColour.width()) << c.name;
        ASSERT_EQ(indexed->height(), fullColour.height()) << c.name;
        const int w = fullColour.width(), h = fullColour.height();
        Canvas ours(w + 4, h + 4, kBackground), expected(w + 4, h + 4, kBackground);
        for (auto [skin, canvas] : {std::pair{indexed.get(), &ours}, std::pair{&fullColour, &expected}}) {
            switch (c.how) {
            case Draw::NaturalSize: skin->draw(canvas->dc, 2, 2); break;
            case Draw::Stretched: skin->draw(canvas->dc, 1, 3, w * 2 / 3, h + 1); break;
            case Draw::ColumnRange: skin->draw(canvas->dc, 0, 0, w / 2, h / 3, w / 3, w / 2, h / 3); break;
            }
        }
        int differing = 0;
        for (int y = 0; y < h + 4; ++y)
            for (int x = 0; x < w + 4; ++x) differing += ours.at(x, y) != expected.at(x, y);
        EXPECT_EQ(differing, 0) << c.name;
        EXPECT_NE(ours.at(w / 4, h / 4), kBackgroundPixel) << c.name << ": nothing was drawn";
    }
}
