#pragma once
// The real file system on Windows: C streams with deny-none sharing, the system's
// directory search and temporary file names.
#include "archive/FileSystem.h"

class Win32FileSystem : public FileSystem {
public:
    std::unique_ptr<File> open(const std::wstring& path, FileMode mode) override;
    bool isDirectory(const std::wstring& path) override;
    bool exists(const std::wstring& path) override;
    std::vector<DirectoryEntry> list(const std::wstring& folder, const std::wstring& pattern) override;
    std::wstring createTempFile(const std::wstring& prefix) override;
    std::wstring createTempFileIn(const std::wstring& folder, const std::wstring& prefix) override;
    bool remove(const std::wstring& path) override;
    bool replace(const std::wstring& from, const std::wstring& to) override;
    bool setNormalAttributes(const std::wstring& path) override;
    bool setHiddenReadOnly(const std::wstring& path) override;
    std::int64_t attributes(const std::wstring& path) override;
    bool setAttributes(const std::wstring& path, std::uint32_t attributes) override;
    std::int64_t fileSize(const std::wstring& path) override;
};
