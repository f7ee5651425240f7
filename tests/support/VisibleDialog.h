#pragma once
// Finds the dialog box (class "#32770") that a test opened and must answer.
#include <windows.h>

// The first visible dialog box among thread's top-level windows, or null.
HWND findVisibleDialog(DWORD thread);
