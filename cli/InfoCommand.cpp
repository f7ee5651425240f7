// scenova-cli info FILE|FOLDER...: what the viewer reads from one recorder file, or what a
// record folder holds, as one JSON object; for several paths, an array of them.
#include "archive/ChapterList.h"
#include "archive/FileSystem.h"
#include "archive/FirmwareCodeText.h"
#include "archive/RecordCatalog.h"
#include "archive/VideoArchive.h"
#include "base/Exception.h"
#include "cli/Commands.h"
#include "cli/RecordFile.h"

#include <nlohmann/json.hpp>

using Json = nlohmann::ordered_json;

namespace {

Json gPair(double first, double second) { return Json::array({first, second}); }

Json slotJson(const FrameRecord* frame) {
    if (!frame) return nullptr;
    return Json{{"timeStamp", frame->timeStamp},
                {"dateTime", frame->dateTime},
                {"speed", frame->speed},
                {"g", gPair(frame->gFirst, frame->gSecond)},
                {"gMagnitude", frame->gMagnitude},
                {"eventMark", frame->eventMark},
                {"payloadOffset", frame->payloadOffset},
                {"payloadSize", frame->payloadSize}};
}

Json fileInfo(const std::wstring& path, RecordFormat format) {
    RecordFile record(path, format);
    const VideoArchive& archive = record.archive();
    const RecordInformation& information = archive.recordInformation();
    Json slots = Json::array();
    for (int slot = 0; slot < archive.slotCount(); ++slot) slots.push_back(slotJson(archive.frameAt(slot)));

    Json out{{"format", RecordFile::formatName(format)},
             {"recordKind", information.recordKind},
             {"eventIndex", archive.eventIndex()},
             {"recordTime", archive.recordTime()},
             {"firstTime", archive.firstTime()},
             {"lastTime", archive.lastTime()},
             {"eventTimeStamp", information.eventTimeStamp},
             {"eventG", gPair(information.eventGFirst, information.eventGSecond)},
             {"eventSpeed", information.eventSpeed},
             {"protect", archive.isProtected()},
             {"slotCount", archive.slotCount()},
             {"slots", std::move(slots)}};
    if (format != RecordFormat::Image) out["soundSamples"] = record.soundSamples();
    return out;
}

Json folderInfo(const std::wstring& folder) {
    const int events = RecordCatalog::countMatches(folder, RecordCatalog::kEventPattern);
    const int images = RecordCatalog::countMatches(folder, RecordCatalog::kImagePattern);
    const int chapters = RecordCatalog::countMatches(folder, RecordCatalog::kChapterPattern);
    Json out{{"counts", {{"event", events}, {"image", images}, {"continuous", chapters}}}};

    if (chapters > 0) {
        const ChapterList list = RecordCatalog::scanContinuousFolder(folder);
        Json names = Json::array();
        for (const std::wstring& path : list.paths) names.push_back(toUtf8(RecordFile::nameOf(path)));
        out["chapters"] = std::move(names);
        out["chaptersTruncated"] = list.truncated;
        out["totalSlots"] = list.totalSlots;
    }
    if (images > 0) {
        VideoArchive archive(currentFirmwareCode());
        const bool truncated = RecordCatalog::listImages(folder, archive);
        Json list = Json::array();
        for (int slot = 0; slot < archive.slotCount(); ++slot) {
            const FrameRecord* frame = archive.frameAt(slot);
            if (!frame) continue;
            list.push_back({{"name", toUtf8(RecordFile::nameOf(frame->sourcePath))},
                            {"dateTime", frame->dateTime},
                            {"speed", frame->speed},
                            {"g", gPair(frame->gFirst, frame->gSecond)}});
        }
        out["images"] = std::move(list);
        out["imagesTruncated"] = truncated;
    }
    return out;
}

}  // namespace

namespace {

enum class PathInfo { Read, NotARecord, Unreadable };

// What info prints for one path, or why there is nothing to print.
PathInfo pathInfo(const std::wstring& path, Json& out, std::wstring& error) {
    try {
        RecordFormat format;
        if (FileSystem::current().isDirectory(path)) {
            out = folderInfo(path);
        } else if (RecordFile::formatOf(path, format)) {
            out = fileInfo(path, format);
        } else {
            error = L"scenova-cli: not a recorder file or folder: " + path;
            return PathInfo::NotARecord;
        }
        return PathInfo::Read;
    } catch (const Exception& e) {
        error = e.message();
        return PathInfo::Unreadable;
    }
}

}  // namespace

// One path prints its object; several print an array in the order given, where a path that
// cannot be read holds its error, so that one damaged record does not hide the others.
int runInfo(const Arguments& args) {
    if (args.empty()) return usage();
    for (const std::wstring& path : args)
        if (path.empty()) return usage();
    Json all = Json::array();
    int status = kExitOk;
    for (const std::wstring& path : args) {
        Json out;
        std::wstring error;
        const PathInfo result = pathInfo(path, out, error);
        if (result != PathInfo::Read) {
            writeError(error);
            if (args.size() == 1) return result == PathInfo::NotARecord ? usage() : kExitUnreadable;
            out = Json{{"path", toUtf8(path)}, {"error", toUtf8(error)}};
            status = kExitUnreadable;
        }
        all.push_back(std::move(out));
    }
    writeOut((args.size() == 1 ? all[0] : all).dump(2) + "\n");
    return status;
}
