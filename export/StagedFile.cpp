#include "export/StagedFile.h"

#include "ui/WindowException.h"

#include <windows.h>

namespace {

// The system's reason for the last failure, taken before anything else can change it.
std::wstring failure(const std::wstring& path) {
    const DWORD code = GetLastError();
    return path + L"\n" + WindowException::systemErrorText(code);
}

}  // namespace

StagedFile::StagedFile(std::wstring targetPath)
    : target(std::move(targetPath)), temporary(target + L".partial-" + std::to_wstring(GetCurrentProcessId())) {}

StagedFile::~StagedFile() {
    if (!committed) DeleteFileW(temporary.c_str());
}

bool StagedFile::write(const void* bytes, std::size_t size, std::wstring& error) {
    HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = failure(target);
        return false;
    }
    const auto* next = static_cast<const std::uint8_t*>(bytes);
    bool written = true;
    while (written && size > 0) {
        const DWORD block = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
        DWORD done = 0;
        written = WriteFile(file, next, block, &done, nullptr) && done == block;
        next += block;
        size -= block;
    }
    if (!written) error = failure(target);
    if (!CloseHandle(file) && written) {
        error = failure(target);
        written = false;
    }
    return written;
}

bool StagedFile::commit(std::wstring& error) {
    if (!MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = failure(target);
        return false;
    }
    committed = true;
    return true;
}
