// The string table of the program file's own resources, read with the kernel's resource
// functions. LoadStringW would do the same but lives in user32: a console program that only
// needs its messages then starts without the window system (under Wine that is most of the
// time scenova-cli takes for a small file).
#include "base/StringTable.h"

#include <windows.h>

namespace {

// The resource compiler stores strings in blocks of 16: block id / 16 + 1 holds string id,
// as entry id % 16, each entry a 16-bit length and that many UTF-16 characters.
constexpr unsigned kStringsPerBlock = 16;

}  // namespace

std::wstring loadString(unsigned id) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id / kStringsPerBlock + 1), RT_STRING);
    if (!found) return std::wstring();
    const DWORD size = SizeofResource(module, found);
    HGLOBAL loaded = LoadResource(module, found);
    const auto* entry = loaded ? static_cast<const WCHAR*>(LockResource(loaded)) : nullptr;
    if (!entry) return std::wstring();
    const WCHAR* end = entry + size / sizeof(WCHAR);
    for (unsigned index = 0; entry < end; ++index) {
        const std::size_t length = *entry++;
        if (length > static_cast<std::size_t>(end - entry)) return std::wstring();
        if (index == id % kStringsPerBlock) return std::wstring(entry, length);
        entry += length;
    }
    return std::wstring();
}
