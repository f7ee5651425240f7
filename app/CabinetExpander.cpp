#include "app/CabinetExpander.h"

#include "app/FdiContext.h"
#include "app/FileHandle.h"
#include "archive/FileSystem.h"
#include "base/Exception.h"
#include "base/StringTable.h"

#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

namespace {

constexpr unsigned kFirstErrorText = 5027;  // code 0; codes 0 to 11 follow in order
constexpr int kLastKnownErrorCode = FDIERROR_USER_ABORT;
constexpr unsigned kUndefinedErrorText = 5039;
constexpr unsigned kSizeMismatchText = 5041;
constexpr INT_PTR kAbort = -1;

std::wstring wideFrom(const char* text, UINT codePage) {
    int length = MultiByteToWideChar(codePage, 0, text, -1, nullptr, 0);
    if (length <= 1) return std::wstring();
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, text, -1, &wide[0], length);
    wide.resize(static_cast<std::size_t>(length - 1));
    return wide;
}

std::string ansiFrom(const std::wstring& text) {
    int length = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1) return std::string();
    std::string ansi(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, &ansi[0], length, nullptr, nullptr);
    ansi.resize(static_cast<std::size_t>(length - 1));
    return ansi;
}

std::wstring withTrailingBackslash(std::wstring folder) {
    if (folder.empty() || folder.back() != L'\\') folder += L'\\';
    return folder;
}

bool isSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// A member's name as a path below the destination, or empty when it would reach outside
// it: a drive or stream colon, a leading separator, an empty, "." or ".." part.
std::wstring safeRelativePath(const std::wstring& name) {
    if (name.empty() || name.find(L':') != std::wstring::npos) return std::wstring();
    std::wstring relative;
    std::size_t start = 0;
    for (;;) {
        std::size_t end = start;
        while (end < name.size() && !isSeparator(name[end])) ++end;
        std::wstring part = name.substr(start, end - start);
        if (part.empty() || part == L"." || part == L"..") return std::wstring();
        relative += part;
        if (end == name.size()) return relative;
        relative += L'\\';
        start = end + 1;
    }
}

void removeFile(const std::wstring& path) {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
}

}  // namespace

CabinetExpander::CabinetExpander(std::wstring destinationFolder)
    : destination(withTrailingBackslash(std::move(destinationFolder))) {}

std::wstring CabinetExpander::errorText(int code) {
    if (code < 0 || code > kLastKnownErrorCode) return loadString(kUndefinedErrorText);
    return loadString(kFirstErrorText + static_cast<unsigned>(code));
}

void CabinetExpander::expand(const std::wstring& cabinetPath) {
    files.clear();
    madeFolders.clear();
    std::size_t slash = cabinetPath.find_last_of(L"\\/");
    std::string folder = ansiFrom(slash == std::wstring::npos ? std::wstring() : cabinetPath.substr(0, slash + 1));
    std::string name = ansiFrom(slash == std::wstring::npos ? cabinetPath : cabinetPath.substr(slash + 1));

    ERF error = {};
    bool copied = false;
    {
        FdiContext context(error);
        copied = FDICopy(context.get(), &name[0], &folder[0], 0, &CabinetExpander::notify, nullptr, this) != FALSE;
    }
    // A decompressor that gives up inside a member may not hand its file back for closing.
    closeLeftOpenFile();
    if (!copied) {
        removeWritten();
        throw IOException(errorText(error.erfOper));
    }
    setFileTimes();
    setHiddenReadOnly();
    if (!sizesMatch()) {
        removeWritten();
        throw IOException(loadString(kSizeMismatchText));
    }
}

INT_PTR DIAMONDAPI CabinetExpander::notify(FDINOTIFICATIONTYPE type, PFDINOTIFICATION info) {
    auto* expander = static_cast<CabinetExpander*>(info->pv);
    switch (type) {
    case fdintCOPY_FILE: return expander->onCopyFile(*info);
    case fdintCLOSE_FILE_INFO: return expander->onCloseFile(*info);
    default: return 0;
    }
}

INT_PTR CabinetExpander::onCopyFile(const FDINOTIFICATION& info) {
    bool utf8 = (info.attribs & _A_NAME_IS_UTF) != 0;
    std::wstring relative = safeRelativePath(wideFrom(info.psz1, utf8 ? CP_UTF8 : CP_OEMCP));
    if (relative.empty()) return kAbort;
    std::wstring path = destination + relative;
    if (!pathFits(path) || !makeFoldersFor(relative)) return kAbort;

    files.push_back({path, static_cast<std::uint32_t>(info.cb), info.date, info.time});
    // A restore over an earlier one meets its hidden, read-only files.
    removeFile(path);
    int file = -1;
    if (_wsopen_s(&file, path.c_str(), _O_BINARY | _O_CREAT | _O_TRUNC | _O_WRONLY, _SH_DENYNO, _S_IWRITE) != 0)
        return kAbort;
    openFile = file;
    return file;
}

INT_PTR CabinetExpander::onCloseFile(const FDINOTIFICATION& info) {
    FdiContext::closeFile(info.hf);
    if (info.hf == openFile) openFile = -1;
    return TRUE;
}

bool CabinetExpander::makeFoldersFor(const std::wstring& relativePath) {
    for (std::size_t slash = relativePath.find(L'\\'); slash != std::wstring::npos;
         slash = relativePath.find(L'\\', slash + 1)) {
        std::wstring folder = destination + relativePath.substr(0, slash);
        if (CreateDirectoryW(folder.c_str(), nullptr))
            madeFolders.push_back(folder);
        else if (GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
    }
    return true;
}

void CabinetExpander::closeLeftOpenFile() {
    if (openFile == -1) return;
    FdiContext::closeFile(openFile);
    openFile = -1;
}

void CabinetExpander::setFileTimes() const {
    for (const ExtractedFile& file : files) {
        FILETIME local;
        FILETIME universal;
        if (!DosDateTimeToFileTime(file.dosDate, file.dosTime, &local) || !LocalFileTimeToFileTime(&local, &universal))
            continue;
        FileHandle handle(CreateFileW(file.path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (handle.isOpen()) SetFileTime(handle.get(), &universal, nullptr, &universal);
    }
}

void CabinetExpander::setHiddenReadOnly() const {
    for (const ExtractedFile& file : files)
        SetFileAttributesW(file.path.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
}

bool CabinetExpander::sizesMatch() const {
    for (const ExtractedFile& file : files) {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!GetFileAttributesExW(file.path.c_str(), GetFileExInfoStandard, &data)) return false;
        if (data.nFileSizeHigh != 0 || data.nFileSizeLow != file.size) return false;
    }
    return true;
}

void CabinetExpander::removeWritten() {
    for (const ExtractedFile& file : files) removeFile(file.path);
    // Folders made for the members go too, last made first; one that holds anything stays.
    for (auto folder = madeFolders.rbegin(); folder != madeFolders.rend(); ++folder)
        RemoveDirectoryW(folder->c_str());
}
