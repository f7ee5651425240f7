#include "support/MessagePump.h"

#include <mmsystem.h>

namespace {
void dispatchWaiting() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}
}

bool pumpMessagesUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    DWORD start = timeGetTime();
    for (;;) {
        dispatchWaiting();
        if (done()) return true;
        DWORD elapsed = timeGetTime() - start;
        if (elapsed >= timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - elapsed, QS_ALLINPUT);
    }
}

void pumpMessagesFor(DWORD milliseconds) {
    pumpMessagesUntil([] { return false; }, milliseconds);
}
