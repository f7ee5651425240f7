#pragma once
// The settings dialogs ask for the SD card's drive here: the system's folder browser in its
// drive form, or whatever a test installed in its place (the way message boxes are answered
// in tests), so that no test waits on a browser nobody can see.
#include <windows.h>

#include <functional>
#include <string>

class CardDriveChooser {
public:
    using Handler = std::function<bool(const std::wstring& prompt, HWND owner, std::wstring& folder)>;

    // Shows the drive dialog with the string-table prompt, starting at folder; true when a
    // folder was chosen (folder then holds it).
    static bool choose(unsigned promptId, HWND owner, std::wstring& folder);

    // Installs a handler for every later choice (an empty one restores the browser); returns
    // the handler it replaces.
    static Handler install(Handler handler);
};
