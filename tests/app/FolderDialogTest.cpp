// The folder browser in both forms, answered from a helper thread the way a user would:
// pick the kind, press OK or Cancel.
#include "app/AppTestFolder.h"
#include "app/FolderDialog.h"
#include "playback/KernelHandle.h"
#include "support/MessageBoxRecorder.h"
#include "support/MessagePump.h"
#include "support/VisibleDialog.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include <atomic>
#include <functional>
#include <thread>

namespace {

struct BrowserSeen {
    HWND browser = nullptr;
    bool hasKindList = false;
    bool startSelected = false;
    LRESULT preselected = CB_ERR;
    std::wstring labelText;
    RECT rect = {};
};

// The text of the folder selected in the browser's tree ("" while none is).
std::wstring selectedFolderName(HWND browser) {
    HWND nameSpace = FindWindowExW(browser, nullptr, L"SHBrowseForFolder ShellNameSpace Control", nullptr);
    HWND tree = FindWindowExW(nameSpace != nullptr ? nameSpace : browser, nullptr, WC_TREEVIEWW, nullptr);
    if (tree == nullptr) return std::wstring();
    auto item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (item == nullptr) return std::wstring();
    wchar_t text[MAX_PATH] = {};
    TVITEMW query = {};
    query.mask = TVIF_TEXT;
    query.hItem = item;
    query.pszText = text;
    query.cchTextMax = MAX_PATH;
    if (!SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&query))) return std::wstring();
    return text;
}

// A window of the thread that shows the browser, counting WM_APP: a message posted to it is
// handled only after everything posted to that thread before it, the browser's own included.
class QueueMarker {
public:
    QueueMarker() {
        WNDCLASSW type = {};
        type.lpfnWndProc = &procedure;
        type.hInstance = GetModuleHandleW(nullptr);
        type.lpszClassName = kClassName;
        RegisterClassW(&type);  // fails harmlessly when already registered
        window = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, type.hInstance, nullptr);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&handled));
    }
    ~QueueMarker() { DestroyWindow(window); }
    QueueMarker(const QueueMarker&) = delete;
    QueueMarker& operator=(const QueueMarker&) = delete;

    // From another thread: waits until what was posted to the window's thread so far is handled.
    bool flush() {
        int before = handled;
        PostMessageW(window, WM_APP, 0, 0);
        return pumpMessagesUntil([&] { return handled > before; });
    }

private:
    static constexpr const wchar_t* kClassName = L"ScenovaTestQueueMarker";
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_APP) ++*reinterpret_cast<std::atomic<int>*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        return DefWindowProcW(window, message, wParam, lParam);
    }
    HWND window = nullptr;
    std::atomic<int> handled{0};
};

// Waits on another thread for the browser of this thread to show the start folder (whose
// name is given) selected and to have handled what it posted to itself meanwhile; notes
// what it shows, lets act do what the user would, then presses the button.
class BrowserDriver {
public:
    BrowserDriver(const std::wstring& startName, int button, std::function<void(HWND)> act = nullptr)
        : worker([this, thread = GetCurrentThreadId(), startName, button, act] {
              pumpMessagesUntil([&] { return (seen.browser = findVisibleDialog(thread)) != nullptr; });
              if (seen.browser == nullptr) return;
              seen.startSelected = pumpMessagesUntil([&] { return selectedFolderName(seen.browser) == startName; }) &&
                                   marker.flush() && selectedFolderName(seen.browser) == startName;
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
    QueueMarker marker;  // made on the browser's thread, before the worker starts
    BrowserSeen seen;
    std::thread worker;
};

constexpr const wchar_t* kStartName = L"EVT00001";

// Wine's folder browser finds a folder by comparing each level's item with the one in its
// tree, modification time included: a folder on the way that another program changes in
// the meantime stops the selection there. So the test folders are not made in the busy
// temporary folder but in the user's profile folder, and the folder dialog tests of test
// programs running side by side take turns.
class DialogTestsTakeTurns {
public:
    DialogTestsTakeTurns() : turn(CreateMutexW(nullptr, FALSE, L"scenova-folder-dialog-tests")) {
        if (turn) WaitForSingleObject(turn.get(), INFINITE);  // an abandoned turn is ours too
    }
    ~DialogTestsTakeTurns() {
        if (turn) ReleaseMutex(turn.get());
    }
    DialogTestsTakeTurns(const DialogTestsTakeTurns&) = delete;
    DialogTestsTakeTurns& operator=(const DialogTestsTakeTurns&) = delete;

private:
    KernelHandle turn;
};

std::wstring profileFolder() {
    wchar_t folder[MAX_PATH] = {};
    GetEnvironmentVariableW(L"USERPROFILE", folder, MAX_PATH);
    return std::wstring(folder) + L"\\";
}

class FolderDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 300, 200, 700, 500, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
        start = tree.folder(std::wstring(L"EVENT\\") + kStartName);
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

    DialogTestsTakeTurns turn;  // before the folder is made, after it is removed
    AppTestFolder tree{profileFolder()};
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
        BrowserDriver driver(kStartName, IDOK, [&](HWND browser) { chooseKind(browser, c.chosenKind); });
        bool chosen = FolderDialog::chooseRecordFolder(owner, folder, mode);
        const BrowserSeen& seen = driver.result();
        ASSERT_NE(seen.browser, nullptr) << c.name;
        EXPECT_TRUE(seen.startSelected) << c.name;
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
        BrowserDriver driver(kStartName, IDCANCEL, [](HWND browser) { chooseKind(browser, 0); });
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
    BrowserDriver driver(kStartName, IDOK);
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
    BrowserDriver driver(kStartName, IDOK, [computer](HWND browser) {
        SendMessageW(browser, BFFM_SETSELECTIONW, FALSE, reinterpret_cast<LPARAM>(computer));
        pumpMessagesUntil([&] { return selectedFolderName(browser) != kStartName; });
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
