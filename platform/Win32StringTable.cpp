// The string table of the program file's own resources.
#include "base/StringTable.h"

#include <windows.h>

std::wstring loadString(unsigned id) {
    // With a zero length LoadStringW hands out a read-only pointer into the resource, so
    // texts of any length come back whole.
    const wchar_t* text = nullptr;
    int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || text == nullptr) return std::wstring();
    return std::wstring(text, static_cast<std::size_t>(length));
}
