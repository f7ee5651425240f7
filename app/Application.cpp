#include "app/Application.h"

#include "app/HelpPage.h"
#include "app/MainWindow.h"
#include "app/OsVersionCheck.h"
#include "app/PlaybackKeys.h"
#include "archive/FirmwareCodeText.h"
#include "archive/SoundWarning.h"
#include "base/Exception.h"
#include "base/StringTable.h"
#include "resources/resource.h"
#include "ui/MessageBox.h"

#include <commctrl.h>
#include <objbase.h>

#include <cstdlib>

HINSTANCE Application::moduleInstance = nullptr;
std::wstring Application::applicationName;
OSVERSIONINFOEXW Application::os = {};

namespace {
// Every class group from ICC_LISTVIEW_CLASSES (0x0001) to ICC_NATIVEFNTCTL_CLASS (0x2000).
constexpr DWORD kAllControlClasses = 0x3FFF;

// Runtime functions given bad arguments then return their error result.
void ignoreInvalidParameter(const wchar_t*, const wchar_t*, const wchar_t*, unsigned, uintptr_t) {}

void showError(const std::wstring& text) {
    showMessageBox(text, loadString(Application::kErrorCaption), MB_OK | MB_ICONERROR, nullptr);
}
}  // namespace

HINSTANCE Application::instance() {
    return moduleInstance != nullptr ? moduleInstance : GetModuleHandleW(nullptr);
}

const std::wstring& Application::name() {
    if (applicationName.empty()) applicationName = loadString(kApplicationNameId);
    return applicationName;
}

void Application::prepareProcess() {
    UINT mode = SetErrorMode(0);
    SetErrorMode(mode | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    SetCurrentDirectoryW(L"C:\\");
    _set_invalid_parameter_handler(&ignoreInvalidParameter);
}

void Application::initializeCom() {
    if (CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED) != S_OK) throw SystemException(loadString(kComFailedText));
}

void Application::initializeCommonControls() {
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof controls;
    controls.dwICC = kAllControlClasses;
    if (!InitCommonControlsEx(&controls)) throw SystemException(loadString(kCommonControlsFailedText));
}

int Application::runMessageLoop(HWND keysWindow) {
    HACCEL keys = keysWindow != nullptr ? LoadAcceleratorsW(instance(), MAKEINTRESOURCEW(IDR_PLAYBACK_KEYS)) : nullptr;
    MSG message;
    BOOL fetched;
    while ((fetched = GetMessageW(&message, nullptr, 0, 0)) != 0) {
        if (fetched == -1) break;
        if (PlaybackKeys::translate(keysWindow, keys, message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return fetched == -1 ? 0 : static_cast<int>(message.wParam);
}

void Application::startAndLoop(HINSTANCE instance, int showCommand, int& exitCode) {
    initializeCom();
    initializeCommonControls();
    moduleInstance = instance;
    applicationName = loadString(kApplicationNameId);
    currentFirmwareCode();
    // The archive cannot show boxes itself: its one warning (no temporary sound file) gets a
    // box without owner here.
    SoundWarning::install([](const std::wstring& message, const std::wstring& caption) {
        showMessageBox(message, caption, MB_ICONWARNING, nullptr);
    });
    HelpPage::removeStaleCopies();
    MainWindow* window = new MainWindow();
    ShowWindow(window->handle(), showCommand);
    UpdateWindow(window->handle());
    exitCode = runMessageLoop(window->handle());
    HelpPage::removeShownCopies();
}

int Application::run(HINSTANCE instance, int showCommand) {
    prepareProcess();
    os = OsVersionCheck::run(&OsVersionCheck::querySystem);
    int exitCode = 0;
    try {
        startAndLoop(instance, showCommand, exitCode);
    } catch (const Exception& failure) {
        showError(failure.message());
        return 0;
    } catch (...) {
        showError(loadString(kUnexpectedErrorText));
        return 0;
    }
    return exitCode;
}
