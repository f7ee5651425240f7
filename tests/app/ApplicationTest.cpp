// Start-up: the process settings, the version check's warnings and the failures that end
// start-up with an error box.
#include "app/Application.h"
#include "app/OsVersionCheck.h"
#include "support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <objbase.h>

namespace {
const std::wstring kWarning = L"警告";
const std::wstring kError = L"エラー";
const std::wstring kUnknownVersion =
    L"お使いのオペレーティングシステムのバージョンを識別できません。\r\nSCENOVAを正しく実行できないかもしれません。";
const std::wstring kTooOld =
    L"お使いのオペレーティングシステムではSCENOVAを正常に実行することができません。\r\nWindows XP以降で実行してください。";
}  // namespace

TEST(OsVersionCheck, WarnsAboutUnknownAndOldSystems) {
    struct Case {
        const char* name;
        bool extendedAnswers;
        bool basicAnswers;
        DWORD major;
        const std::wstring* warning;  // nullptr: no box
    } cases[] = {
        {"Windows XP", true, true, 5, nullptr},
        {"Windows 7", true, true, 6, nullptr},
        {"Windows 10", true, true, 10, nullptr},
        {"Windows NT 4", true, true, 4, &kTooOld},
        {"only the basic record", false, true, 5, nullptr},
        {"old, basic record only", false, true, 4, &kTooOld},
        {"no answer", false, false, 0, &kUnknownVersion},
    };
    for (const Case& c : cases) {
        MessageBoxRecorder boxes;
        std::vector<DWORD> askedSizes;
        OSVERSIONINFOEXW record = OsVersionCheck::run([&](OSVERSIONINFOEXW& asked) {
            askedSizes.push_back(asked.dwOSVersionInfoSize);
            bool answers = asked.dwOSVersionInfoSize == OsVersionCheck::kExtendedSize ? c.extendedAnswers : c.basicAnswers;
            if (answers) asked.dwMajorVersion = c.major;
            return answers;
        });
        ASSERT_FALSE(askedSizes.empty()) << c.name;
        EXPECT_EQ(askedSizes[0], 284u) << c.name;
        if (!c.extendedAnswers) {
            ASSERT_EQ(askedSizes.size(), 2u) << c.name;
            EXPECT_EQ(askedSizes[1], 276u) << c.name;
        }
        if (c.basicAnswers || c.extendedAnswers) {
            EXPECT_EQ(record.dwMajorVersion, c.major) << c.name;
        }
        if (c.warning == nullptr) {
            EXPECT_TRUE(boxes.boxes().empty()) << c.name;
            continue;
        }
        ASSERT_EQ(boxes.boxes().size(), 1u) << c.name;
        const RecordedMessageBox& box = boxes.boxes()[0];
        EXPECT_EQ(box.text, *c.warning) << c.name;
        EXPECT_EQ(box.caption, kWarning) << c.name;
        EXPECT_EQ(box.style, UINT(MB_ICONWARNING | MB_SYSTEMMODAL | MB_TOPMOST)) << c.name;
        EXPECT_EQ(box.owner, nullptr) << c.name;
    }
}

TEST(Application, PreparesTheProcess) {
    SetCurrentDirectoryW(L"C:\\windows");
    Application::prepareProcess();
    wchar_t current[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, current);
    EXPECT_STREQ(current, L"C:\\");
    UINT mode = GetErrorMode();
    EXPECT_EQ(mode & (SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX), UINT(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX));
}

TEST(Application, ComAlreadyInitialisedStopsWithTheErrorBox) {
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    MessageBoxRecorder boxes;
    EXPECT_EQ(Application::run(GetModuleHandleW(nullptr), SW_SHOWNORMAL), 0);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, L"COMを初期化できません。");
    EXPECT_EQ(boxes.boxes()[0].caption, kError);
    EXPECT_EQ(boxes.boxes()[0].style, UINT(MB_ICONERROR));
    EXPECT_EQ(boxes.boxes()[0].owner, nullptr);
    bool ownMainWindow = false;
    for (HWND found = nullptr; (found = FindWindowExW(nullptr, found, L"MainWindow", nullptr)) != nullptr;) {
        DWORD process = 0;
        GetWindowThreadProcessId(found, &process);
        ownMainWindow |= process == GetCurrentProcessId();
    }
    EXPECT_FALSE(ownMainWindow) << "no main window after a failed start";
    CoUninitialize();
}

TEST(Application, CommonControlsInitialise) {
    EXPECT_NO_THROW(Application::initializeCommonControls());
}

TEST(Application, TheLoopEndsWithTheQuitCode) {
    PostQuitMessage(0);
    EXPECT_EQ(Application::runMessageLoop(), 0);
    PostQuitMessage(7);
    EXPECT_EQ(Application::runMessageLoop(), 7);
}
