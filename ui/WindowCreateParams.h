#pragma once
// The arguments of one CreateWindowExW call, in its order, so that a window class can
// describe the native window it wants in one value.
#include <windows.h>

struct WindowCreateParams {
    DWORD extendedStyle = 0;
    LPCWSTR className = nullptr;  // a class name, or an atom through MAKEINTATOM
    LPCWSTR title = L"";
    DWORD style = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    HWND parent = nullptr;
    HMENU menuOrChildId = nullptr;
    HINSTANCE instance = nullptr;
    LPVOID creationParameter = nullptr;
};
