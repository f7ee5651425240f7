#pragma once
// Runs the calling thread's message loop for a while, the way the program's loop would,
// so that posted messages reach their windows inside a test.
#include <windows.h>

#include <functional>

// Dispatches messages until done() is true or timeoutMs have passed; true when done() held.
bool pumpMessagesUntil(const std::function<bool()>& done, DWORD timeoutMs);

// Dispatches messages for the given time.
void pumpMessagesFor(DWORD milliseconds);
