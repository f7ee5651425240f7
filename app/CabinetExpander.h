#pragma once
// Expands a cabinet file into a folder through the system's cabinet decompressor (FDI in
// cabinet.dll), all or nothing: when the decompressor fails, or a file on disk does not
// have the size the cabinet announced for it, every file the expansion wrote is removed.
#include <windows.h>

#include <fdi.h>

#include <cstdint>
#include <string>
#include <vector>

struct ExtractedFile {
    std::wstring path;
    std::uint32_t size;  // as the cabinet announced it
    std::uint16_t dosDate;
    std::uint16_t dosTime;
};

class CabinetExpander {
public:
    explicit CabinetExpander(std::wstring destinationFolder);

    // Writes every member below the destination folder, making the sub-folders a member's
    // name calls for, replacing files of the same name (read-only or not); then gives every
    // file the cabinet's time for it (a local DOS date and time) and makes it hidden and
    // read-only. Throws IOException: string 5040 when no decompressor can be made, the text
    // of the decompressor's failure code (errorText), or 5041 when a file's size on disk
    // differs from the announced one. A member name that would leave the destination
    // folder stops the expansion as an abort (5038).
    void expand(const std::wstring& cabinetPath);

    // The files written by the last expand, in the order they were written.
    const std::vector<ExtractedFile>& extractedFiles() const { return files; }

    // Strings 5027 to 5038 for the decompressor's failure codes 0 to 11, 5039 for any other.
    static std::wstring errorText(int code);

private:
    static INT_PTR DIAMONDAPI notify(FDINOTIFICATIONTYPE type, PFDINOTIFICATION info);
    INT_PTR onCopyFile(const FDINOTIFICATION& info);
    INT_PTR onCloseFile(const FDINOTIFICATION& info);
    bool makeFoldersFor(const std::wstring& relativePath);
    void closeLeftOpenFile();
    void setFileTimes() const;
    void setHiddenReadOnly() const;
    bool sizesMatch() const;
    void removeWritten();

    std::wstring destination;  // with a trailing backslash
    std::vector<ExtractedFile> files;
    std::vector<std::wstring> madeFolders;
    INT_PTR openFile = -1;  // the member being written, until its close notification
};
