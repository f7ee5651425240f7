#include "archive/RecordCatalog.h"

#include "archive/FileSystem.h"
#include "archive/NameCheck.h"
#include "archive/VideoArchive.h"
#include "base/Exception.h"
#include "base/StringTable.h"

#include <algorithm>
#include <cwctype>

namespace {

constexpr unsigned kUnreadableData = 5510;  // "該当データを読み込めません。"

wchar_t upper(wchar_t c) { return static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c))); }

VideoArchiveException unreadable() { return VideoArchiveException(loadString(kUnreadableData)); }

}  // namespace

std::wstring RecordCatalog::patternOf(int displayMode) {
    switch (displayMode) {
    case kDisplayImage: return kImagePattern;
    case kDisplayContinuous: return kChapterPattern;
    default: return kEventPattern;
    }
}

int RecordCatalog::countMatches(const std::wstring& folder, const std::wstring& pattern) {
    if (!pathFits(joinPath(folder, pattern))) return 0;
    int count = 0;
    for (const DirectoryEntry& entry : FileSystem::current().list(folder, pattern)) {
        if (nameMatchesPattern(pattern, entry.name)) ++count;
    }
    return count;
}

bool RecordCatalog::decideDisplayMode(const std::wstring& folder, int& displayMode) {
    const int counts[] = {countMatches(folder, kEventPattern), countMatches(folder, kImagePattern),
                          countMatches(folder, kChapterPattern)};
    int kindsPresent = 0;
    int onlyKind = -1;
    for (int kind = 0; kind < 3; ++kind) {
        if (counts[kind] > 0) {
            ++kindsPresent;
            onlyKind = kind;
        }
    }
    if (kindsPresent == 0) return false;
    if (kindsPresent == 1) {
        displayMode = onlyKind;
        return true;
    }
    // Several kinds: the mode the user chose decides. A mode outside the three is left to
    // the caller, as the recorder never writes one.
    if (displayMode < 0 || displayMode > 2) return true;
    return counts[displayMode] > 0;
}

ChapterList RecordCatalog::scanContinuousFolder(const std::wstring& folder) {
    // Chapter names have the pattern's length, so the search path bounds every chapter path.
    if (!pathFits(joinPath(folder, kChapterPattern))) throw unreadable();
    std::vector<std::wstring> paths;
    for (const DirectoryEntry& entry : FileSystem::current().list(folder, kChapterPattern)) {
        if (nameMatchesPattern(kChapterPattern, entry.name)) paths.push_back(joinPath(folder, entry.name));
    }
    // A stable insertion sort: neighbours swap only while the earlier compares greater.
    for (std::size_t i = 1; i < paths.size(); ++i) {
        for (std::size_t j = i; j > 0 && compareChapterPaths(paths[j - 1], paths[j]) > 0; --j) {
            std::swap(paths[j - 1], paths[j]);
        }
    }

    ChapterList list;
    if (paths.size() > static_cast<std::size_t>(kMaxChapters)) {
        paths.resize(kMaxChapters);
        list.truncated = true;
    }
    if (paths.empty()) throw unreadable();
    list.paths = std::move(paths);
    const int lastChapterSlots = VideoArchive::countChapterSlots(list.paths.back());
    list.totalSlots = static_cast<int>(list.paths.size() - 1) * ChapterList::kSlotsPerChapter + lastChapterSlots;
    return list;
}

bool RecordCatalog::listImages(const std::wstring& folder, VideoArchive& archive) {
    return archive.openImageFolder(folder);
}

std::wstring RecordCatalog::eventFilePath(const std::wstring& folder) { return joinPath(folder, kEventPattern); }

int RecordCatalog::compareChapterPaths(const std::wstring& a, const std::wstring& b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const wchar_t ua = upper(a[i]);
        const wchar_t ub = upper(b[i]);
        if (ua != ub) return ua < ub ? -1 : 1;
    }
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    // Equal but for case: the first difference decides, lower case first.
    for (std::size_t i = 0; i < common; ++i) {
        if (a[i] != b[i]) return std::iswlower(static_cast<wint_t>(a[i])) ? -1 : 1;
    }
    return 0;
}
