#include "app/ProgramPath.h"

#include <windows.h>

#include <vector>

std::wstring programFilePath() {
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return std::wstring();
        if (length < path.size()) return std::wstring(path.data(), length);
        path.resize(path.size() * 2);
    }
}

std::wstring programDirectory() {
    std::wstring path = programFilePath();
    std::size_t slash = path.find_last_of(L'\\');
    std::wstring folder = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
    if (folder.empty() || folder.back() != L'\\') folder += L'\\';
    return folder;
}
