#pragma once
// Process start-up and the message loop, and the process-wide values start-up fills in:
// the instance, the application name and the Windows version.
#include <windows.h>

#include <string>

class Application {
public:
    static constexpr unsigned kApplicationNameId = 5001;
    static constexpr unsigned kComFailedText = 5054;
    static constexpr unsigned kCommonControlsFailedText = 5055;
    static constexpr unsigned kUnexpectedErrorText = 5057;
    static constexpr unsigned kErrorCaption = 5018;

    // The whole life of the process: prepares it, checks the Windows version, starts COM and
    // the common controls, creates the main window and runs the message loop until the
    // window is gone. Any failure is shown in an error box. Returns the exit code (0).
    static int run(HINSTANCE instance, int showCommand);

    // Error mode without critical-error and open-file boxes, current directory "C:\", and a
    // runtime that returns errors for bad arguments instead of ending the process.
    static void prepareProcess();
    // COM for this thread, apartment model; anything but a first initialisation throws
    // SystemException 5054, because the folder browser needs COM set up as the program
    // expects.
    static void initializeCom();
    // Every common-control class group; throws SystemException 5055.
    static void initializeCommonControls();
    // Runs the message loop until WM_QUIT; returns its parameter. Keys meant for keysWindow
    // (the main window) or its children go through the playback keys first.
    static int runMessageLoop(HWND keysWindow = nullptr);

    // The program's module; the process's own before start-up stored it.
    static HINSTANCE instance();
    // String 5001, loaded by start-up (or on first use, for windows made without start-up).
    static const std::wstring& name();
    static const OSVERSIONINFOEXW& osVersion() { return os; }
    static void setOsVersion(const OSVERSIONINFOEXW& version) { os = version; }

private:
    static void startAndLoop(HINSTANCE instance, int showCommand, int& exitCode);

    static HINSTANCE moduleInstance;
    static std::wstring applicationName;
    static OSVERSIONINFOEXW os;
};
