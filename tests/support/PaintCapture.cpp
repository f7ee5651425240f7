#include "support/PaintCapture.h"

#include "base/Exception.h"
#include "playback/ResourceData.h"
#include "playback/decode/ImageDecoder.h"
#include "ui/DefaultWindow.h"

#include <cstring>

bool CapturedPixels::all(int x0, int y0, int x1, int y1, std::uint32_t colour) const {
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (at(x, y) != colour) return false;
    return true;
}

std::uint32_t rgbOf(COLORREF colour) {
    return (static_cast<std::uint32_t>(GetRValue(colour)) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

std::uint32_t buttonFace() {
    return rgbOf(GetSysColor(COLOR_BTNFACE));
}

namespace {

// A top-down 32-bit DIB section selected into a memory DC, for the duration of one capture.
class CaptureSurface {
public:
    CaptureSurface(int width, int height) : width(width), height(height) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        previous = SelectObject(dc, bitmap);
    }
    ~CaptureSurface() {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    CapturedPixels pixels() const {
        GdiFlush();
        CapturedPixels result;
        result.width = width;
        result.height = height;
        result.pixels.resize(static_cast<std::size_t>(width) * height);
        std::memcpy(result.pixels.data(), bits, result.pixels.size() * 4);
        for (auto& pixel : result.pixels) pixel &= 0xFFFFFF;
        return result;
    }
    HDC dc = nullptr;

private:
    int width;
    int height;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    void* bits = nullptr;
};

}

CapturedPixels printClient(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    CaptureSurface surface(client.right, client.bottom);
    SendMessageW(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(surface.dc), 0);
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.dc), PRF_CLIENT);
    return surface.pixels();
}

CapturedPixels screenClient(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT client;
    GetClientRect(window, &client);
    CaptureSurface surface(client.right, client.bottom);
    HDC source = GetDC(window);
    BitBlt(surface.dc, 0, 0, client.right, client.bottom, source, 0, 0, SRCCOPY);
    ReleaseDC(window, source);
    return surface.pixels();
}

CapturedPixels bitmapPixels(HBITMAP bitmap) {
    BITMAP description = {};
    GetObjectW(bitmap, sizeof description, &description);
    CaptureSurface surface(description.bmWidth, description.bmHeight);
    HDC source = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(source, bitmap);
    BitBlt(surface.dc, 0, 0, description.bmWidth, description.bmHeight, source, 0, 0, SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
    return surface.pixels();
}

std::unique_ptr<Image> solidPicture(int width, int height, std::uint32_t rgb) {
    auto image = std::make_unique<Image>(width, height);
    std::uint8_t* p = image->pixels();
    for (int i = 0; i < width * height; ++i) {
        p[i * 4 + 0] = static_cast<std::uint8_t>(rgb);
        p[i * 4 + 1] = static_cast<std::uint8_t>(rgb >> 8);
        p[i * 4 + 2] = static_cast<std::uint8_t>(rgb >> 16);
        p[i * 4 + 3] = 0xFF;
    }
    return image;
}

std::unique_ptr<AlphaImage> solidImage(int width, int height, std::uint32_t rgb) {
    return std::make_unique<AlphaImage>(solidPicture(width, height, rgb));
}

std::unique_ptr<Image> skinPicture(int id) {
    try {
        unsigned long size = 0;
        const void* bytes = findResourceData(L"IMAGE", id, &size);
        return loadPng(static_cast<const std::uint8_t*>(bytes), size);
    } catch (const Exception&) {
        return nullptr;
    }
}

HostWindow::HostWindow(int x, int y, int width, int height) {
    DefaultWindow::registerOnce();
    window = CreateWindowExW(0, DefaultWindow::className(), L"", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, x, y, width,
                             height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

HostWindow::~HostWindow() {
    DestroyWindow(window);
}
