#include "cli/StagingFolder.h"

#include "archive/FileSystem.h"
#include "ui/WindowException.h"

#include <windows.h>

namespace {

std::wstring lastErrorText() { return WindowException::systemErrorText(GetLastError()); }

}  // namespace

bool StagingFolder::create(const std::wstring& targetPath, std::wstring& error) {
    target = targetPath;
    while (target.size() > 1 && (target.back() == L'\\' || target.back() == L'/')) target.pop_back();
    // The process id keeps two exports into the same place apart.
    staging = target + L".partial-" + std::to_wstring(GetCurrentProcessId());
    if (!CreateDirectoryW(staging.c_str(), nullptr)) {
        error = staging + L": " + lastErrorText();
        staging.clear();
        return false;
    }
    return true;
}

StagingFolder::~StagingFolder() {
    if (!committed) removeAll();
}

std::wstring StagingFolder::pathOf(const std::wstring& relative) const { return staging + L"\\" + relative; }

bool StagingFolder::createFolder(const std::wstring& relative, std::wstring& error) {
    if (!CreateDirectoryW(pathOf(relative).c_str(), nullptr)) {
        error = pathOf(relative) + L": " + lastErrorText();
        return false;
    }
    folders.push_back(relative);
    return true;
}

bool StagingFolder::writeFile(const std::wstring& relative, const void* bytes, std::size_t size,
                              std::wstring& error) {
    const std::wstring path = pathOf(relative);
    std::unique_ptr<File> file = FileSystem::current().open(path, FileMode::WriteBinary);
    if (!file) {
        error = path + L": " + lastErrorText();
        return false;
    }
    files.push_back(relative);
    const bool written = file->write(bytes, size) == size;
    if (!file->close() || !written) {
        error = path + L": " + WindowException::systemErrorText(ERROR_WRITE_FAULT);
        return false;
    }
    return true;
}

bool StagingFolder::commit(std::wstring& error) {
    // Only an empty folder may stand where the result goes; RemoveDirectoryW refuses others.
    if (GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES && !RemoveDirectoryW(target.c_str())) {
        error = target + L": " + lastErrorText();
        return false;
    }
    if (!MoveFileExW(staging.c_str(), target.c_str(), 0)) {
        error = target + L": " + lastErrorText();
        return false;
    }
    committed = true;
    return true;
}

void StagingFolder::removeAll() {
    if (staging.empty()) return;
    for (const std::wstring& file : files) DeleteFileW(pathOf(file).c_str());
    for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder) RemoveDirectoryW(pathOf(*folder).c_str());
    RemoveDirectoryW(staging.c_str());
}
