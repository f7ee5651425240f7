#include "app/TemporaryFile.h"

#include "base/Exception.h"
#include "base/StringTable.h"

#include <windows.h>

namespace {

constexpr unsigned kCannotCreateText = 5026;

}  // namespace

TemporaryFile::TemporaryFile(const std::wstring& folder, const std::wstring& prefix) {
    if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        throw IOException(loadString(kCannotCreateText));
    wchar_t created[MAX_PATH] = {};
    if (GetTempFileNameW(folder.c_str(), prefix.c_str(), 0, created) == 0)
        throw IOException(loadString(kCannotCreateText));
    name = created;
}

TemporaryFile::~TemporaryFile() {
    SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(name.c_str());
}
