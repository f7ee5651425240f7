#pragma once
// Holds a Win32 mutex for one scope when it could be taken within the given time, and
// releases it on every path out of that scope.
#include <windows.h>

class MutexLock {
public:
    MutexLock(HANDLE mutex, DWORD timeoutMs) : mutex(mutex) {
        DWORD waited = WaitForSingleObject(mutex, timeoutMs);
        // An abandoned mutex is owned all the same; the data it guards is still usable here.
        held = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    }
    ~MutexLock() {
        if (held) ReleaseMutex(mutex);
    }
    MutexLock(const MutexLock&) = delete;
    MutexLock& operator=(const MutexLock&) = delete;

    bool isHeld() const { return held; }

private:
    HANDLE mutex;
    bool held = false;
};
