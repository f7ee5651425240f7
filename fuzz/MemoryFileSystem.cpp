#include "MemoryFileSystem.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwctype>

namespace {

class MemoryFile : public File {
public:
    MemoryFile(std::shared_ptr<MemoryFileSystem::Bytes> bytes) : bytes(std::move(bytes)) {}

    std::size_t read(void* buffer, std::size_t size) override {
        if (position >= bytes->size()) return 0;
        const std::size_t count = std::min(size, bytes->size() - static_cast<std::size_t>(position));
        std::memcpy(buffer, bytes->data() + position, count);
        position += count;
        return count;
    }
    std::size_t write(const void* buffer, std::size_t size) override {
        const std::size_t end = static_cast<std::size_t>(position) + size;
        if (end > bytes->size()) bytes->resize(end);
        std::memcpy(bytes->data() + position, buffer, size);
        position = end;
        return size;
    }
    bool seek(std::int64_t offset, int origin) override {
        const std::int64_t base = origin == SEEK_SET ? 0 : origin == SEEK_CUR ? static_cast<std::int64_t>(position)
                                                                              : static_cast<std::int64_t>(bytes->size());
        // Like a C stream: anywhere from 0 on, also past the end.
        if (offset < -base || offset > (std::int64_t(1) << 40) - base) return false;
        position = static_cast<std::uint64_t>(base + offset);
        return true;
    }
    std::int64_t tell() override { return static_cast<std::int64_t>(position); }
    bool close() override { return true; }

private:
    std::shared_ptr<MemoryFileSystem::Bytes> bytes;
    std::uint64_t position = 0;
};

std::wstring folderOf(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L'/');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

bool matchFrom(const std::wstring& pattern, std::size_t p, const std::wstring& name, std::size_t n) {
    while (p < pattern.size()) {
        if (pattern[p] == L'*') {
            for (std::size_t k = n; k <= name.size(); ++k) {
                if (matchFrom(pattern, p + 1, name, k)) return true;
            }
            return false;
        }
        if (n >= name.size()) return false;
        if (pattern[p] != L'?' && std::towupper(static_cast<wint_t>(pattern[p])) != std::towupper(static_cast<wint_t>(name[n])))
            return false;
        ++p;
        ++n;
    }
    return n == name.size();
}

}  // namespace

void MemoryFileSystem::clear() {
    files.clear();
    folders.clear();
    nextTemporary = 0;
}

void MemoryFileSystem::put(const std::wstring& path, const std::uint8_t* bytes, std::size_t size) {
    files[path] = std::make_shared<Bytes>(bytes, bytes + size);
}

void MemoryFileSystem::makeFolder(const std::wstring& path) { folders.push_back(path); }

const MemoryFileSystem::Bytes* MemoryFileSystem::contentOf(const std::wstring& path) const {
    auto found = files.find(path);
    return found == files.end() ? nullptr : found->second.get();
}

std::unique_ptr<File> MemoryFileSystem::open(const std::wstring& path, FileMode mode) {
    auto found = files.find(path);
    if (mode == FileMode::ReadBinary) {
        if (found == files.end()) return nullptr;
        return std::make_unique<MemoryFile>(found->second);
    }
    auto bytes = std::make_shared<Bytes>();
    files[path] = bytes;
    return std::make_unique<MemoryFile>(bytes);
}

bool MemoryFileSystem::isDirectory(const std::wstring& path) {
    return std::find(folders.begin(), folders.end(), path) != folders.end();
}

bool MemoryFileSystem::exists(const std::wstring& path) { return files.count(path) > 0 || isDirectory(path); }

std::vector<DirectoryEntry> MemoryFileSystem::list(const std::wstring& folder, const std::wstring& pattern) {
    std::vector<DirectoryEntry> entries;
    for (const auto& file : files) {
        if (folderOf(file.first) != folder) continue;
        const std::wstring name = file.first.substr(folder.size() + 1);
        if (matches(pattern, name)) entries.push_back({name, false});
    }
    return entries;
}

std::wstring MemoryFileSystem::createTempFile(const std::wstring& prefix) { return createTempFileIn(L"/tmp", prefix); }

std::wstring MemoryFileSystem::createTempFileIn(const std::wstring& folder, const std::wstring& prefix) {
    const std::wstring path = joinPath(folder, prefix + std::to_wstring(++nextTemporary) + L".tmp");
    files[path] = std::make_shared<Bytes>();
    return path;
}

bool MemoryFileSystem::remove(const std::wstring& path) { return files.erase(path) > 0; }

bool MemoryFileSystem::replace(const std::wstring& from, const std::wstring& to) {
    auto found = files.find(from);
    if (found == files.end()) return false;
    std::shared_ptr<Bytes> bytes = found->second;
    files.erase(found);
    files[to] = bytes;
    return true;
}

std::int64_t MemoryFileSystem::fileSize(const std::wstring& path) {
    const Bytes* bytes = contentOf(path);
    return bytes ? static_cast<std::int64_t>(bytes->size()) : -1;
}

bool MemoryFileSystem::matches(const std::wstring& pattern, const std::wstring& name) {
    return matchFrom(pattern, 0, name, 0);
}
