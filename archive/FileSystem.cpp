#include "archive/FileSystem.h"

#ifdef _WIN32
#include "archive/Win32FileSystem.h"
#else
#include "archive/PosixFileSystem.h"
#endif

namespace {
FileSystem* installed = nullptr;
}

FileSystem& FileSystem::real() {
#ifdef _WIN32
    static Win32FileSystem fs;
#else
    static PosixFileSystem fs;
#endif
    return fs;
}

FileSystem& FileSystem::current() { return installed ? *installed : real(); }

void FileSystem::install(FileSystem* fs) { installed = fs; }

std::wstring joinPath(const std::wstring& folder, const std::wstring& name) {
#ifdef _WIN32
    return folder + L"\\" + name;
#else
    return folder + L"/" + name;
#endif
}
