#include "ui/Dialog.h"

#include "base/StringTable.h"
#include "ui/MessageBox.h"
#include "ui/WindowException.h"
#include "ui/WindowRegistry.h"

namespace {
constexpr unsigned kWarningCaption = 5005;  // "警告"
}

INT_PTR Dialog::dialogProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_COMMAND) return 0;
    WORD command = LOWORD(wParam);
    if (command == IDOK || command == IDCANCEL) EndDialog(dialog, command);
    return 1;
}

INT_PTR Dialog::showModal(HWND parent) {
    owner = parent;
    INT_PTR result = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), parent,
                                     &Dialog::sharedDialogProc, reinterpret_cast<LPARAM>(this));
    if (result == -1) warnCreationFailed(GetLastError());
    return result;
}

HWND Dialog::showModeless(HWND parent, int showCommand) {
    owner = parent;
    HWND created = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), parent,
                                      &Dialog::sharedDialogProc, reinterpret_cast<LPARAM>(this));
    if (created == nullptr) {
        warnCreationFailed(GetLastError());
        return nullptr;
    }
    ShowWindow(created, showCommand);
    return created;
}

void Dialog::warnCreationFailed(DWORD errorCode) const {
    WindowException failure(static_cast<std::uint32_t>(errorCode));
    showMessageBox(failure.message(), loadString(kWarningCaption), MB_OK | MB_ICONWARNING, owner);
}

void Dialog::centerOver(HWND window, HWND reference) {
    RECT own = {};
    RECT target = {};
    if (!GetWindowRect(window, &own) || !GetWindowRect(reference, &target)) return;
    int left = target.left + ((target.right - target.left) - (own.right - own.left)) / 2;
    int top = target.top + ((target.bottom - target.top) - (own.bottom - own.top)) / 2;
    SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

INT_PTR CALLBACK Dialog::sharedDialogProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* object = reinterpret_cast<Dialog*>(lParam);
        if (object != nullptr) {
            object->dialog = handle;
            dialogRegistry[handle] = object;
        }
    }
    Dialog* object = findDialog(handle);
    if (object == nullptr) return 0;
    INT_PTR result = object->dialogProc(message, wParam, lParam);
    if (message == WM_DESTROY) dialogRegistry.erase(handle);
    return result;
}
