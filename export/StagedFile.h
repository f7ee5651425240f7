#pragma once
// A file that appears under its chosen name only when complete: it is written under a
// temporary name beside it, which commit() puts in place of whatever the name held.
// Until then, and on any failure, destruction removes the temporary file, so the chosen
// name never holds half a file and an older file there stays as it was.
#include <cstddef>
#include <string>

class StagedFile {
public:
    explicit StagedFile(std::wstring target);
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    // Where to write: in the target's folder, so that the rename stays on one volume.
    const std::wstring& temporaryPath() const { return temporary; }
    // Writes bytes as the whole temporary file; false with the system's reason.
    bool write(const void* bytes, std::size_t size, std::wstring& error);
    // Puts the temporary file in place of the target; false with the system's reason.
    bool commit(std::wstring& error);

private:
    std::wstring target;
    std::wstring temporary;
    bool committed = false;
};
