// scenova-cli export FOLDER --out DIR on a continuous folder: each chapter in play order
// exported as export FILE exports it, into DIR\VideoNNNN, and DIR\record.avi and
// DIR\telemetry.csv of all chapters joined, frame n of the video on row n of the CSV.
#include "archive/ChapterList.h"
#include "archive/RecordCatalog.h"
#include "cli/Commands.h"
#include "cli/RecordExport.h"
#include "cli/RecordFile.h"
#include "cli/StagingFolder.h"
#include "export/AviRecordWriter.h"
#include "export/FrameOverlay.h"
#include "export/TelemetryCsv.h"
#include "base/Exception.h"
#include "base/StringTable.h"

#include <memory>

namespace {

constexpr unsigned kTooManyChapters = 5088;  // "連続記録データは%d分までしか再生できません。"
constexpr unsigned kUnreadableData = 5510;   // "該当データを読み込めません。"

// "Video0001.dmv" -> "Video0001".
std::wstring chapterFolderName(const std::wstring& path) {
    const std::wstring name = RecordFile::nameOf(path);
    return name.substr(0, name.find_last_of(L'.'));
}

bool writeChapters(const ChapterList& chapters, StagingFolder& staging, FrameOverlay* overlay, std::wstring& error) {
    const int rate = RecordFile::slotsPerSecond(RecordFormat::Chapter);
    AviRecordWriter joined(rate, true);
    joined.create(staging.pathOf(L"record.avi"));
    staging.adopt(L"record.avi");
    TelemetryCsv csv(rate);
    int exported = 0;
    for (const std::wstring& path : chapters.paths) {
        // An unreadable chapter is left out of the joined video; the others still tell the drive.
        std::unique_ptr<RecordFile> record;
        try {
            record = std::make_unique<RecordFile>(path, RecordFormat::Chapter);
        } catch (const Exception& e) {
            writeError(RecordFile::nameOf(path) + L": " + e.message());
            continue;
        }
        const std::wstring folder = chapterFolderName(path);
        if (!staging.createFolder(folder, error) || !writeRecordExport(*record, staging, folder, overlay, {&joined}, error)) {
            joined.abandon();
            return false;
        }
        csv.addRecord(record->archive());
        ++exported;
    }
    if (exported == 0) {
        error = loadString(kUnreadableData);
        joined.abandon();
        return false;
    }
    if (!joined.finish(error)) {
        joined.abandon();
        return false;
    }
    return staging.writeFile(L"telemetry.csv", csv.text().data(), csv.text().size(), error);
}

}  // namespace

int runFolderExport(const std::wstring& folder, const std::wstring& out, bool overlay) {
    if (RecordCatalog::countMatches(folder, RecordCatalog::kChapterPattern) == 0) {
        writeError(L"scenova-cli: not a continuous record folder (it holds no VideoNNNN.dmv chapter): " + folder);
        return kExitUnreadable;
    }
    return exportStaged(out, overlay, [&](StagingFolder& staging, FrameOverlay* burner, std::wstring& error) {
        const ChapterList chapters = RecordCatalog::scanContinuousFolder(folder);
        if (chapters.truncated) writeError(formatString(kTooManyChapters, {std::to_wstring(RecordCatalog::kMaxChapters)}));
        return writeChapters(chapters, staging, burner, error);
    });
}
