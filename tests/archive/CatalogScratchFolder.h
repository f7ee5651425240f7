#pragma once
// A new empty folder in the system's temporary folder for one catalog or frame-information
// test, removed with all it holds when the test ends. The process id keeps the tests that
// ctest runs side by side apart.
#include <windows.h>

#include <string>

class CatalogScratchFolder {
public:
    CatalogScratchFolder() {
        wchar_t base[MAX_PATH + 1];
        const DWORD length = GetTempPathW(MAX_PATH + 1, base);
        if (length == 0 || length > MAX_PATH) return;
        static unsigned counter = 0;
        for (int attempt = 0; attempt < 100 && folder.empty(); ++attempt) {
            const std::wstring candidate = std::wstring(base) + L"scenova-catalog-" +
                                           std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
            if (CreateDirectoryW(candidate.c_str(), nullptr)) folder = candidate;
        }
    }
    ~CatalogScratchFolder() {
        if (!folder.empty()) removeTree(folder);
    }
    CatalogScratchFolder(const CatalogScratchFolder&) = delete;
    CatalogScratchFolder& operator=(const CatalogScratchFolder&) = delete;

    const std::wstring& path() const { return folder; }
    std::wstring file(const std::wstring& name) const { return folder + L"\\" + name; }

private:
    static void removeTree(const std::wstring& path) {
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = data.cFileName;
                if (name == L"." || name == L"..") continue;
                const std::wstring child = path + L"\\" + name;
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    removeTree(child);
                } else {
                    SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                    DeleteFileW(child.c_str());
                }
            } while (FindNextFileW(find, &data));
            FindClose(find);
        }
        RemoveDirectoryW(path.c_str());
    }

    std::wstring folder;
};
