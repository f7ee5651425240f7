#pragma once
// Base of every dialog box of the program. The object is owned by whoever made it (usually
// a local object for a modal dialog); the framework binds it to its dialog window from
// WM_INITDIALOG to WM_DESTROY and routes the dialog's messages to dialogProc.
#include <windows.h>

class Dialog {
public:
    explicit Dialog(int templateId) : templateId(templateId) {}
    virtual ~Dialog() = default;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Nonzero when the message was handled. The default closes the dialog on IDOK and
    // IDCANCEL with that id and claims every WM_COMMAND.
    virtual INT_PTR dialogProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Runs the dialog modally and returns the value given to EndDialog. A dialog that cannot
    // be made shows the system's reason in a warning box owned by the parent and gives -1.
    INT_PTR showModal(HWND parent);
    // Creates the dialog, shows it with showCommand and returns its handle; on failure the
    // same warning box and a null handle.
    HWND showModeless(HWND parent, int showCommand);

    HWND handle() const { return dialog; }
    HWND parent() const { return owner; }
    int resourceId() const { return templateId; }

    // Moves window so that it is centred on reference, keeping its size and z-order.
    static void centerOver(HWND window, HWND reference);

    static INT_PTR CALLBACK sharedDialogProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void warnCreationFailed(DWORD errorCode) const;

    int templateId;
    HWND owner = nullptr;
    HWND dialog = nullptr;
};
