#include "tools/probe/WindowList.h"

#include <windows.h>

#include <cstdio>
#include <string>
namespace {

std::string utf8(const std::wstring& text) {
    if (text.empty()) return std::string();
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &bytes[0], size, nullptr, nullptr);
    return bytes;
}

std::wstring oneLine(std::wstring text) {
    for (wchar_t& c : text)
        if (c == L'\t' || c == L'\r' || c == L'\n') c = L' ';
    return text;
}

void listWindow(HWND window, int depth) {
    if (depth == 0 && !IsWindowVisible(window)) return;
    wchar_t className[256] = L"";
    GetClassNameW(window, className, 256);
    wchar_t text[512] = L"";
    InternalGetWindowText(window, text, 512);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    RECT place{};
    GetWindowRect(window, &place);
    int id = depth == 0 ? 0 : GetDlgCtrlID(window);
    std::printf("%d\t%llx\t%lu\t%s\t%d\t%d\t%d\t%ld\t%ld\t%ld\t%ld\t%s\n", depth,
                static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)), static_cast<unsigned long>(process),
                utf8(className).c_str(), id, IsWindowEnabled(window) ? 1 : 0, IsWindowVisible(window) ? 1 : 0,
                place.left, place.top, place.right, place.bottom, utf8(oneLine(text)).c_str());
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        listWindow(child, depth + 1);
}

BOOL CALLBACK listTopLevel(HWND window, LPARAM) {
    listWindow(window, 0);
    return TRUE;
}

}  // namespace

void printWindowList() {
    EnumWindows(listTopLevel, 0);
    std::fflush(stdout);
}
