#pragma once
// Helpers for the settings-file tests: the records' bytes built field by field, and a
// scratch folder on the real disk.
#include "support/WholeFile.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

namespace settings_test {

using Bytes = std::vector<std::uint8_t>;

// Header record: 00 01, firmware code, three unused bytes, XOR of bytes 1 to 6.
inline Bytes headerRecord(std::uint8_t codeHigh = 0x03, std::uint8_t codeLow = 0x12) {
    Bytes r = {0x00, 0x01, codeHigh, codeLow, 0xFF, 0xFF, 0xFF};
    r.push_back(static_cast<std::uint8_t>(r[1] ^ r[2] ^ r[3] ^ r[4] ^ r[5] ^ r[6]));
    return r;
}

// Data record: key (big-endian), five value bytes (unused ones 0xFF), XOR of bytes 0 to 6.
inline Bytes dataRecord(std::uint16_t key, std::initializer_list<std::uint8_t> value) {
    Bytes r(8, 0xFF);
    r[0] = static_cast<std::uint8_t>(key >> 8);
    r[1] = static_cast<std::uint8_t>(key);
    std::size_t at = 2;
    for (std::uint8_t b : value) r.at(at++) = b;
    r[7] = 0;
    for (std::size_t i = 0; i < 7; ++i) r[7] ^= r[i];
    return r;
}

inline Bytes join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

inline std::string hexOf(const Bytes& bytes) {
    std::string text;
    char digits[4];
    for (std::uint8_t b : bytes) {
        std::snprintf(digits, sizeof digits, "%02X ", b);
        text += digits;
    }
    return text;
}

// Wine adds the archive bit to every file, so only these two bits are compared.
inline bool isHiddenReadOnly(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    const DWORD wanted = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY;
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & wanted) == wanted;
}

// A fresh folder in the system's temporary folder, removed with its files (whatever their
// attributes) when the test ends.
class ScratchFolder {
public:
    ScratchFolder() {
        wchar_t base[MAX_PATH + 1];
        GetTempPathW(MAX_PATH + 1, base);
        for (unsigned n = GetTickCount() & 0xFFFFF;; ++n) {
            folder = std::wstring(base) + L"scenova-settings-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                     std::to_wstring(n);
            if (CreateDirectoryW(folder.c_str(), nullptr)) break;
        }
    }
    ~ScratchFolder() {
        for (const std::wstring& name : names()) {
            std::wstring path = file(name);
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(path.c_str());
        }
        RemoveDirectoryW(folder.c_str());
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::wstring& path() const { return folder; }
    std::wstring file(const std::wstring& name) const { return folder + L"\\" + name; }

    std::wstring write(const std::wstring& name, const Bytes& bytes) const {
        std::wstring path = file(name);
        HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_NE(h, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(h);
        return path;
    }

    Bytes read(const std::wstring& name) const { return readFileBytes(file(name)); }

    // Names of the files in the folder, in the order the system lists them.
    std::vector<std::wstring> names() const {
        std::vector<std::wstring> found;
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) return found;
        do {
            std::wstring name = data.cFileName;
            if (name != L"." && name != L"..") found.push_back(name);
        } while (FindNextFileW(find, &data));
        FindClose(find);
        return found;
    }

private:
    std::wstring folder;
};

}  // namespace settings_test
