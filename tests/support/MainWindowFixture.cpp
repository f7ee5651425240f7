#include "support/MainWindowFixture.h"

#include "app/Application.h"
#include "app/MainWindow.h"

#include <objbase.h>

void pretendWindowsVersion(DWORD major) {
    OSVERSIONINFOEXW version = {};
    version.dwOSVersionInfoSize = sizeof version;
    version.dwMajorVersion = major;
    Application::setOsVersion(version);
}

void MainWindowFixture::SetUp() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    pretendWindowsVersion(10);
    window = new MainWindow();
    handle = window->handle();
}

void MainWindowFixture::TearDown() {
    if (IsWindow(handle)) DestroyWindow(handle);
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    CoUninitialize();
}

VideoPlayer& MainWindowFixture::player() const {
    return *window->videoPlayer();
}

RECT MainWindowFixture::placeOf(HWND child) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::wstring MainWindowFixture::captionOf(HWND window) {
    wchar_t text[1100] = {};
    GetWindowTextW(window, text, 1100);
    return text;
}
