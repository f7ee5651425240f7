#pragma once
// What the restore tests work on: the cabinets gcab made at build time from the member
// files beside them, and small readers of what an expansion left on disk.
#include "support/WholeFile.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace restore_test {

using Bytes = std::vector<std::uint8_t>;

// A file of the build's restore inputs ("stored.cab", "members\\readme.txt").
inline std::wstring input(const std::wstring& relative) {
    std::string unixFolder = SCENOVA_RESTORE_INPUTS;
    std::wstring folder = L"Z:" + std::wstring(unixFolder.begin(), unixFolder.end());
    for (wchar_t& c : folder)
        if (c == L'/') c = L'\\';
    return folder + L"\\" + relative;
}

inline bool exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Every file and folder below folder, as relative paths with folders ending in "\", in
// the order the system lists them.
inline std::vector<std::wstring> treeOf(const std::wstring& folder, const std::wstring& prefix = std::wstring()) {
    std::vector<std::wstring> found;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return found;
    do {
        std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            found.push_back(prefix + name + L"\\");
            for (const std::wstring& inner : treeOf(folder + L"\\" + name, prefix + name + L"\\")) found.push_back(inner);
        } else {
            found.push_back(prefix + name);
        }
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return found;
}

}  // namespace restore_test
