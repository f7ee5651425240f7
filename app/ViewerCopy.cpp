#include "app/ViewerCopy.h"

#include "app/ProgramPath.h"
#include "base/Exception.h"
#include "base/StringTable.h"
#include "ui/WindowException.h"

#include <windows.h>

namespace {

constexpr unsigned kViewerFileName = 5085;
constexpr unsigned kSizeMismatchText = 5007;

// -1 when the size cannot be read.
std::int64_t fileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
}

// A drive's root comes back from the folder dialog as "E:\"; the copy's name follows one
// backslash, so that it compares equal to the program's own path.
std::wstring pathInFolder(std::wstring folder, const std::wstring& name) {
    if (folder.empty() || folder.back() != L'\\') folder += L'\\';
    return folder + name;
}

std::wstring fullLongPath(const std::wstring& path) {
    wchar_t buffer[MAX_PATH];
    std::wstring result = path;
    DWORD length = GetFullPathNameW(result.c_str(), MAX_PATH, buffer, nullptr);
    if (length > 0 && length < MAX_PATH) result = buffer;
    length = GetLongPathNameW(result.c_str(), buffer, MAX_PATH);
    if (length > 0 && length < MAX_PATH) result = buffer;
    return result;
}

}  // namespace

ProgramFile ProgramFile::running() {
    ProgramFile program;
    program.path = programFilePath();
    std::int64_t size = program.path.empty() ? -1 : fileSize(program.path);
    if (size < 0) throw WindowException(static_cast<std::uint32_t>(GetLastError()));
    program.size = static_cast<std::uint64_t>(size);
    return program;
}

bool ViewerCopy::isSameFile(const std::wstring& first, const std::wstring& second) {
    return lstrcmpiW(fullLongPath(first).c_str(), fullLongPath(second).c_str()) == 0;
}

void ViewerCopy::writeInto(const std::wstring& folder) const {
    ProgramFile source = program ? *program : ProgramFile::running();
    std::wstring target = pathInFolder(folder, loadString(kViewerFileName));
    if (isSameFile(target, source.path)) return;
    if (!CopyFileW(source.path.c_str(), target.c_str(), FALSE))
        throw WindowException(static_cast<std::uint32_t>(GetLastError()));
    if (fileSize(target) != static_cast<std::int64_t>(source.size)) {
        SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(target.c_str());
        throw IOException(loadString(kSizeMismatchText));
    }
}
