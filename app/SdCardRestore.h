#pragma once
// The card restore (command 40024 of the main window): puts back onto an SD card what the
// recorder needs to run, namely its own program files (ProgramCabinet) and a copy of this
// viewer (ViewerCopy), and on request the factory settings file. Whatever goes wrong, the
// user sees one message at the end; a file already written stays unless its own step
// removes it.
#include "app/ProgramCabinet.h"
#include "app/ViewerCopy.h"

#include <windows.h>

#include <functional>
#include <string>

class SdCardRestore {
public:
    // The drive dialog: prompt, owner, the folder to start at and to write the choice into.
    using DriveChooser = std::function<bool(const std::wstring& prompt, HWND owner, std::wstring& folder)>;

    enum class Outcome {
        Cancelled,      // the user stopped it before anything was written
        Restored,       // every step went through (message 5063)
        PartlyWritten,  // some step failed (warning 5064)
    };

    explicit SdCardRestore(HWND owner);

    // Holds the settings-dialog lock throughout (warning 5060 when another copy has it, and
    // goes on). Asks for the card starting at drive, which takes the chosen folder; asks
    // 5061 and 5062; with the wait cursor writes the default settings file when the answer
    // was No, expands the program cabinet and copies the viewer (skipping the copy when the
    // cabinet fails to expand, not when the build carries none); ends with 5063 or 5064.
    Outcome run(std::wstring& drive);

    // What the restore works with; tests give their own.
    void setDriveChooser(DriveChooser chooser) { chooseDrive = std::move(chooser); }
    void setCabinet(ProgramCabinet replacement) { cabinet = std::move(replacement); }
    void setViewerCopy(ViewerCopy replacement) { viewer = std::move(replacement); }

private:
    enum class SettingsAnswer { Keep, Reset, Cancel };

    bool confirm() const;
    SettingsAnswer askAboutSettings() const;
    // False when some step failed.
    bool writeCard(const std::wstring& folder, SettingsAnswer answer) const;
    void report(bool complete) const;

    HWND owner;
    DriveChooser chooseDrive;
    ProgramCabinet cabinet;
    ViewerCopy viewer;
};
