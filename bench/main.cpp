// scenova-bench: measures opening records and decoding their frames.
//
//   scenova-bench generate DIR        writes DIR\event\Video.dvt (30 s, 900 frames, sound)
//                                      and DIR\chapter\Video0001.dmv (60 s, 600 frames, sound)
//   scenova-bench measure FILE [RUNS]  prints the figures of one record as JSON
#include "archive/FileSystem.h"
#include "archive/VideoArchive.h"
#include "base/Exception.h"
#include "bench/HeaderWalk.h"
#include "bench/Statistics.h"
#include "bench/Stopwatch.h"
#include "playback/decode/Image.h"
#include "playback/decode/ImageDecoder.h"
#include "tools/samplecard/DriveProfile.h"
#include "tools/samplecard/RecordingBuilder.h"

#include <nlohmann/json.hpp>

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kDefaultRuns = 7;

std::string narrow(const std::wstring& text) {
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size > 0 ? size - 1 : 0), '\0');
    if (size > 1) WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), size, nullptr, nullptr);
    return out;
}

bool endsWith(const std::wstring& text, const std::wstring& tail) {
    if (text.size() < tail.size()) return false;
    return _wcsicmp(text.c_str() + text.size() - tail.size(), tail.c_str()) == 0;
}

// A country road: pulling away, a stretch at speed with bends, then a hard brake.
DriveProfile benchDrive() {
    DriveProfile drive(35.0);
    drive.phase(8.0, 1.6).phase(10.0, 0.0, 0.15).phase(12.0, 0.2, -0.2).phase(6.0, 0.0)
        .phase(2.5, -7.5).phase(8.0, 0.8).phase(30.0, 0.0, 0.1);
    return drive;
}

int generate(const std::wstring& folder) {
    FileSystem& fs = FileSystem::real();
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring eventFolder = joinPath(folder, L"event");
    const std::wstring chapterFolder = joinPath(folder, L"chapter");
    CreateDirectoryW(eventFolder.c_str(), nullptr);
    CreateDirectoryW(chapterFolder.c_str(), nullptr);
    if (!fs.isDirectory(eventFolder) || !fs.isDirectory(chapterFolder)) return 2;

    const DriveProfile drive = benchDrive();
    const double brake = drive.firstExceeding(0.45, 20.0);
    const double eventAt = brake > 0 ? brake : 36.0;

    RecordingPlan event;
    event.kindCode = 0x10;
    event.driveStart = RecorderDateTime{2026, 11, 21, 10, 0, 0};
    event.from = eventAt - 12.0;
    event.seconds = 30.0;
    event.slotsPerSecond = 30;
    event.eventAt = eventAt;
    event.clockBase = 1200000;
    event.label = "AUTO EVENT";
    event.frameTitle = "BENCH EVENT";
    if (!RecordingBuilder::write(drive, event, joinPath(eventFolder, L"Video.dvt"))) return 2;

    RecordingPlan chapter;
    chapter.kindCode = 0x19;
    chapter.driveStart = event.driveStart;
    chapter.from = 0.0;
    chapter.seconds = 60.0;
    chapter.slotsPerSecond = 10;
    chapter.clockBase = 900000;
    chapter.frameTitle = "BENCH CHAPTER";
    if (!RecordingBuilder::write(drive, chapter, joinPath(chapterFolder, L"Video0001.dmv"))) return 2;
    return 0;
}

void openRecord(VideoArchive& archive, const std::wstring& path, bool chapter) {
    if (chapter)
        archive.openChapterFile(path);
    else
        archive.openEventFile(path);
}

nlohmann::json measure(const std::wstring& path, int runs) {
    const bool chapter = endsWith(path, L".dmv");
    nlohmann::json out;
    out["file"] = narrow(path);
    out["format"] = chapter ? "chapter" : "event";
    out["fileBytes"] = FileSystem::real().fileSize(path);

    // Warm the file cache once, so that every run reads from memory alike.
    const int chunkHeaders = walkChunkHeaders(path);
    out["chunkHeaders"] = chunkHeaders;

    std::vector<double> walks, opens, decodeRates;
    for (int run = 0; run < runs; ++run) {
        Stopwatch walk;
        walkChunkHeaders(path);
        walks.push_back(walk.milliseconds());

        VideoArchive archive;
        Stopwatch open;
        openRecord(archive, path, chapter);
        opens.push_back(open.milliseconds());
        archive.close();
    }

    VideoArchive archive;
    openRecord(archive, path, chapter);
    const int slots = archive.slotCount();
    int decoded = 0;
    for (int run = 0; run < std::max(1, runs / 2); ++run) {
        decoded = 0;
        Stopwatch decode;
        for (int slot = 0; slot < slots; ++slot) {
            if (archive.decodeFrame(slot)) ++decoded;
        }
        decodeRates.push_back(decoded / (decode.milliseconds() / 1000.0));
    }
    // The decoder alone, on the same frames held in memory: what the file reads add.
    std::vector<std::vector<std::uint8_t>> jpegs;
    for (int slot = 0; slot < slots; ++slot) jpegs.push_back(archive.restoreFrameJpeg(slot));
    archive.close();
    std::vector<double> inMemoryRates;
    for (int run = 0; run < std::max(1, runs / 2); ++run) {
        int count = 0;
        Stopwatch decode;
        for (const auto& jpeg : jpegs) {
            if (decodeJpeg(jpeg.data(), jpeg.size())) ++count;
        }
        inMemoryRates.push_back(count / (decode.milliseconds() / 1000.0));
    }
    out["decodeInMemoryFramesPerSecond"] = Statistics::of(inMemoryRates).toJson();

    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);

    out["slots"] = slots;
    out["framesDecoded"] = decoded;
    out["openMilliseconds"] = Statistics::of(opens).toJson();
    out["headerWalkMilliseconds"] = Statistics::of(walks).toJson();
    out["decodeFramesPerSecond"] = Statistics::of(decodeRates).toJson();
    out["peakWorkingSetBytes"] = memory.PeakWorkingSetSize;
    out["peakPrivateBytes"] = memory.PeakPagefileUsage;
    return out;
}

int usage() {
    std::fputs("usage: scenova-bench generate DIR\n       scenova-bench measure FILE [RUNS]\n", stderr);
    return 64;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return usage();
    const std::wstring command = argv[1];
    try {
        if (command == L"generate" && argc == 3) return generate(argv[2]);
        if (command == L"measure" && argc <= 4) {
            const int runs = argc == 4 ? _wtoi(argv[3]) : kDefaultRuns;
            if (runs < 1) return usage();
            const std::string json = measure(argv[2], runs).dump(2) + "\n";
            std::fwrite(json.data(), 1, json.size(), stdout);
            return 0;
        }
    } catch (const Exception& e) {
        std::fprintf(stderr, "scenova-bench: %s\n", narrow(e.message()).c_str());
        return 2;
    }
    return usage();
}
