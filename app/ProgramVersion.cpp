#include "app/ProgramVersion.h"

#include "app/ProgramPath.h"
#include "base/StringTable.h"

#include <windows.h>

#include <cwchar>
#include <vector>

namespace {
constexpr unsigned kNoVersionText = 5002;  // "バージョン情報がありません"

}  // namespace

std::wstring ProgramVersion::fromFileVersion(const std::wstring& fileVersion) {
    std::wstring text;
    int commas = 0;
    for (wchar_t c : fileVersion) {
        if (c >= L'0' && c <= L'9') {
            text += c;
        } else if (c == L',') {
            if (++commas == 3) break;
            text += L'.';
        }
    }
    return text;
}

std::wstring ProgramVersion::fileVersionOf(const std::wstring& programPath) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(programPath.c_str(), &ignored);
    if (size == 0) return std::wstring();
    std::vector<unsigned char> block(size);
    if (!GetFileVersionInfoW(programPath.c_str(), 0, size, block.data())) return std::wstring();

    struct Translation {
        WORD language;
        WORD codePage;
    };
    Translation* translations = nullptr;
    UINT translationBytes = 0;
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations),
                        &translationBytes))
        return std::wstring();
    for (UINT i = 0; i < translationBytes / sizeof(Translation); ++i) {
        wchar_t query[64];
        std::swprintf(query, 64, L"\\StringFileInfo\\%04x%04x\\FileVersion", translations[i].language,
                      translations[i].codePage);
        wchar_t* value = nullptr;
        UINT length = 0;
        if (VerQueryValueW(block.data(), query, reinterpret_cast<void**>(&value), &length) && value != nullptr &&
            length > 0)
            return std::wstring(value);
    }
    return std::wstring();
}

std::wstring ProgramVersion::text() {
    std::wstring fileVersion = fileVersionOf(programFilePath());
    if (fileVersion.empty()) return loadString(kNoVersionText);
    return fromFileVersion(fileVersion);
}
