#include "archive/FileSystem.h"

namespace {
FileSystem* installed = nullptr;
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
