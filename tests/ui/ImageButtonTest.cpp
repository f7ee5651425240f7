#include "support/MessagePump.h"
#include "support/PaintCapture.h"
#include "ui/ImageButton.h"
#include "ui/PlayButton.h"

#include <gtest/gtest.h>
#include <mmsystem.h>

namespace {

constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kBlue = 0x0000FF;
constexpr std::uint32_t kGrey = 0x808080;

struct ButtonLog : ImageButtonListener {
    int presses = 0;
    int clicks = 0;
    void onClick(ImageButton*) override { ++clicks; }
    void onPress(ImageButton*) override { ++presses; }
};

class ImageButtonTest : public ::testing::Test {
protected:
    HostWindow host{0, 0, 200, 100};
    ImageButton* button = new ImageButton(host.handle(), 10, 10, 40, 20);
    ButtonLog log;

    void SetUp() override { button->setListener(&log); }
    void TearDown() override { ReleaseCapture(); }
    void send(UINT message, int x, int y) { SendMessageW(button->handle(), message, 0, MAKELPARAM(x, y)); }
};

TEST_F(ImageButtonTest, ClickCountsOnlyWhenReleasedInside) {
    struct Case {
        const char* name;
        int x, y;
        int clicks;
    } cases[] = {
        {"inside", 5, 5, 1},          {"last pixel inside", 39, 19, 1}, {"left of it", -1, 5, 0},
        {"above it", 5, -1, 0},       {"right of it", 40, 5, 0},        {"below it", 5, 20, 0},
    };
    for (const Case& c : cases) {
        log = ButtonLog();
        send(WM_LBUTTONDOWN, 5, 5);
        send(WM_LBUTTONUP, c.x, c.y);
        EXPECT_EQ(log.presses, 1) << c.name;
        EXPECT_EQ(log.clicks, c.clicks) << c.name;
        EXPECT_NE(GetCapture(), button->handle()) << c.name;
    }
}

TEST_F(ImageButtonTest, ReleaseInsideClicksEvenWithoutPress) {
    send(WM_LBUTTONUP, 5, 5);
    EXPECT_EQ(log.presses, 0);
    EXPECT_EQ(log.clicks, 1);
}

TEST_F(ImageButtonTest, EnterActsAsPressAndRelease) {
    SendMessageW(button->handle(), WM_KEYDOWN, VK_RETURN, 0);
    SendMessageW(button->handle(), WM_KEYDOWN, VK_RETURN, 0);  // auto-repeat of the key: already down
    SendMessageW(button->handle(), WM_KEYUP, VK_RETURN, 0);
    SendMessageW(button->handle(), WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(log.presses, 1);
    EXPECT_EQ(log.clicks, 1);
}

TEST_F(ImageButtonTest, DialogCodeWantsOnlyEnter) {
    MSG enter = {};
    enter.message = WM_KEYDOWN;
    enter.wParam = VK_RETURN;
    MSG tab = enter;
    tab.wParam = VK_TAB;
    EXPECT_EQ(SendMessageW(button->handle(), WM_GETDLGCODE, 0, reinterpret_cast<LPARAM>(&enter)), 0x84);
    EXPECT_EQ(SendMessageW(button->handle(), WM_GETDLGCODE, 0, reinterpret_cast<LPARAM>(&tab)), 0);
    EXPECT_EQ(SendMessageW(button->handle(), WM_GETDLGCODE, 0, 0), 0x84);
}

TEST_F(ImageButtonTest, HoldingRepeatsUntilDisabled) {
    constexpr DWORD kInterval = 40;
    button->setRepeatInterval(kInterval);
    DWORD pressed = timeGetTime();
    send(WM_LBUTTONDOWN, 5, 5);
    EXPECT_EQ(log.presses, 1);  // at once
    ASSERT_TRUE(pumpMessagesUntil([&] { return log.presses >= 4; })) << "the held button does not repeat";
    // A busy machine may deliver fewer ticks than the time allows, never more.
    DWORD held = timeGetTime() - pressed;
    EXPECT_LE(log.presses, 1 + static_cast<int>(held / kInterval) + 1) << "after " << held << " ms";
    button->setEnabled(false);
    int atDisable = log.presses;
    pumpMessagesFor(200);  // five intervals without a press
    EXPECT_EQ(log.presses, atDisable);
}

TEST_F(ImageButtonTest, CaptureLostEndsTheRepeat) {
    button->setRepeatInterval(30);
    send(WM_LBUTTONDOWN, 5, 5);
    ReleaseCapture();
    int atRelease = log.presses;
    pumpMessagesFor(150);  // five intervals without a press
    EXPECT_EQ(log.presses, atRelease);
}

TEST_F(ImageButtonTest, PaintsTheLookOfItsState) {
    struct Case {
        const char* name;
        bool pressedImage;
        bool edge;
        bool held;
        bool disabled;
        std::uint32_t centre;
    } cases[] = {
        {"normal", true, false, false, false, kRed},
        {"held with pressed image", true, false, true, false, kBlue},
        {"held without pressed image or edge", false, false, true, false, buttonFace()},
        {"held with edge only", false, true, true, false, kRed},
        {"disabled", true, false, false, true, kGrey},
    };
    for (const Case& c : cases) {
        button->setEnabled(true);
        button->setImages(solidImage(4, 4, kRed), c.pressedImage ? solidImage(4, 4, kBlue) : nullptr,
                          solidImage(4, 4, kGrey));
        button->setEdge(c.edge);
        if (c.held) send(WM_LBUTTONDOWN, 5, 5);
        if (c.disabled) button->setEnabled(false);
        CapturedPixels shot = printClient(button->handle());
        EXPECT_EQ(shot.at(20, 10), c.centre) << c.name;
        if (c.name == std::string("held without pressed image or edge")) {
            EXPECT_TRUE(shot.all(0, 0, 40, 20, buttonFace())) << c.name;
        }
        if (c.held) send(WM_LBUTTONUP, 100, 100);
    }
}

TEST_F(ImageButtonTest, HeldWithEdgeDrawsTheImageOnePixelLower) {
    auto striped = std::make_unique<Image>(1, 2);
    // Bottom-up: row 0 is the lower half (blue), row 1 the upper half (red).
    striped->pixels()[0] = 0xFF;
    striped->pixels()[6] = 0xFF;
    button->setImages(std::make_unique<AlphaImage>(std::move(striped)), nullptr, nullptr);
    button->setEdge(true);
    CapturedPixels up = printClient(button->handle());
    send(WM_LBUTTONDOWN, 5, 5);
    CapturedPixels down = printClient(button->handle());
    send(WM_LBUTTONUP, 100, 100);
    EXPECT_EQ(up.at(20, 9), kRed);
    EXPECT_EQ(up.at(20, 10), kBlue);
    EXPECT_EQ(down.at(20, 10), kRed);
    EXPECT_EQ(down.at(20, 11), kBlue);
}

TEST_F(ImageButtonTest, WithoutAnyImageDrawsOnlyTheBackground) {
    button->setImages(0x7FFF, 0, 0);  // no such picture
    EXPECT_TRUE(printClient(button->handle()).all(0, 0, 40, 20, buttonFace()));
}

TEST(PlayButtonTest, SecondFaceExchangesThePictures) {
    HostWindow host(0, 0, 200, 100);
    auto* button = new PlayButton(host.handle(), 0, 0, 40, 20);
    button->setImages(solidImage(2, 2, kRed), nullptr, nullptr);
    button->loadSecondFace();
    std::uint32_t first = printClient(button->handle()).at(20, 10);
    button->setFace(1);
    std::uint32_t second = printClient(button->handle()).at(20, 10);
    button->setFace(1);  // already shown: no exchange
    std::uint32_t again = printClient(button->handle()).at(20, 10);
    button->setFace(0);
    EXPECT_EQ(first, kRed);
    EXPECT_NE(second, kRed);
    EXPECT_EQ(again, second);
    EXPECT_EQ(printClient(button->handle()).at(20, 10), kRed);
    EXPECT_EQ(button->face(), 0);
}

}
