#include "support/MessagePump.h"

#include <mmsystem.h>

#include <algorithm>

namespace {

// How often a condition is looked at when no message wakes the loop.
constexpr DWORD kPollMs = 5;

bool dispatchWaiting() {
    MSG message;
    bool any = false;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
        any = true;
    }
    return any;
}

}  // namespace

bool pumpMessagesUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    DWORD start = timeGetTime();
    for (;;) {
        dispatchWaiting();
        if (done()) return true;
        DWORD elapsed = timeGetTime() - start;
        if (elapsed >= timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min(kPollMs, timeoutMs - elapsed), QS_ALLINPUT);
    }
}

void pumpMessagesFor(DWORD milliseconds) {
    pumpMessagesUntil([] { return false; }, milliseconds);
}

void pumpWaitingMessages() {
    while (dispatchWaiting()) {
    }
}
