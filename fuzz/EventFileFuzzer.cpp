// An event file ("Video.dvt") opened as the viewer opens it: the chunk scan, the frame grid,
// the event frame, the sound written into the temporary WAV file and read back as the
// player reads it, and the frames restored and decoded.
#include "FuzzInput.h"

#include "archive/VideoArchive.h"
#include "archive/VideoInfo07.h"
#include "base/Exception.h"
#include "playback/decode/Image.h"
#include "playback/decode/WaveFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MemoryFileSystem& fs = fuzz::freshFileSystem();
    const std::wstring path = joinPath(fuzz::kFolder, L"Video.dvt");
    fs.put(path, data, size);

    // One archive for the run, as the viewer's loader keeps one: every open closes first.
    static VideoArchive archive;
    try {
        archive.openEventFile(path);
    } catch (const Exception&) {
        return 0;
    }
    VideoInfo07 info(archive);
    // Gap-filling copies share their frame's payload: each payload is restored once.
    std::int64_t restored = -1;
    for (int slot = 0; slot < info.slotCount(); ++slot) {
        const FrameRecord* frame = archive.frameAt(slot);
        if (!frame || frame->payloadOffset == restored) continue;
        archive.restoreFrameJpeg(slot);
        restored = frame->payloadOffset;
    }
    // Decoding every slot would spend the run in libjpeg; the JPEG target covers that.
    archive.decodeFrame(0);
    if (info.eventIndex() >= 0) archive.decodeFrame(info.eventIndex());
    if (!archive.soundFileName().empty()) {
        try {
            WaveFile::read(archive.soundFileName());
        } catch (const Exception&) {
        }
    }
    return 0;
}
