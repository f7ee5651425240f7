#pragma once
// The one seam through which format code (recorded data, catalog, WAV, settings file)
// touches files, folders and temporary files. The program uses the real file system;
// tests put a decorator in front of it to count reads or make writes fail, and the same
// format code builds natively on Linux for fuzzing.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

// Paths are wide strings of at most this many characters including the terminator.
constexpr std::size_t kMaxPathChars = 260;

class File {
public:
    virtual ~File() = default;
    File() = default;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // Reads up to size bytes; returns how many were read (0 at the end or on error).
    virtual std::size_t read(void* buffer, std::size_t size) = 0;
    // Writes size bytes; returns how many were written.
    virtual std::size_t write(const void* buffer, std::size_t size) = 0;
    // origin is SEEK_SET, SEEK_CUR or SEEK_END; false on failure.
    virtual bool seek(std::int64_t offset, int origin) = 0;
    virtual std::int64_t tell() = 0;
    // Flushes and closes; false when buffered data could not be written. Further calls
    // do nothing and return true.
    virtual bool close() = 0;
};

enum class FileMode {
    ReadBinary,   // "rb", deny-none sharing
    WriteBinary,  // "wb", creates or truncates
    WriteBinaryExclusive,  // "wb", other processes may neither read nor write while it is open
};

struct DirectoryEntry {
    std::wstring name;  // name only, no folder
    bool isDirectory = false;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // nullptr when the file cannot be opened.
    virtual std::unique_ptr<File> open(const std::wstring& path, FileMode mode) = 0;
    virtual bool isDirectory(const std::wstring& path) = 0;
    virtual bool exists(const std::wstring& path) = 0;
    // Entries of folder matching a wildcard pattern ("*.dpc", "Video????.dmv"), in the order
    // the system's directory search returns them; "." and ".." are left out.
    virtual std::vector<DirectoryEntry> list(const std::wstring& folder, const std::wstring& pattern) = 0;
    // Creates a new empty uniquely named file in the system's temporary folder and returns
    // its full path; an empty string on failure.
    virtual std::wstring createTempFile(const std::wstring& prefix) = 0;
    // Creates a new empty uniquely named file in folder; an empty string on failure.
    virtual std::wstring createTempFileIn(const std::wstring& folder, const std::wstring& prefix) = 0;
    virtual bool remove(const std::wstring& path) = 0;
    // Moves from onto to, replacing an existing file.
    virtual bool replace(const std::wstring& from, const std::wstring& to) = 0;
    virtual bool setNormalAttributes(const std::wstring& path) = 0;
    virtual bool setHiddenReadOnly(const std::wstring& path) = 0;
    // The attribute bits as the system keeps them, -1 when they cannot be read; with
    // setAttributes they put a file's attributes back after a failed replace.
    virtual std::int64_t attributes(const std::wstring& path) { return -1; }
    virtual bool setAttributes(const std::wstring& path, std::uint32_t attributes) { return false; }
    virtual std::int64_t fileSize(const std::wstring& path) = 0;  // -1 when it cannot be read

    // The file system format code uses; the real one unless a test installed another.
    static FileSystem& current();
    // Installs fs (not owned) as the current one; nullptr restores the real one.
    static void install(FileSystem* fs);
    // The platform's own file system, defined beside its implementation
    // (platform/Win32FileSystem.cpp, platform/PosixFileSystem.cpp).
    static FileSystem& real();
};

// Joins folder and name the way the recorder's paths are joined ("%s\%s").
std::wstring joinPath(const std::wstring& folder, const std::wstring& name);

// True when a path fits the program's path limit (including the terminator).
inline bool pathFits(const std::wstring& path) { return path.size() < kMaxPathChars; }
