#pragma once
// A main window of its own for each test, made as the program makes it on Windows 10 (COM
// initialised on the thread), over a fresh folder tree. The window is never shown unless a
// test shows it. Waits go through pumpMessagesUntil (support/MessagePump.h).
#include "app/AppTestFolder.h"
#include "support/MessagePump.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

class MainWindow;
class VideoPlayer;

// Makes the program size its windows as on the given major version of Windows; the tests'
// figures are Windows 10's.
void pretendWindowsVersion(DWORD major = 10);

class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override;
    // Destroys the window and drops the WM_QUIT its destruction posts, which would otherwise
    // end the next test's message loop.
    void TearDown() override;

    VideoPlayer& player() const;

    // Where child stands in its parent's client area.
    static RECT placeOf(HWND child);
    static std::wstring captionOf(HWND window);

    MainWindow* window = nullptr;  // deletes itself when its window is destroyed
    HWND handle = nullptr;
    AppTestFolder tree;
};
