// Continuous records: the files of the input become the chapters of a folder. The folder is
// catalogued (display mode, chapter scan and the slot count of the last chapter), then each
// chapter is opened as the player opens it, writing its rows into the chapter time table.
#include "FuzzInput.h"

#include "archive/RecordCatalog.h"
#include "archive/VideoArchive.h"
#include "base/Exception.h"
#include "playback/decode/Image.h"

#include <cstdio>

namespace {
constexpr std::size_t kMaxChapters = 4;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MemoryFileSystem& fs = fuzz::freshFileSystem();
    std::vector<fuzz::Piece> pieces = fuzz::splitFiles(data, size, kMaxChapters);
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        wchar_t name[32];
        std::swprintf(name, 32, L"Video%04zu.dmv", i);
        fs.put(joinPath(fuzz::kFolder, name), pieces[i].bytes, pieces[i].size);
    }

    int mode = kDisplayEvent;
    RecordCatalog::decideDisplayMode(fuzz::kFolder, mode);
    ChapterList chapters;
    try {
        chapters = RecordCatalog::scanContinuousFolder(fuzz::kFolder);
    } catch (const Exception&) {
        return 0;
    }
    // One archive for the run, as the viewer's loader keeps one: every open closes first.
    static VideoArchive archive;
    for (std::size_t chapter = 0; chapter < chapters.paths.size(); ++chapter) {
        archive.setChapterIndex(static_cast<int>(chapter));
        try {
            archive.openChapterFile(chapters.paths[chapter]);
        } catch (const Exception&) {
            continue;
        }
        for (int row = 0; row < archive.slotCount(); ++row) archive.chapterRow(static_cast<int>(chapter), row);
        archive.decodeFrame(archive.slotCount() - 1);
    }
    return 0;
}
