#pragma once
// Scoped ownership of the GDI resources a paint handler borrows or makes: a paint cycle, a
// window's device context, an object selected into a DC (put back before it may be
// deleted) and an owned GDI object. None of them can be copied.
#include <windows.h>

// BeginPaint .. EndPaint.
class PaintScope {
public:
    explicit PaintScope(HWND window) : window(window) { paintDc = BeginPaint(window, &paint); }
    ~PaintScope() { EndPaint(window, &paint); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;

    HDC dc() const { return paintDc; }

private:
    HWND window;
    PAINTSTRUCT paint = {};
    HDC paintDc = nullptr;
};

// GetDC .. ReleaseDC, for drawing outside a paint cycle.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window(window), dc(GetDC(window)) {}
    ~WindowDc() {
        if (dc != nullptr) ReleaseDC(window, dc);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    HDC get() const { return dc; }

private:
    HWND window;
    HDC dc;
};

// A memory DC compatible with another DC; DeleteDC when the scope ends.
class MemoryDc {
public:
    explicit MemoryDc(HDC compatibleWith) : dc(CreateCompatibleDC(compatibleWith)) {}
    ~MemoryDc() {
        if (dc != nullptr) DeleteDC(dc);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;

    HDC get() const { return dc; }

private:
    HDC dc;
};

// SelectObject, undone when the scope ends. Declare it after the object it selects, so
// the object is put back out of the DC before its owner deletes it.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc(dc), previous(object != nullptr ? SelectObject(dc, object) : nullptr) {}
    ~Selection() {
        if (previous != nullptr) SelectObject(dc, previous);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc;
    HGDIOBJ previous;
};

// A pen, brush, font or bitmap this code created and deletes.
class GdiObject {
public:
    explicit GdiObject(HGDIOBJ object = nullptr) : object(object) {}
    ~GdiObject() { reset(); }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    HGDIOBJ get() const { return object; }
    void reset(HGDIOBJ replacement = nullptr) {
        if (object != nullptr) DeleteObject(object);
        object = replacement;
    }
    // Gives the object away (for example to the clipboard); this owner forgets it.
    HGDIOBJ release() {
        HGDIOBJ given = object;
        object = nullptr;
        return given;
    }

private:
    HGDIOBJ object;
};
