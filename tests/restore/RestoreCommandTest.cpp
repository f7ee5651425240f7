// Command 40024 of the main window reaches the restore: the drive dialog opens with the
// restore's prompt while the settings lock is held, and cancelling it ends the command.
#include "app/Application.h"
#include "app/MainWindow.h"
#include "support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <objbase.h>

#include <atomic>
#include <thread>

namespace {

const std::wstring kPrompt = L"復元するSDメモリーカードのドライブを選択してください。";
const std::wstring kHeldElsewhere = L"別のSCENOVAで設定ダイアログを開いています。";

struct BrowserSearch {
    const std::wstring* prompt;
    HWND found;
};

BOOL CALLBACK findPromptedWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<BrowserSearch*>(data);
    if (!IsWindowVisible(window)) return TRUE;
    HWND label = FindWindowExW(window, nullptr, L"Static", search->prompt->c_str());
    if (label == nullptr) return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

TEST(RestoreCommand, OpensTheDriveDialogUnderTheLockAndStopsWhenCancelled) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    OSVERSIONINFOEXW version = {};
    version.dwOSVersionInfoSize = sizeof version;
    version.dwMajorVersion = 10;
    Application::setOsVersion(version);
    MessageBoxRecorder boxes;
    auto* window = new MainWindow();
    HWND handle = window->handle();
    const std::wstring driveBefore = window->settingsDrive();

    DWORD thread = GetCurrentThreadId();
    std::atomic<bool> browserSeen{false};
    std::atomic<bool> lockHeld{false};
    std::thread user([&] {
        // Generous: the first shell browser of a fresh Wine prefix takes a while.
        for (DWORD start = GetTickCount(); GetTickCount() - start < 60000;) {
            BrowserSearch search = {&kPrompt, nullptr};
            EnumThreadWindows(thread, &findPromptedWindow, reinterpret_cast<LPARAM>(&search));
            if (search.found != nullptr) {
                browserSeen = true;
                HANDLE lock = OpenMutexW(SYNCHRONIZE, FALSE, L"ZEPHRA_VIEWER");
                lockHeld = lock != nullptr;
                if (lock != nullptr) CloseHandle(lock);
                PostMessageW(search.found, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                return;
            }
            Sleep(20);
        }
    });
    SendMessageW(handle, WM_COMMAND, MAKEWPARAM(MainWindow::kRestoreCommand, 0), 0);
    user.join();

    EXPECT_TRUE(browserSeen);
    EXPECT_TRUE(lockHeld);
    for (const RecordedMessageBox& box : boxes.boxes()) EXPECT_EQ(box.text, kHeldElsewhere);
    EXPECT_EQ(window->settingsDrive(), driveBefore);
    DestroyWindow(handle);
    CoUninitialize();
}
