#pragma once
// The built-in help page: an HTML resource with its screenshots, shown in the system's
// web browser. Browsers no longer open pages inside a program file, so the page and its
// pictures are written into a fresh temporary folder and that copy is opened. The copies
// go again: this run's at its end, and those an earlier run left behind (it crashed, or
// the machine lost power) at the next start.
#include <windows.h>

#include <string>

class HelpPage {
public:
    static constexpr int kPageId = 22100;
    static constexpr int kFirstPictureId = 22101;
    static constexpr int kLastPictureId = 22131;
    static constexpr const wchar_t* kPageFileName = L"index.html";
    static constexpr const wchar_t* kFolderPrefix = L"SCENOVA-help-";
    // A copy this old is no longer being opened by a browser another running copy started.
    static constexpr ULONGLONG kStaleAgeSeconds = 60 * 60;

    // Writes the page and its pictures into a new folder under the system's temporary
    // folder and opens the page with the shell's default verb. Throws WindowException with
    // the system's text on failure.
    static void show();

    // Writes the page as kPageFileName and each picture as "ID.png" into folder (which must
    // exist) and returns the page's path. Throws WindowException when a resource is missing
    // or a file cannot be written.
    static std::wstring writeTo(const std::wstring& folder);
    // Writes a copy into a fresh folder that removeShownCopies removes; returns the page.
    static std::wstring writeFreshCopy();

    // Makes a new, empty folder under the system's temporary folder and returns its path.
    static std::wstring makeFreshFolder();
    // Deletes what writeTo wrote into folder, and the folder; nothing else in it.
    static void removeWritten(const std::wstring& folder);

    // At the end of the run: the copies this run wrote (the browser has read them by now).
    static void removeShownCopies();
    // At the start: copies in the temporary folder older than kStaleAgeSeconds.
    static void removeStaleCopies();
};
