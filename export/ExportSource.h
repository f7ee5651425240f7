#pragma once
// What the viewer has open, exported as scenova-cli exports it: the video (for a
// continuous folder, all chapters joined) and the telemetry CSV. Each file of the record
// is opened in an archive of its own, so the player's archive is never touched.
#include "archive/FirmwareCode.h"

#include <cstdint>
#include <string>
#include <vector>

class FrameOverlay;

struct ExportSource {
    enum class Kind { Event, Continuous, Image };

    Kind kind = Kind::Event;
    std::vector<std::wstring> files;  // the event file, the chapters in play order, or the image file
    FirmwareCode firmware;

    int framesPerSecond() const { return kind == Kind::Continuous ? 10 : kind == Kind::Event ? 30 : 0; }
};

// Told how far the work has come, asked whether to stop; called on the working thread.
class ExportProgress {
public:
    virtual ~ExportProgress() = default;
    virtual void report(std::uint64_t done, std::uint64_t total) = 0;
    virtual bool cancelled() const = 0;
};

// Writes the video to path. False with a message in error, or with error empty when
// progress asked to stop; the caller removes what was written. A chapter that cannot be
// read is left out, as the command line leaves it out.
bool writeSourceVideo(const ExportSource& source, FrameOverlay* overlay, const std::wstring& path,
                      ExportProgress& progress, std::wstring& error);

// The telemetry CSV of every file of the record, rows numbered on from file to file.
bool writeSourceTelemetry(const ExportSource& source, std::string& csv, ExportProgress& progress, std::wstring& error);
