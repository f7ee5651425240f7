#pragma once
// Drives a running viewer from outside, as a user would through its menu and its folder
// dialog, for checks that run for a long time: open a record folder, end the program.
// Everything goes through the viewer's own windows; the program has no hooks for it.
#include <windows.h>

#include <string>
#include <vector>

class ViewerDriver {
public:
    // The running process whose program file is imagePath (a full Windows path); 0 when none.
    static DWORD findProcess(const std::wstring& imagePath);

    explicit ViewerDriver(DWORD processId);
    ~ViewerDriver();
    ViewerDriver(const ViewerDriver&) = delete;
    ViewerDriver& operator=(const ViewerDriver&) = delete;

    // ファイル → 開く..., the folder chosen in the dialog, OK; true once the caption names the
    // folder. On failure error() says what went wrong (a warning box of the viewer is closed).
    bool openFolder(const std::wstring& folder);
    // ファイル → 終了, confirmed; true once the process has ended.
    bool exitProgram();
    // The open folder dialog's (or drive dialog's) selected folder, the control that has the keyboard focus
    // ("CLASS#ID") and the entry chosen in its kind list (-1 for none); false when no folder
    // dialog is open.
    bool folderDialogState(std::wstring& selected, std::wstring& focusClass, int& kind) const;
    // The texts of the main window's visible children that have one (the info panel's date
    // and time, the speed meter's speed), in the order of the window list; false when the
    // viewer has no main window.
    bool panelTexts(std::vector<std::wstring>& texts) const;
    // The control of the viewer that has the keyboard focus ("CLASS#ID") and its text; false
    // when none has it.
    bool focusedControl(std::wstring& focusClass, std::wstring& text) const;
    // Whether one of the viewer's menus is open (a popup menu window of its process shows).
    bool menuOpen() const;

    const std::string& error() const { return lastError; }

private:
    HWND mainWindow() const;
    HWND ownedDialog(HWND owner, const std::wstring& caption) const;
    bool fail(const std::string& what);

    DWORD id;
    HANDLE process = nullptr;
    std::string lastError;
};
