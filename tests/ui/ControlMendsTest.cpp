// Skinned controls: a drag that loses the mouse still ends its track, and the pointer shows
// a button's own cursor over it and the ordinary arrow over a button without one.
#include "support/MessagePump.h"
#include "support/PaintCapture.h"
#include "ui/ImageButton.h"
#include "ui/ImageTrackBar.h"

#include <gtest/gtest.h>

namespace {

struct TrackLog : ImageTrackBarListener {
    int begins = 0;
    int ends = 0;
    void onChange(ImageTrackBar*) override {}
    void onBeginTrack(ImageTrackBar*) override { ++begins; }
    void onEndTrack(ImageTrackBar*) override { ++ends; }
};

}  // namespace

TEST(ControlMends, ATrackEndsOnceWhetherReleasedOrRobbedOfTheMouse) {
    struct Case {
        const char* name;
        void (*end)(HWND bar, HWND other);
    } cases[] = {
        {"released", [](HWND bar, HWND) { SendMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(30, 5)); }},
        {"capture taken by another window", [](HWND, HWND other) { SetCapture(other); }},
        {"capture released", [](HWND, HWND) { ReleaseCapture(); }},
    };
    for (const Case& c : cases) {
        HostWindow host(0, 0, 300, 100);
        auto* bar = new ImageTrackBar(host.handle(), 10, 10, 200, 20);
        bar->setImages(solidImage(10, 20, 0xFF0000), solidImage(200, 20, 0x0000FF), nullptr);
        TrackLog log;
        bar->setListener(&log);
        SendMessageW(bar->handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 5));
        ASSERT_EQ(GetCapture(), bar->handle()) << c.name;
        EXPECT_TRUE(bar->isTracking()) << c.name;
        c.end(bar->handle(), host.handle());
        EXPECT_EQ(log.begins, 1) << c.name;
        EXPECT_EQ(log.ends, 1) << c.name;
        EXPECT_FALSE(bar->isTracking()) << c.name;
        ReleaseCapture();
        bar->setListener(nullptr);
    }
}

TEST(ControlMends, TheCursorIsTheButtonsOwnOrElseTheArrow) {
    HostWindow host(0, 0, 300, 100);
    auto* withHand = new ImageButton(host.handle(), 10, 10, 40, 40);
    auto* plain = new ImageButton(host.handle(), 100, 10, 40, 40);
    HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
    HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    withHand->setCursor(hand);
    struct Case {
        const char* name;
        HWND button;
        HCURSOR expected;
    } cases[] = {
        {"onto the button with the hand cursor", withHand->handle(), hand},
        {"from there onto a button without a cursor", plain->handle(), arrow},
        {"back again", withHand->handle(), hand},
    };
    for (const Case& c : cases) {
        RECT place;
        GetWindowRect(c.button, &place);
        SetCursorPos((place.left + place.right) / 2, (place.top + place.bottom) / 2);
        CURSORINFO shown = {};
        shown.cbSize = sizeof shown;
        EXPECT_TRUE(pumpMessagesUntil([&] { return GetCursorInfo(&shown) && shown.hCursor == c.expected; }, 5000))
            << c.name;
    }
}
