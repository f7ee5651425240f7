#pragma once
// A test file system that hands every call to the real one: a test's own file system derives
// from it and overrides only the calls it fakes or watches. The file attributes keep the
// interface's "unknown" unless a test forwards them too.
#include "archive/FileSystem.h"

class ForwardingFileSystem : public FileSystem {
public:
    std::unique_ptr<File> open(const std::wstring& path, FileMode mode) override { return real().open(path, mode); }
    bool isDirectory(const std::wstring& path) override { return real().isDirectory(path); }
    bool exists(const std::wstring& path) override { return real().exists(path); }
    std::vector<DirectoryEntry> list(const std::wstring& folder, const std::wstring& pattern) override {
        return real().list(folder, pattern);
    }
    std::wstring createTempFile(const std::wstring& prefix) override { return real().createTempFile(prefix); }
    std::wstring createTempFileIn(const std::wstring& folder, const std::wstring& prefix) override {
        return real().createTempFileIn(folder, prefix);
    }
    bool remove(const std::wstring& path) override { return real().remove(path); }
    bool replace(const std::wstring& from, const std::wstring& to) override { return real().replace(from, to); }
    bool setNormalAttributes(const std::wstring& path) override { return real().setNormalAttributes(path); }
    bool setHiddenReadOnly(const std::wstring& path) override { return real().setHiddenReadOnly(path); }
    std::int64_t fileSize(const std::wstring& path) override { return real().fileSize(path); }
};
