// scenova-cli export FILE --out DIR: one recorder file in ordinary formats. DIR receives
// sound.wav (the very WAV the viewer plays), frames/NNNN.jpg (the restored JPEG of every
// slot whose frame decodes) and telemetry.csv (one row per slot).
#include "archive/FileSystem.h"
#include "archive/VideoArchive.h"
#include "base/Exception.h"
#include "base/StringTable.h"
#include "cli/Commands.h"
#include "cli/RecordFile.h"
#include "cli/StagingFolder.h"
#include "playback/decode/ImageDecoder.h"

#include <cstdio>
#include <ctime>
#include <vector>

namespace {

constexpr unsigned kSoundRestoreFailed = 5501;  // "音声データの復元に失敗しました"

struct ExportArguments {
    std::wstring file;
    std::wstring out;
};

bool parseArguments(const Arguments& args, ExportArguments& parsed) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == L"--out") {
            if (i + 1 >= args.size() || !parsed.out.empty()) return false;
            parsed.out = args[++i];
        } else if (parsed.file.empty() && !args[i].empty() && args[i][0] != L'-') {
            parsed.file = args[i];
        } else {
            return false;
        }
    }
    return !parsed.file.empty() && !parsed.out.empty();
}

// The result may replace nothing but an empty folder: an export never deletes user files.
bool outputPlaceIsFree(const std::wstring& out) {
    FileSystem& fs = FileSystem::current();
    if (!fs.exists(out)) return true;
    return fs.isDirectory(out) && fs.list(out, L"*").empty();
}

bool readWholeFile(const std::wstring& path, std::vector<std::uint8_t>& bytes) {
    FileSystem& fs = FileSystem::current();
    const std::int64_t size = fs.fileSize(path);
    std::unique_ptr<File> file = fs.open(path, FileMode::ReadBinary);
    if (size < 0 || !file) return false;
    bytes.resize(static_cast<std::size_t>(size));
    return file->read(bytes.data(), bytes.size()) == bytes.size();
}

// Local calendar time, as the recorder wrote it; empty when unknown.
std::string isoLocalTime(std::int64_t timeValue) {
    if (timeValue == 0) return std::string();
    const __time64_t seconds = timeValue;
    std::tm local{};
    if (_localtime64_s(&local, &seconds) != 0) return std::string();
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

std::string telemetryCsv(const VideoArchive& archive, RecordFormat format) {
    const int perSecond = RecordFile::slotsPerSecond(format);
    std::string csv = "slot,seconds,dateTime,speed,gFirst,gSecond,gMagnitude,eventMark\r\n";
    char line[256];
    for (int slot = 0; slot < archive.slotCount(); ++slot) {
        const double seconds = perSecond > 0 ? static_cast<double>(slot) / perSecond : 0.0;
        const FrameRecord* frame = archive.frameAt(slot);
        if (!frame) {
            std::snprintf(line, sizeof line, "%d,%.3f,,,,,,\r\n", slot, seconds);
        } else {
            std::snprintf(line, sizeof line, "%d,%.3f,%s,%d,%.3f,%.3f,%.3f,%d\r\n", slot, seconds,
                          isoLocalTime(frame->dateTime).c_str(), frame->speed, frame->gFirst, frame->gSecond,
                          frame->gMagnitude, frame->eventMark);
        }
        csv += line;
    }
    return csv;
}

std::wstring frameName(int slot) {
    wchar_t name[32];
    std::swprintf(name, 32, L"frames\\%04d.jpg", slot);
    return name;
}

bool writeExport(RecordFile& record, StagingFolder& staging, std::wstring& error) {
    VideoArchive& archive = record.archive();
    if (record.format() != RecordFormat::Image) {
        std::vector<std::uint8_t> wav;
        if (archive.soundFileName().empty() || !readWholeFile(archive.soundFileName(), wav)) {
            error = loadString(kSoundRestoreFailed);
            return false;
        }
        if (!staging.writeFile(L"sound.wav", wav.data(), wav.size(), error)) return false;
    }
    if (!staging.createFolder(L"frames", error)) return false;
    for (int slot = 0; slot < archive.slotCount(); ++slot) {
        const std::vector<std::uint8_t> jpeg = archive.restoreFrameJpeg(slot);
        if (jpeg.empty() || !decodeJpeg(jpeg.data(), jpeg.size())) continue;
        if (!staging.writeFile(frameName(slot), jpeg.data(), jpeg.size(), error)) return false;
    }
    const std::string csv = telemetryCsv(archive, record.format());
    return staging.writeFile(L"telemetry.csv", csv.data(), csv.size(), error);
}

}  // namespace

int runExport(const Arguments& args) {
    ExportArguments parsed;
    if (!parseArguments(args, parsed)) return usage();
    RecordFormat format;
    if (!RecordFile::formatOf(parsed.file, format)) {
        writeError(L"scenova-cli: not a recorder file: " + parsed.file);
        return usage();
    }
    if (!outputPlaceIsFree(parsed.out)) {
        writeError(L"scenova-cli: the output folder exists and is not empty: " + parsed.out);
        return usage();
    }
    try {
        RecordFile record(parsed.file, format);
        StagingFolder staging;
        std::wstring error;
        if (!staging.create(parsed.out, error) || !writeExport(record, staging, error) || !staging.commit(error)) {
            writeError(error);
            return kExitUnreadable;
        }
        return kExitOk;
    } catch (const Exception& e) {
        writeError(e.message());
        return kExitUnreadable;
    }
}
