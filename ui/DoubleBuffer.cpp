#include "ui/DoubleBuffer.h"

DoubleBuffer::DoubleBuffer(HDC target, int width, int height) : target(target), width(width), height(height) {
    if (width <= 0 || height <= 0) return;
    HDC made = CreateCompatibleDC(target);
    if (made == nullptr) return;
    bitmap = CreateCompatibleBitmap(target, width, height);
    if (bitmap == nullptr) {
        DeleteDC(made);
        return;
    }
    memory = made;
    previousBitmap = SelectObject(memory, bitmap);
}

DoubleBuffer::~DoubleBuffer() {
    if (memory == nullptr) return;
    BitBlt(target, 0, 0, width, height, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previousBitmap);
    DeleteObject(bitmap);
    DeleteDC(memory);
}
