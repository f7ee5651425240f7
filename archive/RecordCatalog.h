#pragma once
// Which record files a folder on the card holds, and how a folder becomes a list of
// playable items. The catalog keeps no state: every operation reads the folder afresh.
#include "archive/ChapterList.h"

#include <string>

class VideoArchive;

// The display mode the main window holds.
enum DisplayMode : int {
    kDisplayEvent = 0,       // "Video.dvt", one event record per folder
    kDisplayImage = 1,       // "*.dpc", one file per still image
    kDisplayContinuous = 2,  // "Video????.dmv", one-minute chapters
};

class RecordCatalog {
public:
    static constexpr const wchar_t* kEventPattern = L"Video.dvt";
    static constexpr const wchar_t* kImagePattern = L"*.dpc";
    static constexpr const wchar_t* kChapterPattern = L"Video????.dmv";
    static constexpr int kMaxChapters = 60;

    // The file name pattern of a display mode; any other value gives the event pattern.
    static std::wstring patternOf(int displayMode);

    // Entries of folder (files and folders alike) that the wildcard search returns for the
    // pattern and that pass the name check (nameMatchesPattern); 0 when the folder cannot be searched or the
    // search path would not fit the path limit.
    static int countMatches(const std::wstring& folder, const std::wstring& pattern);

    // Settles the display mode for a folder. A folder holding only one kind of record
    // switches the mode to that kind; with several kinds the mode stays and the folder is
    // usable only when it holds the current mode's kind. False when nothing usable is there.
    static bool decideDisplayMode(const std::wstring& folder, int& displayMode);

    // The chapters of a continuous folder in play order, at most 60. Throws
    // VideoArchiveException (5510) when the folder cannot be searched or holds no chapter,
    // or when a chapter cannot be read.
    static ChapterList scanContinuousFolder(const std::wstring& folder);

    // Opens the images of an image folder in the archive (at most 600, in recorded date
    // order); true when further images were left out.
    static bool listImages(const std::wstring& folder, VideoArchive& archive);

    // The event file of an event folder.
    static std::wstring eventFilePath(const std::wstring& folder);

    // Orders chapter paths the way the system's locale-aware comparison does for the names
    // the name check lets through: by letters regardless of case first, lower case before
    // upper case only where that is the sole difference. Negative, 0 or positive.
    static int compareChapterPaths(const std::wstring& a, const std::wstring& b);
};
