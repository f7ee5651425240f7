#include "platform/Win32FileSystem.h"

#include "platform/StdioFile.h"

#include <windows.h>
#include <share.h>

namespace {

class FindHandle {
public:
    explicit FindHandle(HANDLE handle) : handle(handle) {}
    ~FindHandle() {
        if (handle != INVALID_HANDLE_VALUE) FindClose(handle);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    HANDLE get() const { return handle; }

private:
    HANDLE handle;
};

}  // namespace

FileSystem& FileSystem::real() {
    static Win32FileSystem fs;
    return fs;
}

std::unique_ptr<File> Win32FileSystem::open(const std::wstring& path, FileMode mode) {
    if (!pathFits(path)) return nullptr;
    const wchar_t* flags = mode == FileMode::ReadBinary ? L"rb" : L"wb";
    int sharing = mode == FileMode::WriteBinaryExclusive ? _SH_DENYRW : _SH_DENYNO;
    std::FILE* stream = _wfsopen(path.c_str(), flags, sharing);
    if (!stream) return nullptr;
    return std::make_unique<StdioFile>(stream);
}

bool Win32FileSystem::isDirectory(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<DirectoryEntry> Win32FileSystem::list(const std::wstring& folder, const std::wstring& pattern) {
    std::vector<DirectoryEntry> entries;
    WIN32_FIND_DATAW data;
    FindHandle find(FindFirstFileW(joinPath(folder, pattern).c_str(), &data));
    if (find.get() == INVALID_HANDLE_VALUE) return entries;
    do {
        std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        entries.push_back({name, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileW(find.get(), &data));
    return entries;
}

std::wstring Win32FileSystem::createTempFile(const std::wstring& prefix) {
    wchar_t folder[MAX_PATH + 1];
    DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH) return std::wstring();
    return createTempFileIn(folder, prefix);
}

std::wstring Win32FileSystem::createTempFileIn(const std::wstring& folder, const std::wstring& prefix) {
    wchar_t path[MAX_PATH];
    // GetTempFileNameW needs room for the folder plus a 14-character name.
    if (folder.size() > MAX_PATH - 14) return std::wstring();
    if (GetTempFileNameW(folder.c_str(), prefix.c_str(), 0, path) == 0) return std::wstring();
    return path;
}

bool Win32FileSystem::remove(const std::wstring& path) { return DeleteFileW(path.c_str()) != 0; }

bool Win32FileSystem::replace(const std::wstring& from, const std::wstring& to) {
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool Win32FileSystem::setNormalAttributes(const std::wstring& path) {
    return SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL) != 0;
}

bool Win32FileSystem::setHiddenReadOnly(const std::wstring& path) {
    return SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY) != 0;
}

std::int64_t Win32FileSystem::attributes(const std::wstring& path) {
    DWORD bits = GetFileAttributesW(path.c_str());
    return bits == INVALID_FILE_ATTRIBUTES ? -1 : static_cast<std::int64_t>(bits);
}

bool Win32FileSystem::setAttributes(const std::wstring& path, std::uint32_t attributes) {
    return SetFileAttributesW(path.c_str(), attributes) != 0;
}

std::int64_t Win32FileSystem::fileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}
