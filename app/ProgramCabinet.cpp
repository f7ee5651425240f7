#include "app/ProgramCabinet.h"

#include "app/CabinetExpander.h"
#include "app/TemporaryFile.h"
#include "base/Exception.h"
#include "base/StringTable.h"
#include "ui/WindowException.h"

#include <windows.h>

#include <share.h>

#include <cstdio>

namespace {

constexpr unsigned kNoCabinetText = 5006;
constexpr unsigned kCannotCreateText = 5026;
const wchar_t* const kResourceType = L"BINARY";

struct ResourceBytes {
    const void* data;
    DWORD size;
};

// A build without a cabinet has no such resource: that is the one case the restore's
// message 5006 names. Anything else the loader refuses is the system's to explain.
ResourceBytes loadCabinet(int id) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), kResourceType);
    if (found == nullptr) throw Exception(loadString(kNoCabinetText));
    DWORD size = SizeofResource(module, found);
    if (size == 0) throw Exception(loadString(kNoCabinetText));
    HGLOBAL loaded = LoadResource(module, found);
    if (loaded == nullptr) throw WindowException(static_cast<std::uint32_t>(GetLastError()));
    const void* data = LockResource(loaded);
    if (data == nullptr) throw WindowException(static_cast<std::uint32_t>(GetLastError()));
    return {data, size};
}

void writeFile(const std::wstring& path, const ResourceBytes& bytes) {
    FILE* file = _wfsopen(path.c_str(), L"wb", _SH_DENYNO);
    if (file == nullptr) throw WindowException(static_cast<std::uint32_t>(GetLastError()));
    bool written = std::fwrite(bytes.data, 1, bytes.size, file) == bytes.size;
    written = std::fclose(file) == 0 && written;
    if (!written) throw IOException(loadString(kCannotCreateText));
}

}  // namespace

ProgramCabinet::ProgramCabinet(int resourceId, std::wstring temporaryFolder)
    : resourceId(resourceId), temporaryFolder(std::move(temporaryFolder)) {}

void ProgramCabinet::expandInto(const std::wstring& folder) const {
    ResourceBytes cabinet = loadCabinet(resourceId);
    TemporaryFile copy(temporaryFolder, kTemporaryPrefix);
    writeFile(copy.path(), cabinet);
    try {
        CabinetExpander(folder).expand(copy.path());
    } catch (const Exception& failure) {
        throw Exception(failure.message());
    }
}

bool ProgramCabinet::isBundled() const {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(resourceId), kResourceType);
    return found != nullptr && SizeofResource(module, found) != 0;
}
