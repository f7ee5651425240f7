#pragma once
// An output folder that appears under its final name only when complete: everything is
// written into a hidden sibling first, which commit() renames. Until then, and on any
// failure, destruction removes the sibling and all it holds.
#include <string>
#include <vector>

class StagingFolder {
public:
    // Creates the sibling of target; false (with the system's error text) when it cannot be made.
    bool create(const std::wstring& target, std::wstring& error);
    ~StagingFolder();
    StagingFolder() = default;
    StagingFolder(const StagingFolder&) = delete;
    StagingFolder& operator=(const StagingFolder&) = delete;

    // Full path of relative (a file or folder inside the staging folder).
    std::wstring pathOf(const std::wstring& relative) const;
    bool createFolder(const std::wstring& relative, std::wstring& error);
    bool writeFile(const std::wstring& relative, const void* bytes, std::size_t size, std::wstring& error);
    // A file that other code writes at pathOf(relative): removed with the rest on failure.
    void adopt(const std::wstring& relative) { files.push_back(relative); }
    // Renames the staging folder to the target; an existing empty target folder is replaced.
    bool commit(std::wstring& error);

private:
    void removeAll();

    std::wstring target;
    std::wstring staging;
    std::vector<std::wstring> files;    // created files, relative
    std::vector<std::wstring> folders;  // created folders, relative, in creation order
    bool committed = false;
};
