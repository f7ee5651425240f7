#pragma once
// Helpers of the archive tests: a scratch folder on disk and a file
// system decorator that counts the bytes read from each path, remembers the temporary files
// it made and can refuse the exclusive sound-file open.
#include "archive/FileSystem.h"
#include "support/ForwardingFileSystem.h"
#include "support/WholeFile.h"
#include "tools/writer/RecorderWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <process.h>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

class ScratchFolder {
public:
    ScratchFolder() {
        static std::atomic<int> counter{0};
        folder = std::filesystem::temp_directory_path() /
                 (L"scenova-archive-" + std::to_wstring(_getpid()) + L"-" + std::to_wstring(++counter));
        // Test programs run side by side: the process id keeps their folders apart.
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::wstring path() const { return folder.wstring(); }
    std::wstring file(const std::wstring& name) const { return (folder / name).wstring(); }
    // Saves the writer's bytes under name and returns the full path.
    std::wstring save(const std::wstring& name, const RecorderWriter& writer) const {
        std::wstring full = file(name);
        EXPECT_TRUE(writer.save(full)) << "could not write the test input";
        return full;
    }

private:
    std::filesystem::path folder;
};

inline bool fileExists(const std::wstring& path) { return FileSystem::real().exists(path); }

class RecordingFileSystem : public ForwardingFileSystem {
public:
    RecordingFileSystem() { FileSystem::install(this); }
    ~RecordingFileSystem() override { FileSystem::install(nullptr); }

    bool refuseSoundFile = false;
    // The drive of the sound file holds this many bytes: writes beyond them come up short.
    std::size_t soundFileRoom = SIZE_MAX;
    // The sound file's close fails, as when its buffered bytes cannot be written.
    bool soundFileCloseFails = false;
    std::map<std::wstring, std::size_t> bytesRead;
    std::vector<std::wstring> tempFiles;

    std::unique_ptr<File> open(const std::wstring& path, FileMode mode) override {
        if (mode == FileMode::WriteBinaryExclusive && refuseSoundFile) return nullptr;
        std::unique_ptr<File> file = real().open(path, mode);
        if (!file) return nullptr;
        if (mode == FileMode::WriteBinaryExclusive && (soundFileRoom != SIZE_MAX || soundFileCloseFails))
            return std::make_unique<FullDriveFile>(std::move(file), soundFileRoom, soundFileCloseFails);
        return std::make_unique<CountingFile>(std::move(file), bytesRead[path]);
    }
    std::wstring createTempFile(const std::wstring& prefix) override {
        std::wstring made = real().createTempFile(prefix);
        if (!made.empty()) tempFiles.push_back(made);
        return made;
    }

    // Temporary files made through this file system that still exist.
    std::vector<std::wstring> tempFilesLeft() const {
        std::vector<std::wstring> left;
        for (const std::wstring& path : tempFiles) {
            if (real().exists(path)) left.push_back(path);
        }
        return left;
    }

private:
    class FullDriveFile : public File {
    public:
        FullDriveFile(std::unique_ptr<File> inner, std::size_t room, bool closeFails)
            : inner(std::move(inner)), room(room), closeFails(closeFails) {}
        std::size_t read(void* buffer, std::size_t size) override { return inner->read(buffer, size); }
        std::size_t write(const void* buffer, std::size_t size) override {
            std::size_t accepted = inner->write(buffer, std::min(size, room));
            room -= accepted;
            return accepted;
        }
        bool seek(std::int64_t offset, int origin) override { return inner->seek(offset, origin); }
        std::int64_t tell() override { return inner->tell(); }
        bool close() override { return inner->close() && !closeFails; }

    private:
        std::unique_ptr<File> inner;
        std::size_t room;
        bool closeFails;
    };

    class CountingFile : public File {
    public:
        CountingFile(std::unique_ptr<File> inner, std::size_t& counter) : inner(std::move(inner)), counter(counter) {}
        std::size_t read(void* buffer, std::size_t size) override {
            std::size_t got = inner->read(buffer, size);
            counter += got;
            return got;
        }
        std::size_t write(const void* buffer, std::size_t size) override { return inner->write(buffer, size); }
        bool seek(std::int64_t offset, int origin) override { return inner->seek(offset, origin); }
        std::int64_t tell() override { return inner->tell(); }
        bool close() override { return inner->close(); }

    private:
        std::unique_ptr<File> inner;
        std::size_t& counter;
    };
};
