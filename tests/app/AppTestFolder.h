#pragma once
// A fresh folder tree in the system's temporary folder for the shell and main-window tests,
// removed with everything in it when the test ends.
#include <windows.h>

#include <string>

class AppTestFolder {
public:
    // In the system's temporary folder, or in base (a folder ending in a backslash).
    explicit AppTestFolder(const std::wstring& base = temporaryFolder()) {
        for (unsigned n = GetTickCount() & 0xFFFFF;; ++n) {
            root = base + L"scenova-app-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(n);
            if (CreateDirectoryW(root.c_str(), nullptr)) break;
        }
    }
    ~AppTestFolder() { removeTree(root); }
    AppTestFolder(const AppTestFolder&) = delete;
    AppTestFolder& operator=(const AppTestFolder&) = delete;

    const std::wstring& path() const { return root; }
    std::wstring path(const std::wstring& relative) const { return root + L"\\" + relative; }

    // Makes a folder (and its parents) below the root; returns its full path.
    std::wstring folder(const std::wstring& relative) const {
        std::wstring full = path(relative);
        for (std::size_t slash = root.size() + 1; (slash = full.find(L'\\', slash)) != std::wstring::npos; ++slash)
            CreateDirectoryW(full.substr(0, slash).c_str(), nullptr);
        CreateDirectoryW(full.c_str(), nullptr);
        return full;
    }

    // Writes a file below the root (its folder must exist); returns its full path.
    std::wstring file(const std::wstring& relative, const std::string& bytes = std::string()) const {
        std::wstring full = path(relative);
        HANDLE h = CreateFileW(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
            CloseHandle(h);
        }
        return full;
    }

    static std::wstring temporaryFolder() {
        wchar_t base[MAX_PATH + 1];
        GetTempPathW(MAX_PATH + 1, base);
        return base;
    }

    static void removeTree(const std::wstring& folder) {
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                std::wstring name = data.cFileName;
                if (name == L"." || name == L"..") continue;
                std::wstring child = folder + L"\\" + name;
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    removeTree(child);
                else
                    DeleteFileW(child.c_str());
            } while (FindNextFileW(find, &data));
            FindClose(find);
        }
        RemoveDirectoryW(folder.c_str());
    }

private:
    std::wstring root;
};
