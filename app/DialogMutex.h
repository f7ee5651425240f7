#pragma once
// The lock that marks an open settings dialog (or a running card restore) across every
// running copy of the program. Taking it never refuses: when another copy holds it the user
// is warned and the dialog still opens, since the recorder only reads the card at power-on
// and the last writer wins anyway.
#include "playback/KernelHandle.h"

#include <windows.h>

class DialogMutex {
public:
    static constexpr const wchar_t* kName = L"ZEPHRA_VIEWER";

    // Creates the named object; when another copy already holds it, lets it go at once and
    // warns (owned by owner). Otherwise keeps it until destroyed.
    explicit DialogMutex(HWND owner);
    DialogMutex(const DialogMutex&) = delete;
    DialogMutex& operator=(const DialogMutex&) = delete;

    // This copy holds the lock (no other copy had it).
    bool isHeld() const { return static_cast<bool>(object); }

private:
    KernelHandle object;
};
