// A settings write that fails must leave the card's previous DREC.INI exactly as it was:
// same bytes, same attributes, no temporary file beside it, and the caller gets 5020.
// The folders are real; the failures come from the disk itself where Wine can make one
// (a file held open, a file or folder made immutable) and otherwise from a file system
// installed in front of the real one.
#include "archive/FirmInfo.h"

#include "archive/FileSystem.h"
#include "base/Exception.h"
#include "support/ChildProcess.h"
#include "support/ForwardingFileSystem.h"
#include "support/MessagePump.h"
#include "support/SettingsTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <memory>

using namespace settings_test;

namespace {

const std::wstring kUnwritable = L"設定ファイルを書き込めません。";
constexpr FirmwareCode kCode;

// The real file system, except for the failures a test asks for.
class FailingFileSystem : public ForwardingFileSystem {
public:
    std::size_t writableBytes = std::numeric_limits<std::size_t>::max();  // per file opened for writing
    bool closeFails = false;
    bool noTemporaryFile = false;

    std::unique_ptr<File> open(const std::wstring& path, FileMode mode) override {
        std::unique_ptr<File> file = real().open(path, mode);
        if (!file || mode == FileMode::ReadBinary) return file;
        return std::make_unique<FailingFile>(std::move(file), *this);
    }
    std::wstring createTempFile(const std::wstring& prefix) override {
        return noTemporaryFile ? std::wstring() : real().createTempFile(prefix);
    }
    std::wstring createTempFileIn(const std::wstring& folder, const std::wstring& prefix) override {
        return noTemporaryFile ? std::wstring() : real().createTempFileIn(folder, prefix);
    }
    std::int64_t attributes(const std::wstring& path) override { return real().attributes(path); }
    bool setAttributes(const std::wstring& path, std::uint32_t bits) override { return real().setAttributes(path, bits); }

private:
    // Writes until the limit is reached, like a card that fills up or is pulled out.
    class FailingFile : public File {
    public:
        FailingFile(std::unique_ptr<File> file, const FailingFileSystem& fs) : file(std::move(file)), fs(fs) {}
        std::size_t read(void* buffer, std::size_t size) override { return file->read(buffer, size); }
        std::size_t write(const void* buffer, std::size_t size) override {
            std::size_t allowed = std::min(size, fs.writableBytes - written);
            std::size_t done = allowed ? file->write(buffer, allowed) : 0;
            written += done;
            return done;
        }
        bool seek(std::int64_t offset, int origin) override { return file->seek(offset, origin); }
        std::int64_t tell() override { return file->tell(); }
        bool close() override { return file->close() && !fs.closeFails; }

    private:
        std::unique_ptr<File> file;
        const FailingFileSystem& fs;
        std::size_t written = 0;
    };
};

// Something that stops the write while it exists.
class Obstacle {
public:
    virtual ~Obstacle() = default;
    // False when the host could not put the obstacle in place.
    virtual bool inEffect() const { return true; }
};

class InstalledFileSystem : public Obstacle {
public:
    explicit InstalledFileSystem(std::function<void(FailingFileSystem&)> configure) {
        configure(fs);
        FileSystem::install(&fs);
    }
    ~InstalledFileSystem() override { FileSystem::install(nullptr); }

private:
    FailingFileSystem fs;
};

// Another program holds the file open without letting it be deleted or renamed over.
class HeldOpen : public Obstacle {
public:
    explicit HeldOpen(const std::wstring& path)
        : handle(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                             nullptr)) {
        EXPECT_NE(handle, INVALID_HANDLE_VALUE);
    }
    ~HeldOpen() override {
        if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    }

private:
    HANDLE handle;
};

using PathConverter = char*(CDECL*)(const wchar_t*);
using DosPathConverter = wchar_t*(CDECL*)(const char*);

template <typename Function>
Function wineFunction(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name)));
}

std::wstring unixPathOf(const std::wstring& path) {
    auto convert = wineFunction<PathConverter>("wine_get_unix_file_name");
    char* unixPath = convert ? convert(path.c_str()) : nullptr;
    if (!unixPath) return std::wstring();
    std::wstring wide;
    for (const char* c = unixPath; *c; ++c) wide += static_cast<wchar_t>(static_cast<unsigned char>(*c));
    HeapFree(GetProcessHeap(), 0, unixPath);
    return wide;
}

std::wstring dosPathOf(const char* unixPath) {
    auto convert = wineFunction<DosPathConverter>("wine_get_dos_file_name");
    wchar_t* dosPath = convert ? convert(unixPath) : nullptr;
    if (!dosPath) return std::wstring();
    std::wstring path = dosPath;
    HeapFree(GetProcessHeap(), 0, dosPath);
    return path;
}

// Runs a shell command on the host and waits for it. Wine starts host programs without a
// process handle to wait on, so the command ends by creating a marker file that is polled.
// False when the host has no shell or chattr; a start that fails, or a command that never
// ends, is a failure of the test.
bool runOnHost(const std::wstring& command) {
    std::wstring shell = dosPathOf("/bin/sh");
    if (shell.empty() || GetFileAttributesW(dosPathOf("/usr/bin/chattr").c_str()) == INVALID_FILE_ATTRIBUTES) return false;
    wchar_t folder[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, folder);
    std::wstring marker = std::wstring(folder) + L"scenova-host-done-" + std::to_wstring(GetCurrentProcessId());
    DeleteFileW(marker.c_str());
    ChildProcess host(L"", L"\"" + shell + L"\" -c \"" + command + L"; touch " + unixPathOf(marker) + L"\"");
    if (!host.started()) {
        ADD_FAILURE() << host.failure();
        return false;
    }
    bool ended = pumpMessagesUntil([&] { return GetFileAttributesW(marker.c_str()) != INVALID_FILE_ATTRIBUTES; });
    EXPECT_TRUE(ended) << "the host command did not end";
    DeleteFileW(marker.c_str());
    return ended;
}

// The host makes the file or folder immutable, as a write-protected card refuses every
// change: no attribute change, no new file, no rename over it. Needs Wine, chattr and a
// host file system that supports it; isImmutable tells whether it took.
class Immutable : public Obstacle {
public:
    Immutable(const std::wstring& path, const std::function<bool()>& isImmutable) : unixPath(unixPathOf(path)) {
        applied = !unixPath.empty() && runOnHost(L"/usr/bin/chattr +i " + unixPath) && isImmutable();
    }
    ~Immutable() override {
        if (!unixPath.empty()) runOnHost(L"/usr/bin/chattr -i " + unixPath);
    }
    bool inEffect() const override { return applied; }

private:
    std::wstring unixPath;
    bool applied = false;
};

struct FailureCase {
    const char* name;
    std::function<std::unique_ptr<Obstacle>(const ScratchFolder& folder)> obstruct;
};

const Bytes kOldFile = join({headerRecord(), dataRecord(0x0301, {0x02}),  // operation buzzer off
                             dataRecord(0x0801, {0x00, 0x55}),            // threshold 0.55 G
                             dataRecord(0x2001, {0x12, 0x34})});          // a key the program does not know

// What every failed write must leave behind.
void expectOldFileKept(const ScratchFolder& folder, const std::function<void()>& write) {
    try {
        write();
        ADD_FAILURE() << "the write reported success";
    } catch (const Exception& e) {
        EXPECT_EQ(e.message(), kUnwritable);
    }
    EXPECT_EQ(hexOf(folder.read(L"DREC.INI")), hexOf(kOldFile));
    EXPECT_TRUE(isHiddenReadOnly(folder.file(L"DREC.INI")));
    EXPECT_EQ(folder.names(), std::vector<std::wstring>{L"DREC.INI"});
}

// Runs each case twice, as the settings dialog writes (merging into the old file) and as
// the card restore writes its factory file; false when the obstacle did not take.
bool runCase(const FailureCase& c) {
    for (bool factoryFile : {false, true}) {
        SCOPED_TRACE(factoryFile ? "factory file" : "dialog write with merge");
        ScratchFolder folder;
        std::wstring path = folder.write(L"DREC.INI", kOldFile);
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
        FirmInfo settings(kCode);
        settings.setThreshold(45);
        settings.setDirectionAngle(-10);
        {
            std::unique_ptr<Obstacle> obstacle = c.obstruct(folder);
            if (!obstacle->inEffect()) return false;
            expectOldFileKept(folder, [&] {
                if (factoryFile)
                    FirmInfo::writeDefaultSettingsFile(folder.path(), kCode);
                else
                    settings.writeSettingsFile(path, true);
            });
        }
        // The record set did not take on the old file's records either.
        EXPECT_EQ(settings.recordCount(), 5);
        // And the file is still rewritten once the obstacle is gone.
        settings.writeSettingsFile(path, true);
        settings.verifySettingsFile(path);
    }
    return true;
}

std::unique_ptr<Obstacle> failing(std::function<void(FailingFileSystem&)> configure) {
    return std::make_unique<InstalledFileSystem>(std::move(configure));
}

TEST(SettingsFileWrite, FailedWriteKeepsTheOldFile) {
    std::vector<FailureCase> cases = {
        {"write fails half-way", [](const ScratchFolder&) { return failing([](FailingFileSystem& fs) { fs.writableBytes = 20; }); }},
        {"nothing can be written", [](const ScratchFolder&) { return failing([](FailingFileSystem& fs) { fs.writableBytes = 0; }); }},
        {"flush on close fails", [](const ScratchFolder&) { return failing([](FailingFileSystem& fs) { fs.closeFails = true; }); }},
        {"no temporary file", [](const ScratchFolder&) { return failing([](FailingFileSystem& fs) { fs.noTemporaryFile = true; }); }},
        {"read-only DREC.INI held open by another program",
         [](const ScratchFolder& folder) { return std::make_unique<HeldOpen>(folder.file(L"DREC.INI")); }},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(runCase(c));
    }
}

bool attributesRefused(const std::wstring& path) {
    return !SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
}

bool fileCreationRefused(const std::wstring& folder) {
    std::wstring probe = folder + L"\\probe";
    HANDLE h = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return true;
    CloseHandle(h);
    DeleteFileW(probe.c_str());
    return false;
}

TEST(SettingsFileWrite, WriteProtectedCardKeepsTheOldFile) {
    std::vector<FailureCase> cases = {
        {"read-only DREC.INI that cannot be replaced",
         [](const ScratchFolder& folder) {
             std::wstring path = folder.file(L"DREC.INI");
             return std::make_unique<Immutable>(path, [path] { return attributesRefused(path); });
         }},
        {"destination made unwritable",
         [](const ScratchFolder& folder) {
             std::wstring path = folder.path();
             return std::make_unique<Immutable>(path, [path] { return fileCreationRefused(path); });
         }},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        if (!runCase(c)) GTEST_SKIP() << c.name << ": the host cannot make files immutable (needs Wine and chattr)";
    }
}

}  // namespace
