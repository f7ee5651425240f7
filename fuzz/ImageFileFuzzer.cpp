// Image records: the first file of the input is opened as a single image file, then all of
// them as an image folder (listed, read, sorted by their recorded time), each reopened and
// decoded as the thumbnail strip does.
#include "FuzzInput.h"

#include "archive/RecordCatalog.h"
#include "archive/VideoArchive.h"
#include "base/Exception.h"
#include "playback/decode/Image.h"

#include <cstdio>

namespace {
constexpr std::size_t kMaxImages = 6;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MemoryFileSystem& fs = fuzz::freshFileSystem();
    std::vector<fuzz::Piece> pieces = fuzz::splitFiles(data, size, kMaxImages);
    std::vector<std::wstring> paths;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        wchar_t name[32];
        std::swprintf(name, 32, L"IMG%05zu.dpc", i);
        paths.push_back(joinPath(fuzz::kFolder, name));
        fs.put(paths.back(), pieces[i].bytes, pieces[i].size);
    }

    // One archive for the run, as the viewer's loader keeps one: every open closes first.
    static VideoArchive archive;
    try {
        archive.openImageFile(paths.front());
        archive.decodeFrame(0);
    } catch (const Exception&) {
    }
    try {
        RecordCatalog::listImages(fuzz::kFolder, archive);
    } catch (const Exception&) {
        return 0;
    }
    for (int slot = 0; slot < archive.slotCount(); ++slot) {
        try {
            archive.reopenImage(slot);
        } catch (const Exception&) {
            continue;
        }
        archive.decodeFrame(slot);
    }
    return 0;
}
