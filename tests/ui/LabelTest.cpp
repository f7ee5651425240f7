#include "support/PaintCapture.h"
#include "ui/Label.h"
#include "ui/LinkLabel.h"

#include <gtest/gtest.h>

namespace {

HWND makeStatic(HWND parent, const wchar_t* text, int width, int height) {
    HWND control = CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE, 0, 0, width, height, parent, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return control;
}

TEST(LabelTest, PlacesTextByItsAlignment) {
    const SIZE text = {20, 10};
    const SIZE client = {101, 51};
    struct Case {
        int alignment;
        POINT expected;
    } cases[] = {
        {0, {0, 0}},   {1, {40, 0}},   {2, {81, 0}},  {3, {0, 20}},  {4, {40, 20}},
        {5, {81, 20}}, {6, {0, 41}},   {7, {40, 41}}, {8, {81, 41}}, {9, {0, 0}}, {-1, {0, 0}},
    };
    for (const Case& c : cases) {
        POINT at = Label::placeText(c.alignment, text, client);
        EXPECT_EQ(at.x, c.expected.x) << "alignment " << c.alignment;
        EXPECT_EQ(at.y, c.expected.y) << "alignment " << c.alignment;
    }
}

TEST(LabelTest, DrawsItsImageCentred) {
    HostWindow host(0, 0, 200, 100);
    auto* label = new Label(makeStatic(host.handle(), L"", 20, 10));
    label->setImage(solidImage(4, 4, 0xFF0000));
    CapturedPixels shot = printClient(label->handle());
    EXPECT_TRUE(shot.all(8, 3, 12, 7, 0xFF0000));
    EXPECT_EQ(shot.at(7, 3), buttonFace());
    EXPECT_EQ(shot.at(12, 6), buttonFace());
}

TEST(LabelTest, DrawsTextInItsColour) {
    HostWindow host(0, 0, 200, 100);
    auto* label = new Label(makeStatic(host.handle(), L"", 120, 30));
    label->setText(L"MMMM");
    label->setTextColour(RGB(0, 0, 255));
    label->setAlignment(Label::Centre);
    CapturedPixels shot = printClient(label->handle());
    int blue = 0;
    for (std::uint32_t pixel : shot.pixels) blue += pixel == 0x0000FF;
    EXPECT_GT(blue, 10);
    EXPECT_TRUE(shot.all(0, 0, 20, 30, buttonFace()));  // centred: the left edge stays empty
}

TEST(LinkLabelTest, TakesTheControlsTextUnderlinedInBlue) {
    HostWindow host(0, 0, 200, 100);
    HWND control = makeStatic(host.handle(), L"support page", 120, 20);
    auto* link = new LinkLabel(control);
    EXPECT_EQ(link->labelText(), L"support page");
    EXPECT_EQ(link->textColour(), 0xFF0000u);
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    LOGFONTW description = {};
    ASSERT_EQ(GetObjectW(font, sizeof description, &description), static_cast<int>(sizeof description));
    EXPECT_TRUE(description.lfUnderline);
}

}
