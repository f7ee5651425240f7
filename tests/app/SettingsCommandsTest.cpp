// The main window's settings commands: each dialog runs under the lock all running copies
// share, a dialog that ends with OK hands its card folder back, and a second running copy of
// the program is warned but still gets its dialog.
#include "app/DialogMutex.h"
#include "app/MainWindow.h"
#include "app/SettingsDialogTestSupport.h"
#include "support/MainWindowFixture.h"
#include "support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <objbase.h>

#include <cstdlib>
#include <functional>

using namespace settings_test;

namespace {

bool lockExists() {
    HANDLE lock = OpenMutexW(SYNCHRONIZE, FALSE, DialogMutex::kName);
    if (lock == nullptr) return false;
    CloseHandle(lock);
    return true;
}

// The first visible window that passes test among the top-level windows of a thread (0: of
// every thread).
HWND findWindow(DWORD thread, const std::function<bool(HWND)>& test) {
    struct Search {
        const std::function<bool(HWND)>* test;
        HWND found;
    } search{&test, nullptr};
    WNDENUMPROC visit = [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        if (!IsWindowVisible(window) || !(*s->test)(window)) return TRUE;
        s->found = window;
        return FALSE;
    };
    if (thread != 0)
        EnumThreadWindows(thread, visit, reinterpret_cast<LPARAM>(&search));
    else
        EnumWindows(visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool isDialogTitled(HWND window, const std::wstring& title) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    return wcscmp(name, L"#32770") == 0 && textOf(window) == title;
}

// Presses a button of the dialog with the given title as soon as the thread's message loop
// (the modal dialog's own) shows it, and notes whether the lock was held at that moment.
class DialogButtonPress {
public:
    DialogButtonPress(std::wstring title, int button) : title(std::move(title)), button(button) {
        active = this;
        timer = SetTimer(nullptr, 0, 50, &DialogButtonPress::onTimer);
    }
    ~DialogButtonPress() {
        KillTimer(nullptr, timer);
        active = nullptr;
    }
    DialogButtonPress(const DialogButtonPress&) = delete;
    DialogButtonPress& operator=(const DialogButtonPress&) = delete;

    bool pressed = false;
    bool lockHeldThen = false;

private:
    static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD) {
        DialogButtonPress* self = active;
        if (self == nullptr || self->pressed) return;
        HWND dialog = findWindow(GetCurrentThreadId(), [self](HWND w) { return isDialogTitled(w, self->title); });
        if (dialog == nullptr) return;
        self->pressed = true;
        self->lockHeldThen = lockExists();
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(self->button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, self->button)));
    }

    static DialogButtonPress* active;
    std::wstring title;
    int button;
    UINT_PTR timer = 0;
};

DialogButtonPress* DialogButtonPress::active = nullptr;

}  // namespace

TEST(SettingsCommands, EachDialogRunsUnderTheLockAndAnOkHandsBackItsCardFolder) {
    struct Case {
        const char* name;
        WORD command;
        const wchar_t* title;
        int button;
        bool driveKept;
    } cases[] = {
        {"本体設定 OK", MainWindow::kDeviceSettingsCommand, L"本体設定", IDOK, true},
        {"本体設定 Cancel", MainWindow::kDeviceSettingsCommand, L"本体設定", IDCANCEL, false},
        {"日時設定 OK", MainWindow::kClockSettingsCommand, L"日時設定", IDOK, true},
        {"日時設定 Cancel", MainWindow::kClockSettingsCommand, L"日時設定", IDCANCEL, false},
    };
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    initCommonControls();
    pretendWindowsVersion(10);
    auto* window = new MainWindow();
    HWND handle = window->handle();
    for (const Case& c : cases) {
        ScratchFolder card;
        card.write(L"FIRMINFO.DAT", sampleFirmwareInfo());
        std::wstring driveBefore = window->settingsDrive();
        MessageBoxRecorder boxes;
        DriveAnswers drives({card.path()});
        DialogButtonPress press(c.title, c.button);
        window->runCommand(c.command);
        EXPECT_TRUE(press.pressed) << c.name;
        EXPECT_TRUE(press.lockHeldThen) << c.name;
        EXPECT_FALSE(lockExists()) << c.name << ": the lock goes with the dialog";
        EXPECT_EQ(window->settingsDrive(), c.driveKept ? card.path() : driveBefore) << c.name;
        EXPECT_EQ(card.names().size(), c.driveKept ? 2u : 1u) << c.name << ": DREC.INI written only with OK";
        for (const RecordedMessageBox& box : boxes.boxes()) EXPECT_NE(box.caption, L"警告") << c.name << ": " << box.text.size();
    }
    DestroyWindow(handle);
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    CoUninitialize();
}

namespace {

using DosPathConverter = wchar_t*(CDECL*)(const char*);

std::wstring viewerPath() {
    const char* build = std::getenv("SCENOVA_BUILD_DIR");
    auto convert = reinterpret_cast<DosPathConverter>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
    if (build == nullptr || convert == nullptr) return std::wstring();
    wchar_t* folder = convert(build);
    if (folder == nullptr) return std::wstring();
    std::wstring path = std::wstring(folder) + L"\\bin\\SCENOVA.exe";
    HeapFree(GetProcessHeap(), 0, folder);
    return path;
}

// A running copy of the viewer, ended when the test ends.
class RunningCopy {
public:
    explicit RunningCopy(const std::wstring& exe) {
        SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
        nul = CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                          OPEN_EXISTING, 0, nullptr);
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = startup.hStdOutput = startup.hStdError = nul;
        std::wstring line = L"\"" + exe + L"\"";
        started = CreateProcessW(exe.c_str(), &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
    }
    ~RunningCopy() {
        if (started) {
            TerminateProcess(process.hProcess, 0);
            WaitForSingleObject(process.hProcess, 30000);
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        }
        if (nul != INVALID_HANDLE_VALUE) CloseHandle(nul);
    }
    RunningCopy(const RunningCopy&) = delete;
    RunningCopy& operator=(const RunningCopy&) = delete;

    // A visible top-level window of this copy that passes test, waiting up to a minute.
    HWND waitForWindow(const std::function<bool(HWND)>& test) const {
        for (DWORD start = GetTickCount(); GetTickCount() - start < 60000; Sleep(100)) {
            HWND found = findWindow(0, [&](HWND w) {
                DWORD owner = 0;
                GetWindowThreadProcessId(w, &owner);
                return owner == process.dwProcessId && test(w);
            });
            if (found != nullptr) return found;
        }
        return nullptr;
    }
    HWND waitForDialog(const std::wstring& title) const {
        return waitForWindow([&](HWND w) { return isDialogTitled(w, title); });
    }
    bool showsDialog(const std::wstring& title) const {
        return findWindow(0, [&](HWND w) {
                   DWORD owner = 0;
                   GetWindowThreadProcessId(w, &owner);
                   return owner == process.dwProcessId && isDialogTitled(w, title);
               }) != nullptr;
    }
    void openDeviceSettings() {
        HWND main = waitForWindow([](HWND w) {
            wchar_t name[16] = {};
            GetClassNameW(w, name, 16);
            return wcscmp(name, L"MainWindow") == 0;
        });
        ASSERT_NE(main, nullptr) << "the main window did not appear";
        PostMessageW(main, WM_COMMAND, MAKEWPARAM(MainWindow::kDeviceSettingsCommand, 0), 0);
    }

    bool started = false;

private:
    HANDLE nul = INVALID_HANDLE_VALUE;
    PROCESS_INFORMATION process = {};
};

std::vector<std::wstring> staticTextsOf(HWND dialog) {
    std::vector<std::wstring> texts;
    EnumChildWindows(
        dialog,
        [](HWND child, LPARAM data) -> BOOL {
            reinterpret_cast<std::vector<std::wstring>*>(data)->push_back(textOf(child));
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&texts));
    return texts;
}

}  // namespace

TEST(SettingsCommands, ASecondRunningCopyIsWarnedAndStillGetsItsDialog) {
    std::wstring exe = viewerPath();
    ASSERT_NE(GetFileAttributesW(exe.c_str()), INVALID_FILE_ATTRIBUTES) << "SCENOVA.exe is not built";
    RunningCopy first(exe);
    ASSERT_TRUE(first.started);
    first.openDeviceSettings();
    ASSERT_NE(first.waitForDialog(L"本体設定"), nullptr) << "the first copy's dialog did not open";

    RunningCopy second(exe);
    ASSERT_TRUE(second.started);
    second.openDeviceSettings();
    HWND warning = second.waitForDialog(L"警告");
    ASSERT_NE(warning, nullptr) << "the second copy was not warned";
    std::vector<std::wstring> texts = staticTextsOf(warning);
    EXPECT_NE(std::find(texts.begin(), texts.end(), L"別のSCENOVAで設定ダイアログを開いています。"), texts.end());
    EXPECT_FALSE(first.showsDialog(L"警告")) << "only the second copy is warned";

    PostMessageW(warning, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_NE(second.waitForDialog(L"本体設定"), nullptr) << "the second copy's dialog did not open after the warning";
}
