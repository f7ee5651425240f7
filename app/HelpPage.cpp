#include "app/HelpPage.h"

#include "archive/FileSystem.h"
#include "playback/ResourceData.h"
#include "ui/WindowException.h"

#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <memory>
#include <string>

namespace {

// RT_HTML: the page and its pictures are stored as this resource type.
const wchar_t* const kHtmlType = MAKEINTRESOURCEW(23);
constexpr int kFolderAttempts = 100;

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

}  // namespace

std::wstring HelpPage::makeFreshFolder() {
    wchar_t temp[MAX_PATH + 1];
    DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    if (length == 0 || length > MAX_PATH) failWithLastError();
    DWORD seed = GetTickCount() ^ (GetCurrentProcessId() << 16);
    for (int attempt = 0; attempt < kFolderAttempts; ++attempt) {
        wchar_t name[32];
        std::swprintf(name, 32, L"SCENOVA-help-%08lx", static_cast<unsigned long>(seed + attempt));
        std::wstring folder = std::wstring(temp) + name;
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

void HelpPage::show() {
    std::wstring folder = makeFreshFolder();
    try {
        std::wstring page = writeTo(folder);
        HINSTANCE result = ShellExecuteW(nullptr, nullptr, page.c_str(), nullptr, L"C:\\", SW_SHOWNORMAL);
        if (reinterpret_cast<INT_PTR>(result) <= 32) failWithLastError();
    } catch (const WindowException&) {
        removeWritten(folder);
        throw;
    }
}

// A copy no browser will read is not left behind.
void HelpPage::removeWritten(const std::wstring& folder) {
    DeleteFileW(joinPath(folder, kPageFileName).c_str());
    for (int id = kFirstPictureId; id <= kLastPictureId; ++id)
        DeleteFileW(joinPath(folder, std::to_wstring(id) + L".png").c_str());
    RemoveDirectoryW(folder.c_str());
}
