#pragma once
// Owns one reference to a COM interface and releases it when it goes.
#include <unknwn.h>

template <typename Interface>
class ComPointer {
public:
    ComPointer() = default;
    ~ComPointer() { reset(); }
    ComPointer(const ComPointer&) = delete;
    ComPointer& operator=(const ComPointer&) = delete;

    Interface* get() const { return pointer; }
    Interface* operator->() const { return pointer; }
    explicit operator bool() const { return pointer != nullptr; }

    // Where a creating call stores its result; releases what was held before.
    Interface** out() {
        reset();
        return &pointer;
    }
    void** outVoid() { return reinterpret_cast<void**>(out()); }

    void reset() {
        if (pointer != nullptr) pointer->Release();
        pointer = nullptr;
    }

private:
    Interface* pointer = nullptr;
};
