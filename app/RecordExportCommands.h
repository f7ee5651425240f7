#pragma once
// The ファイル menu's export commands: the open record as an AVI file (the very bytes that
// scenova-cli export writes as record.avi; for a continuous record all chapters joined),
// the picture on screen as a PNG file (as shown, brightness included), the telemetry as a
// CSV file (scenova-cli's telemetry.csv), and the choice of burning date, time, speed and G
// into the exported video. Each asks for a file name with the system's save dialog and
// writes through a temporary file, so a failure or a cancel never leaves half a file under
// the chosen name.
#include "export/ExportSource.h"

#include <windows.h>

#include <string>

class MainWindow;

class RecordExportCommands {
public:
    explicit RecordExportCommands(MainWindow& window) : window(window) {}

    // True for the commands this class runs.
    static bool handles(WORD command);
    void run(WORD command);
    // Greys what cannot be done now and checks the overlay choice; for WM_INITMENUPOPUP.
    void updateMenu(HMENU menu) const;

    bool overlayChosen() const { return overlay; }

private:
    void exportVideo();
    void savePicture();
    void exportTelemetry();

    // What is open, as files to export; false when nothing is.
    bool currentSource(ExportSource& source) const;
    // A name for the output: the record folder's (or the image's) name with extension.
    std::wstring suggestedName(const std::wstring& extension) const;
    // The system's save dialog; false when the user cancels.
    bool askSavePath(unsigned filterText, const std::wstring& extension, std::wstring& path) const;
    void warn(const std::wstring& text) const;

    MainWindow& window;
    bool overlay = false;
};
