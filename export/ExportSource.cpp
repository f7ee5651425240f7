#include "export/ExportSource.h"

#include "archive/VideoArchive.h"
#include "export/AviRecordWriter.h"
#include "export/RecordSlots.h"
#include "export/TelemetryCsv.h"
#include "base/Exception.h"

#include <algorithm>
#include <functional>

namespace {

// Progress steps per file of the record.
constexpr std::uint64_t kStepsPerFile = 1000;

void open(VideoArchive& archive, ExportSource::Kind kind, const std::wstring& path) {
    switch (kind) {
    case ExportSource::Kind::Event: archive.openEventFile(path); break;
    case ExportSource::Kind::Continuous: archive.openChapterFile(path); break;
    case ExportSource::Kind::Image: archive.openImageFile(path); break;
    }
}

// Opens each file of the source in turn and hands its archive to use; false as soon as
// use fails or progress asks to stop.
bool forEachFile(const ExportSource& source, ExportProgress& progress, std::wstring& error,
                 const std::function<bool(VideoArchive&, std::size_t)>& use) {
    for (std::size_t index = 0; index < source.files.size(); ++index) {
        if (progress.cancelled()) return false;
        progress.report(index * kStepsPerFile, source.files.size() * kStepsPerFile);
        VideoArchive archive(source.firmware);
        try {
            open(archive, source.kind, source.files[index]);
        } catch (const Exception& e) {
            if (source.kind == ExportSource::Kind::Continuous) continue;
            error = e.message();
            return false;
        }
        if (!use(archive, index)) return false;
    }
    progress.report(source.files.size() * kStepsPerFile, source.files.size() * kStepsPerFile);
    return !progress.cancelled();
}

}  // namespace

bool writeSourceVideo(const ExportSource& source, FrameOverlay* overlay, const std::wstring& path,
                      ExportProgress& progress, std::wstring& error) {
    AviRecordWriter writer(source.framesPerSecond(), true);
    writer.create(path);
    const std::uint64_t total = source.files.size() * kStepsPerFile;
    const bool written = forEachFile(source, progress, error, [&](VideoArchive& archive, std::size_t index) {
        const std::uint64_t slots = static_cast<std::uint64_t>(std::max(1, archive.slotCount()));
        return feedRecord(archive, overlay, {&writer},
                          [&](int slot, const SlotPicture&, std::wstring&) {
                              progress.report(index * kStepsPerFile + static_cast<std::uint64_t>(slot) * kStepsPerFile / slots, total);
                              return !progress.cancelled();
                          },
                          error);
    });
    if (!written || !writer.finish(error)) {
        writer.abandon();
        return false;
    }
    return true;
}

bool writeSourceTelemetry(const ExportSource& source, std::string& csv, ExportProgress& progress, std::wstring& error) {
    TelemetryCsv telemetry(source.framesPerSecond());
    const bool read = forEachFile(source, progress, error, [&](VideoArchive& archive, std::size_t) {
        telemetry.addRecord(archive);
        return true;
    });
    if (read) csv = telemetry.text();
    return read;
}
