// The open-folder panel: its button opens the folder dialog only when released inside it,
// never while it is held (the button's auto-repeat must not repeat the command).
#include "support/PanelFakes.h"
#include "ui/ConfigPanel.h"

#include <gtest/gtest.h>

namespace {

// Dispatches messages until the button's auto-repeat timer has fired this often.
bool holdThroughRepeats(HWND button, int repeats, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    int seen = 0;
    while (seen < repeats && GetTickCount() - start < timeoutMs) {
        MSG message;
        if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            continue;
        }
        if (message.hwnd == button && message.message == WM_TIMER) ++seen;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return seen >= repeats;
}

}  // namespace

TEST(ConfigPanelButton, OpensTheFolderOnlyOnReleaseInside) {
    struct Case {
        const char* name;
        POINT release;
        int opened;
    } cases[] = {
        {"held, then released inside", {60, 15}, 1},
        {"held, then released outside", {60, 45}, 0},
    };
    for (const Case& c : cases) {
        HostWindow host(0, 0, 300, 200);
        int opened = 0;
        ConfigPanel* panel = new ConfigPanel(host.handle(), [&opened] { ++opened; });
        MoveWindow(panel->handle(), 0, 0, 185, 83, TRUE);
        HWND button = panel->openFolderButton()->handle();

        SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
        ASSERT_TRUE(holdThroughRepeats(button, 3, 10000)) << c.name << ": the button repeats while held";
        EXPECT_EQ(opened, 0) << c.name << ": nothing while held";
        SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(c.release.x, c.release.y));
        EXPECT_EQ(opened, c.opened) << c.name;
    }
}

TEST(ConfigPanelButton, SitsOnItsBackgroundWithItsPicture) {
    HostWindow host(0, 0, 300, 200);
    ConfigPanel* panel = new ConfigPanel(host.handle(), [] {});
    MoveWindow(panel->handle(), 0, 0, 185, 83, TRUE);
    CapturedPixels painted = screenClient(panel->handle());
    CapturedPixels expected = composedPictures(185, 83, {{10024, 0, 0}, {10021, 27, 29}});
    EXPECT_EQ(differingPixels(painted, expected), 0);
}
