#include "playback/ResourceData.h"

#include "ui/WindowException.h"

#include <windows.h>

const void* findResourceData(const wchar_t* type, int id, unsigned long* sizeOut) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), type);
    if (!found) throw WindowException(GetLastError());
    DWORD size = SizeofResource(module, found);
    if (size == 0) throw WindowException(GetLastError());
    HGLOBAL loaded = LoadResource(module, found);
    if (!loaded) throw WindowException(GetLastError());
    const void* data = LockResource(loaded);
    if (!data) throw WindowException(GetLastError());
    if (sizeOut) *sizeOut = size;
    return data;
}
