// The folder browser in both forms, answered from a helper thread the way a user would:
// pick the kind, press OK or Cancel.
#include "app/AppTestFolder.h"
#include "app/FolderDialog.h"
#include "support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <objbase.h>
#include <shlobj.h>

#include <atomic>
#include <functional>
#include <thread>

namespace {

struct BrowserSeen {
    HWND browser = nullptr;
    bool hasKindList = false;
    LRESULT preselected = CB_ERR;
    std::wstring labelText;
    RECT rect = {};
};

HWND findBrowser(DWORD thread) {
    HWND found = nullptr;
    EnumThreadWindows(
        thread,
        [](HWND window, LPARAM data) -> BOOL {
            wchar_t name[16];
            GetClassNameW(window, name, 16);
            if (wcscmp(name, L"#32770") != 0 || !IsWindowVisible(window)) return TRUE;
            *reinterpret_cast<HWND*>(data) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// Waits on another thread for the browser of thread, notes what it shows, lets act do
// what the user would, then presses the button.
class BrowserDriver {
public:
    BrowserDriver(DWORD thread, int button, std::function<void(HWND)> act = nullptr)
        : worker([this, thread, button, act] {
              for (int i = 0; i < 500 && seen.browser == nullptr; ++i) {
                  seen.browser = findBrowser(thread);
                  if (seen.browser == nullptr) Sleep(20);
              }
              if (seen.browser == nullptr) return;
              Sleep(300);  // let the browser settle its tree and selection
              GetWindowRect(seen.browser, &seen.rect);
              HWND list = GetDlgItem(seen.browser, FolderDialog::kKindListId);
              seen.hasKindList = list != nullptr;
              if (list != nullptr) seen.preselected = SendMessageW(list, CB_GETCURSEL, 0, 0);
              wchar_t label[32] = {};
              GetDlgItemTextW(seen.browser, FolderDialog::kKindLabelId, label, 32);
              seen.labelText = label;
              if (act) act(seen.browser);
              PostMessageW(seen.browser, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                           reinterpret_cast<LPARAM>(GetDlgItem(seen.browser, button)));
          }) {}
    ~BrowserDriver() {
        if (worker.joinable()) worker.join();
    }
    const BrowserSeen& result() {
        if (worker.joinable()) worker.join();
        return seen;
    }

private:
    BrowserSeen seen;
    std::thread worker;
};

class FolderDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 300, 200, 700, 500, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
        start = tree.folder(L"EVENT\\EVT00001");
    }
    void TearDown() override {
        DestroyWindow(owner);
        CoUninitialize();
    }

    void expectCentredOverOwner(const RECT& browser) const {
        RECT reference;
        GetWindowRect(owner, &reference);
        EXPECT_NEAR((browser.left + browser.right) / 2, (reference.left + reference.right) / 2, 1);
        EXPECT_NEAR((browser.top + browser.bottom) / 2, (reference.top + reference.bottom) / 2, 1);
    }

    AppTestFolder tree;
    HWND owner = nullptr;
    std::wstring start;
};

void chooseKind(HWND browser, int kind) {
    HWND list = GetDlgItem(browser, FolderDialog::kKindListId);
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(kind), 0);
}

}  // namespace

TEST_F(FolderDialogTest, TheRecordFolderDialogSetsTheChosenKind) {
    struct Case {
        const char* name;
        int modeBefore;
        int chosenKind;
    } cases[] = {
        {"continuous preselected, image chosen", 2, 1},
        {"event preselected, continuous chosen", 0, 2},
        {"image preselected, kept", 1, 1},
    };
    for (const Case& c : cases) {
        MessageBoxRecorder boxes;
        std::wstring folder = start;
        int mode = c.modeBefore;
        BrowserDriver driver(GetCurrentThreadId(), IDOK, [&](HWND browser) { chooseKind(browser, c.chosenKind); });
        bool chosen = FolderDialog::chooseRecordFolder(owner, folder, mode);
        const BrowserSeen& seen = driver.result();
        ASSERT_NE(seen.browser, nullptr) << c.name;
        EXPECT_TRUE(seen.hasKindList) << c.name;
        EXPECT_EQ(seen.labelText, L"ﾃﾞｰﾀ種別:") << c.name;
        EXPECT_EQ(seen.preselected, c.modeBefore) << c.name;
        EXPECT_TRUE(chosen) << c.name;
        EXPECT_EQ(mode, c.chosenKind) << c.name;
        EXPECT_EQ(folder, start) << c.name << ": the start folder is selected";
        EXPECT_TRUE(boxes.boxes().empty()) << c.name;
        expectCentredOverOwner(seen.rect);
    }
}

TEST_F(FolderDialogTest, CancellingReturnsFalseWithoutAMessage) {
    struct Case {
        const char* name;
        bool recordVariant;
    } cases[] = {{"record folder", true}, {"drive", false}};
    for (const Case& c : cases) {
        MessageBoxRecorder boxes;
        std::wstring folder = start;
        int mode = 2;
        BrowserDriver driver(GetCurrentThreadId(), IDCANCEL, [](HWND browser) { chooseKind(browser, 0); });
        bool chosen = c.recordVariant
                          ? FolderDialog::chooseRecordFolder(owner, folder, mode)
                          : FolderDialog::chooseDrive(L"SDメモリーカードのドライブを選択してください。", owner, folder);
        ASSERT_NE(driver.result().browser, nullptr) << c.name;
        EXPECT_FALSE(chosen) << c.name;
        EXPECT_EQ(mode, 2) << c.name;
        EXPECT_EQ(folder, start) << c.name;
        EXPECT_TRUE(boxes.boxes().empty()) << c.name;
    }
}

TEST_F(FolderDialogTest, TheDriveDialogHasNoKindList) {
    std::wstring folder = start;
    BrowserDriver driver(GetCurrentThreadId(), IDOK);
    bool chosen = FolderDialog::chooseDrive(L"SDメモリーカードのドライブを選択してください。", owner, folder);
    EXPECT_FALSE(driver.result().hasKindList);
    expectCentredOverOwner(driver.result().rect);
    EXPECT_TRUE(chosen);
    EXPECT_EQ(folder, start);
}

TEST_F(FolderDialogTest, AChoiceOutsideTheFileSystemIsRefusedWithAWarning) {
    MessageBoxRecorder boxes;
    std::wstring folder = start;
    int mode = 0;
    LPITEMIDLIST computer = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer), S_OK);
    BrowserDriver driver(GetCurrentThreadId(), IDOK, [computer](HWND browser) {
        SendMessageW(browser, BFFM_SETSELECTIONW, FALSE, reinterpret_cast<LPARAM>(computer));
        Sleep(300);
    });
    bool chosen = FolderDialog::chooseRecordFolder(owner, folder, mode);
    ASSERT_NE(driver.result().browser, nullptr);
    CoTaskMemFree(computer);
    EXPECT_FALSE(chosen);
    EXPECT_EQ(folder, start) << "the folder stays as it was";
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, L"指定されたフォルダを選択できません。");
    EXPECT_EQ(boxes.boxes()[0].caption, L"警告");
    EXPECT_EQ(boxes.boxes()[0].style, UINT(MB_ICONWARNING));
    EXPECT_EQ(boxes.boxes()[0].owner, owner);
}
