// Command 40024 of the main window reaches the restore: it asks for the card in a dialog
// owned by the main window while the settings lock is held, and a dialog that does not come
// up ends the command without writing or telling anything.
#include "app/MainWindow.h"
#include "support/MainWindowFixture.h"
#include "support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

namespace {

const std::wstring kHeldElsewhere = L"別のSCENOVAで設定ダイアログを開いています。";
const ATOM kDialogClass = 32770;

// What the hook saw of the dialog the command tried to open. The dialog itself is refused:
// a real folder browser here would slow down the shell browsers of other test programs
// running at the same time.
struct RefusedDialog {
    bool seen = false;
    HWND owner = nullptr;
    bool lockHeld = false;
};
RefusedDialog refused;
HHOOK hook = nullptr;

LRESULT CALLBACK refuseDialogs(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTW* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
        if (IS_INTRESOURCE(create->lpszClass) && LOWORD(create->lpszClass) == kDialogClass) {
            refused.seen = true;
            refused.owner = create->hwndParent;
            HANDLE lock = OpenMutexW(SYNCHRONIZE, FALSE, L"ZEPHRA_VIEWER");
            refused.lockHeld = lock != nullptr;
            if (lock != nullptr) CloseHandle(lock);
            return 1;
        }
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

using RestoreCommand = MainWindowFixture;

}  // namespace

TEST_F(RestoreCommand, AsksForTheCardUnderTheLockAndEndsWhenNoCardIsChosen) {
    MessageBoxRecorder boxes;
    const std::wstring driveBefore = window->settingsDrive();

    hook = SetWindowsHookExW(WH_CBT, &refuseDialogs, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    SendMessageW(handle, WM_COMMAND, MAKEWPARAM(MainWindow::kRestoreCommand, 0), 0);
    UnhookWindowsHookEx(hook);

    EXPECT_TRUE(refused.seen);
    EXPECT_EQ(refused.owner, handle);
    EXPECT_TRUE(refused.lockHeld);
    // Only another test program holding the lock at the same moment may cause a box.
    for (const RecordedMessageBox& box : boxes.boxes()) EXPECT_EQ(box.text, kHeldElsewhere);
    EXPECT_EQ(window->settingsDrive(), driveBefore);
}
