// scenova-cli info FILE|FOLDER: what the viewer reads from one recorder file, or what a
// record folder holds, as one JSON object.
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

int runInfo(const Arguments& args) {
    if (args.size() != 1 || args[0].empty()) return usage();
    const std::wstring& path = args[0];
    try {
        Json out;
        RecordFormat format;
        if (FileSystem::current().isDirectory(path)) {
            out = folderInfo(path);
        } else if (RecordFile::formatOf(path, format)) {
            out = fileInfo(path, format);
        } else {
            writeError(L"scenova-cli: not a recorder file or folder: " + path);
            return usage();
        }
        writeOut(out.dump(2) + "\n");
        return kExitOk;
    } catch (const Exception& e) {
        writeError(e.message());
        return kExitUnreadable;
    }
}
