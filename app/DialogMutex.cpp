#include "app/DialogMutex.h"

#include "base/StringTable.h"
#include "ui/MessageBox.h"

namespace {

constexpr unsigned kWarningCaption = 5005;
constexpr unsigned kHeldElsewhereText = 5060;

}  // namespace

DialogMutex::DialogMutex(HWND owner) {
    HANDLE created = CreateMutexW(nullptr, TRUE, kName);
    bool heldElsewhere = created != nullptr && GetLastError() == ERROR_ALREADY_EXISTS;
    if (created == nullptr) return;  // no lock to be had: the dialog still opens
    if (heldElsewhere) {
        // Initial ownership is not granted for an existing object, so there is nothing to release.
        CloseHandle(created);
        showMessageBox(loadString(kHeldElsewhereText), loadString(kWarningCaption), MB_OK | MB_ICONWARNING, owner);
        return;
    }
    // The name alone marks the dialog; ownership would tie the object to this thread.
    ReleaseMutex(created);
    object.reset(created);
}
