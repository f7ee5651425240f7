#pragma once
// The file system of the native build (Linux): C streams, directory search with the
// Windows wildcards matched case-insensitively, temporary files from mkstemp. Paths are wide
// strings as everywhere in the program, UTF-8 on the way to the system.
#include "archive/FileSystem.h"

class PosixFileSystem : public FileSystem {
public:
    std::unique_ptr<File> open(const std::wstring& path, FileMode mode) override;
    bool isDirectory(const std::wstring& path) override;
    bool exists(const std::wstring& path) override;
    std::vector<DirectoryEntry> list(const std::wstring& folder, const std::wstring& pattern) override;
    std::wstring createTempFile(const std::wstring& prefix) override;
    std::wstring createTempFileIn(const std::wstring& folder, const std::wstring& prefix) override;
    bool remove(const std::wstring& path) override;
    bool replace(const std::wstring& from, const std::wstring& to) override;
    // There is no hidden attribute: hidden and read-only is read-only for everyone.
    bool setNormalAttributes(const std::wstring& path) override;
    bool setHiddenReadOnly(const std::wstring& path) override;
    std::int64_t attributes(const std::wstring& path) override;  // the mode bits
    bool setAttributes(const std::wstring& path, std::uint32_t attributes) override;
    std::int64_t fileSize(const std::wstring& path) override;

    static std::string toUtf8(const std::wstring& text);
    static std::wstring fromUtf8(const std::string& text);
};
