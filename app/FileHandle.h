#pragma once
// Owner of one handle from CreateFileW: closes it exactly once. Unlike kernel objects,
// a failed open gives INVALID_HANDLE_VALUE, which it treats as empty.
#include <windows.h>

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : value(handle) {}
    ~FileHandle() {
        if (isOpen()) CloseHandle(value);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    HANDLE get() const { return value; }
    bool isOpen() const { return value != INVALID_HANDLE_VALUE && value != nullptr; }

private:
    HANDLE value;
};
