#pragma once
// A file system held in memory, for the fuzz targets: the input becomes one or more files,
// and what the readers write (the temporary sound file, a settings file) stays in memory
// too, so that an input costs no disk access and leaves nothing behind.
#include "archive/FileSystem.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class MemoryFileSystem : public FileSystem {
public:
    using Bytes = std::vector<std::uint8_t>;

    void clear();
    void put(const std::wstring& path, const std::uint8_t* bytes, std::size_t size);
    void makeFolder(const std::wstring& path);
    const Bytes* contentOf(const std::wstring& path) const;

    std::unique_ptr<File> open(const std::wstring& path, FileMode mode) override;
    bool isDirectory(const std::wstring& path) override;
    bool exists(const std::wstring& path) override;
    // Every file directly in folder whose name matches the pattern ('*' and '?', case-insensitive).
    std::vector<DirectoryEntry> list(const std::wstring& folder, const std::wstring& pattern) override;
    std::wstring createTempFile(const std::wstring& prefix) override;
    std::wstring createTempFileIn(const std::wstring& folder, const std::wstring& prefix) override;
    bool remove(const std::wstring& path) override;
    bool replace(const std::wstring& from, const std::wstring& to) override;
    bool setNormalAttributes(const std::wstring& path) override { return exists(path); }
    bool setHiddenReadOnly(const std::wstring& path) override { return exists(path); }
    std::int64_t fileSize(const std::wstring& path) override;

    static bool matches(const std::wstring& pattern, const std::wstring& name);

private:
    std::map<std::wstring, std::shared_ptr<Bytes>> files;
    std::vector<std::wstring> folders;
    unsigned nextTemporary = 0;
};
