#include "platform/PosixFileSystem.h"

#include "platform/StdioFile.h"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr mode_t kWritableBits = S_IWUSR;
constexpr mode_t kWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;

class DirectoryHandle {
public:
    explicit DirectoryHandle(DIR* handle) : handle(handle) {}
    ~DirectoryHandle() {
        if (handle) closedir(handle);
    }
    DirectoryHandle(const DirectoryHandle&) = delete;
    DirectoryHandle& operator=(const DirectoryHandle&) = delete;
    DIR* get() const { return handle; }

private:
    DIR* handle;
};

bool statOf(const std::wstring& path, struct stat& info) {
    return ::stat(PosixFileSystem::toUtf8(path).c_str(), &info) == 0;
}

// The system's temporary folder, as GetTempPath finds it.
std::wstring temporaryFolder() {
    const char* folder = std::getenv("TMPDIR");
    return PosixFileSystem::fromUtf8(folder && *folder ? folder : "/tmp");
}

}  // namespace

FileSystem& FileSystem::real() {
    static PosixFileSystem fs;
    return fs;
}

std::string PosixFileSystem::toUtf8(const std::wstring& text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t wide : text) {
        auto c = static_cast<std::uint32_t>(wide);
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::wstring PosixFileSystem::fromUtf8(const std::string& text) {
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > text.size()) {
            out += L'\xFFFD';  // a byte that starts no character of a name
            ++i;
            continue;
        }
        std::uint32_t c = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        out += static_cast<wchar_t>(c);
        i += length;
    }
    return out;
}

std::unique_ptr<File> PosixFileSystem::open(const std::wstring& path, FileMode mode) {
    if (!pathFits(path)) return nullptr;
    // POSIX has no sharing modes: the exclusive open is an ordinary one.
    std::FILE* stream = std::fopen(toUtf8(path).c_str(), mode == FileMode::ReadBinary ? "rb" : "wb");
    if (!stream) return nullptr;
    return std::make_unique<StdioFile>(stream);
}

bool PosixFileSystem::isDirectory(const std::wstring& path) {
    struct stat info;
    return statOf(path, info) && S_ISDIR(info.st_mode);
}

bool PosixFileSystem::exists(const std::wstring& path) {
    struct stat info;
    return statOf(path, info);
}

std::vector<DirectoryEntry> PosixFileSystem::list(const std::wstring& folder, const std::wstring& pattern) {
    std::vector<DirectoryEntry> entries;
    DirectoryHandle directory(opendir(toUtf8(folder).c_str()));
    if (!directory.get()) return entries;
    const std::string wildcard = toUtf8(pattern);
    while (const dirent* entry = readdir(directory.get())) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        // Windows matches its wildcards regardless of case.
        if (fnmatch(wildcard.c_str(), name.c_str(), FNM_CASEFOLD) != 0) continue;
        const std::wstring wideName = fromUtf8(name);
        entries.push_back({wideName, isDirectory(joinPath(folder, wideName))});
    }
    return entries;
}

std::wstring PosixFileSystem::createTempFile(const std::wstring& prefix) {
    return createTempFileIn(temporaryFolder(), prefix);
}

std::wstring PosixFileSystem::createTempFileIn(const std::wstring& folder, const std::wstring& prefix) {
    std::string path = toUtf8(joinPath(folder, prefix)) + "XXXXXX";
    const int descriptor = mkstemp(path.data());
    if (descriptor < 0) return std::wstring();
    ::close(descriptor);
    return fromUtf8(path);
}

bool PosixFileSystem::remove(const std::wstring& path) { return ::unlink(toUtf8(path).c_str()) == 0; }

bool PosixFileSystem::replace(const std::wstring& from, const std::wstring& to) {
    return std::rename(toUtf8(from).c_str(), toUtf8(to).c_str()) == 0;
}

bool PosixFileSystem::setNormalAttributes(const std::wstring& path) {
    struct stat info;
    return statOf(path, info) && ::chmod(toUtf8(path).c_str(), info.st_mode | kWritableBits) == 0;
}

bool PosixFileSystem::setHiddenReadOnly(const std::wstring& path) {
    struct stat info;
    return statOf(path, info) && ::chmod(toUtf8(path).c_str(), info.st_mode & ~kWriteBits) == 0;
}

std::int64_t PosixFileSystem::attributes(const std::wstring& path) {
    struct stat info;
    return statOf(path, info) ? static_cast<std::int64_t>(info.st_mode & 07777) : -1;
}

bool PosixFileSystem::setAttributes(const std::wstring& path, std::uint32_t attributes) {
    return ::chmod(toUtf8(path).c_str(), static_cast<mode_t>(attributes & 07777)) == 0;
}

std::int64_t PosixFileSystem::fileSize(const std::wstring& path) {
    struct stat info;
    return statOf(path, info) ? static_cast<std::int64_t>(info.st_size) : -1;
}
