// scenova-cli export FILE --out DIR: one recorder file in ordinary formats. DIR receives
// sound.wav (the very WAV the viewer plays), frames/NNNN.jpg (the restored JPEG of every
// slot whose frame decodes), telemetry.csv (one row per slot) and, for an event or chapter
// file, record.avi (the frames and the sound as one video). A continuous folder in place
// of FILE goes to cli/FolderExport.cpp.
#include "archive/FileSystem.h"
#include "archive/VideoArchive.h"
#include "base/Exception.h"
#include "base/StringTable.h"
#include "cli/Commands.h"
#include "cli/RecordExport.h"
#include "cli/RecordFile.h"
#include "cli/StagingFolder.h"
#include "export/AviRecordWriter.h"
#include "export/FrameOverlay.h"
#include "export/RecordSlots.h"
#include "export/TelemetryCsv.h"
#include "playback/decode/ImageDecoder.h"

#include <cstdio>
#include <vector>

namespace {

constexpr unsigned kSoundRestoreFailed = 5501;  // "音声データの復元に失敗しました"

struct ExportArguments {
    std::wstring file;
    std::wstring out;
    bool overlay = false;
};

bool parseArguments(const Arguments& args, ExportArguments& parsed) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == L"--out") {
            if (i + 1 >= args.size() || !parsed.out.empty()) return false;
            parsed.out = args[++i];
        } else if (args[i] == L"--overlay") {
            parsed.overlay = true;
        } else if (parsed.file.empty() && !args[i].empty() && args[i][0] != L'-') {
            parsed.file = args[i];
        } else {
            return false;
        }
    }
    return !parsed.file.empty() && !parsed.out.empty();
}

bool readWholeFile(const std::wstring& path, std::vector<std::uint8_t>& bytes) {
    FileSystem& fs = FileSystem::current();
    const std::int64_t size = fs.fileSize(path);
    std::unique_ptr<File> file = fs.open(path, FileMode::ReadBinary);
    if (size < 0 || !file) return false;
    bytes.resize(static_cast<std::size_t>(size));
    return file->read(bytes.data(), bytes.size()) == bytes.size();
}

std::wstring frameName(int slot) {
    wchar_t name[32];
    std::swprintf(name, 32, L"frames\\%04d.jpg", slot);
    return name;
}

// The result may replace nothing but an empty folder: an export never deletes user files.
bool outputPlaceIsFree(const std::wstring& out) {
    FileSystem& fs = FileSystem::current();
    if (!fs.exists(out)) return true;
    return fs.isDirectory(out) && fs.list(out, L"*").empty();
}

}  // namespace

int exportStaged(const std::wstring& out, bool overlay,
                 const std::function<bool(StagingFolder& staging, FrameOverlay* overlay, std::wstring& error)>& write) {
    if (!outputPlaceIsFree(out)) {
        writeError(L"scenova-cli: the output folder exists and is not empty: " + out);
        return usage();
    }
    try {
        StagingFolder staging;
        std::unique_ptr<FrameOverlay> burner = overlay ? std::make_unique<FrameOverlay>() : nullptr;
        std::wstring error;
        if (!staging.create(out, error) || !write(staging, burner.get(), error) || !staging.commit(error)) {
            writeError(error);
            return kExitUnreadable;
        }
        return kExitOk;
    } catch (const Exception& e) {
        // Thrown while staging: the staging folder is already gone.
        writeError(e.message());
        return kExitUnreadable;
    }
}

bool writeRecordExport(RecordFile& record, StagingFolder& staging, const std::wstring& folder, FrameOverlay* overlay,
                       const std::vector<AviRecordWriter*>& joined, std::wstring& error) {
    VideoArchive& archive = record.archive();
    const std::wstring prefix = folder.empty() ? folder : folder + L"\\";
    std::vector<std::uint8_t> wav;
    if (record.format() != RecordFormat::Image) {
        if (archive.soundFileName().empty() || !readWholeFile(archive.soundFileName(), wav)) {
            error = loadString(kSoundRestoreFailed);
            return false;
        }
        if (!staging.writeFile(prefix + L"sound.wav", wav.data(), wav.size(), error)) return false;
    }
    if (!staging.createFolder(prefix + L"frames", error)) return false;
    std::vector<AviRecordWriter*> writers = joined;
    // An image has no time axis and no sound: it gets no video of its own.
    std::unique_ptr<AviRecordWriter> video;
    if (record.format() != RecordFormat::Image) {
        video = std::make_unique<AviRecordWriter>(RecordFile::slotsPerSecond(record.format()), true);
        video->create(staging.pathOf(prefix + L"record.avi"));
        staging.adopt(prefix + L"record.avi");
        writers.push_back(video.get());
    }
    const bool fed = feedRecord(archive, soundSamplesOf(wav), overlay, writers, [&](int slot, const SlotPicture& picture, std::wstring& failure) {
        return !picture.good() || staging.writeFile(prefix + frameName(slot), picture.jpeg.data(), picture.jpeg.size(), failure);
    }, error);
    if (!fed || (video && !video->finish(error))) {
        if (video) video->abandon();
        return false;
    }
    TelemetryCsv csv(RecordFile::slotsPerSecond(record.format()));
    csv.addRecord(archive);
    return staging.writeFile(prefix + L"telemetry.csv", csv.text().data(), csv.text().size(), error);
}

int runExport(const Arguments& args) {
    ExportArguments parsed;
    if (!parseArguments(args, parsed)) return usage();
    if (FileSystem::current().isDirectory(parsed.file)) return runFolderExport(parsed.file, parsed.out, parsed.overlay);
    RecordFormat format;
    if (!RecordFile::formatOf(parsed.file, format)) {
        writeError(L"scenova-cli: not a recorder file: " + parsed.file);
        return usage();
    }
    return exportStaged(parsed.out, parsed.overlay, [&](StagingFolder& staging, FrameOverlay* overlay, std::wstring& error) {
        RecordFile record(parsed.file, format);
        return writeRecordExport(record, staging, L"", overlay, {}, error);
    });
}
