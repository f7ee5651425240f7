// The record-folder dialog changes the display mode only when it returns a folder: a choice
// it refuses (5004) leaves the open record's mode as it was.
#include "app/AppTestFolder.h"
#include "app/FolderDialog.h"
#include "support/MessageBoxRecorder.h"
#include "support/VisibleDialog.h"

#include <gtest/gtest.h>

#include <objbase.h>
#include <shlobj.h>

#include <atomic>
#include <thread>

namespace {

// The browser asks once more for its start folder with a posted message after it opened;
// the driver acts only after that message was taken, so that it cannot undo the driver's choice.
std::atomic<bool> startFolderSelectedAgain{false};

LRESULT CALLBACK watchTakenMessages(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* taken = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && taken->message == BFFM_SETSELECTIONW) startFolderSelectedAgain = true;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

TEST(FolderDialogMode, ARefusedChoiceLeavesTheDisplayModeAlone) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    AppTestFolder tree;
    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 300, 200, 700, 500, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    LPITEMIDLIST computer = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer), S_OK);
    startFolderSelectedAgain = false;
    HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, &watchTakenMessages, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);

    DWORD dialogThread = GetCurrentThreadId();
    std::atomic<bool> drove{false};
    std::thread driver([&] {
        HWND browser = nullptr;
        for (DWORD start = GetTickCount(); GetTickCount() - start < 30000; Sleep(20)) {
            browser = findVisibleDialog(dialogThread);
            if (browser != nullptr && startFolderSelectedAgain) break;
        }
        if (browser == nullptr) return;
        // Image records chosen, then "My Computer", which is no file-system folder; OK.
        SendDlgItemMessageW(browser, FolderDialog::kKindListId, CB_SETCURSEL, 1, 0);
        SendMessageW(browser, BFFM_SETSELECTIONW, FALSE, reinterpret_cast<LPARAM>(computer));
        drove = true;
        PostMessageW(browser, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(browser, IDOK)));
    });

    MessageBoxRecorder boxes;
    std::wstring folder = tree.folder(L"EVENT\\EVT00001");
    int mode = 2;
    bool chosen = FolderDialog::chooseRecordFolder(owner, folder, mode);
    driver.join();
    UnhookWindowsHookEx(hook);
    CoTaskMemFree(computer);
    DestroyWindow(owner);
    CoUninitialize();

    ASSERT_TRUE(drove);
    EXPECT_FALSE(chosen);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, L"指定されたフォルダを選択できません。");
    EXPECT_EQ(mode, 2) << "the refused choice changed the display mode";
}
