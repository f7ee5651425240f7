#pragma once
// Off-screen painting: the paint code draws into dc(), and the finished picture is copied
// onto the target in one step when the buffer goes, so the window never shows a half-drawn
// state. When no memory DC or bitmap can be made, dc() is the target itself and the paint
// code draws straight onto the window.
#include <windows.h>

class DoubleBuffer {
public:
    DoubleBuffer(HDC target, int width, int height);
    // Copies the picture to the target (at 0, 0), then frees the memory DC and bitmap.
    ~DoubleBuffer();
    DoubleBuffer(const DoubleBuffer&) = delete;
    DoubleBuffer& operator=(const DoubleBuffer&) = delete;

    HDC dc() const { return memory != nullptr ? memory : target; }
    bool offScreen() const { return memory != nullptr; }

private:
    HDC target;
    int width;
    int height;
    HDC memory = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previousBitmap = nullptr;
};
