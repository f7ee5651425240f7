#include "app/HelpPage.h"

#include "archive/FileSystem.h"
#include "playback/ResourceData.h"
#include "ui/WindowException.h"

#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <memory>
#include <string>
#include <vector>

namespace {

// RT_HTML: the page and its pictures are stored as this resource type.
const wchar_t* const kHtmlType = MAKEINTRESOURCEW(23);
constexpr int kFolderAttempts = 100;
constexpr ULONGLONG kFileTimeTicksPerSecond = 10000000;

// The folders this run has written a copy into.
std::vector<std::wstring> shownCopies;

[[noreturn]] void failWithLastError() {
    throw WindowException(static_cast<std::uint32_t>(GetLastError()));
}

void writeResource(int id, const std::wstring& path) {
    unsigned long size = 0;
    const void* bytes = findResourceData(kHtmlType, id, &size);
    std::unique_ptr<File> file = FileSystem::real().open(path, FileMode::WriteBinary);
    if (!file) failWithLastError();
    bool written = file->write(bytes, size) == size;
    if (!file->close() || !written) {
        DWORD error = GetLastError();
        DeleteFileW(path.c_str());
        throw WindowException(static_cast<std::uint32_t>(error != 0 ? error : ERROR_WRITE_FAULT));
    }
}

std::wstring temporaryFolder() {
    wchar_t temp[MAX_PATH + 1];
    DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    if (length == 0 || length > MAX_PATH) failWithLastError();
    return temp;
}

ULONGLONG ticks(const FILETIME& time) {
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

}  // namespace

std::wstring HelpPage::makeFreshFolder() {
    std::wstring temp = temporaryFolder();
    DWORD seed = GetTickCount() ^ (GetCurrentProcessId() << 16);
    for (int attempt = 0; attempt < kFolderAttempts; ++attempt) {
        wchar_t name[32];
        std::swprintf(name, 32, L"%ls%08lx", kFolderPrefix, static_cast<unsigned long>(seed + attempt));
        std::wstring folder = temp + name;
        if (CreateDirectoryW(folder.c_str(), nullptr)) return folder;
        if (GetLastError() != ERROR_ALREADY_EXISTS) failWithLastError();
    }
    throw WindowException(static_cast<std::uint32_t>(ERROR_ALREADY_EXISTS));
}

std::wstring HelpPage::writeTo(const std::wstring& folder) {
    for (int id = kFirstPictureId; id <= kLastPictureId; ++id)
        writeResource(id, joinPath(folder, std::to_wstring(id) + L".png"));
    std::wstring page = joinPath(folder, kPageFileName);
    writeResource(kPageId, page);
    return page;
}

std::wstring HelpPage::writeFreshCopy() {
    std::wstring folder = makeFreshFolder();
    try {
        std::wstring page = writeTo(folder);
        shownCopies.push_back(folder);
        return page;
    } catch (const WindowException&) {
        removeWritten(folder);
        throw;
    }
}

void HelpPage::show() {
    std::wstring page = writeFreshCopy();
    HINSTANCE result = ShellExecuteW(nullptr, nullptr, page.c_str(), nullptr, L"C:\\", SW_SHOWNORMAL);
    if (reinterpret_cast<INT_PTR>(result) > 32) return;
    DWORD error = GetLastError();
    // A copy no browser will read is not left behind.
    std::wstring folder = shownCopies.back();
    shownCopies.pop_back();
    removeWritten(folder);
    throw WindowException(static_cast<std::uint32_t>(error));
}

void HelpPage::removeShownCopies() {
    for (const std::wstring& folder : shownCopies) removeWritten(folder);
    shownCopies.clear();
}

// Only folders named as makeFreshFolder names them, and in them only the files writeTo
// writes: whatever else someone put there stays.
void HelpPage::removeStaleCopies() {
    std::wstring temp;
    try {
        temp = temporaryFolder();
    } catch (const WindowException&) {
        return;
    }
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULONGLONG staleBefore = ticks(now) - kStaleAgeSeconds * kFileTimeTicksPerSecond;
    std::vector<std::wstring> stale;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((temp + kFolderPrefix + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        bool folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (folder && ticks(found.ftLastWriteTime) < staleBefore) stale.push_back(temp + found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    for (const std::wstring& folder : stale) removeWritten(folder);
}

void HelpPage::removeWritten(const std::wstring& folder) {
    DeleteFileW(joinPath(folder, kPageFileName).c_str());
    for (int id = kFirstPictureId; id <= kLastPictureId; ++id)
        DeleteFileW(joinPath(folder, std::to_wstring(id) + L".png").c_str());
    RemoveDirectoryW(folder.c_str());
}
