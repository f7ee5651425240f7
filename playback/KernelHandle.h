#pragma once
// Owner of one kernel object handle (event, mutex, thread): closes it exactly once.
#include <windows.h>

class KernelHandle {
public:
    KernelHandle() = default;
    explicit KernelHandle(HANDLE handle) : value(handle) {}
    ~KernelHandle() { reset(); }
    KernelHandle(const KernelHandle&) = delete;
    KernelHandle& operator=(const KernelHandle&) = delete;

    HANDLE get() const { return value; }
    explicit operator bool() const { return value != nullptr; }
    void reset(HANDLE handle = nullptr) {
        if (value != nullptr) CloseHandle(value);
        value = handle;
    }

private:
    HANDLE value = nullptr;
};
