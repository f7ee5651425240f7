#pragma once
// The walk over the chunks of an event or chapter file: reads only the chunk headers (and
// the 16 bytes after each), skips the payloads, and collects the video and sound chunks.
#include "archive/FileSystem.h"
#include "archive/FirmwareCode.h"
#include "archive/FrameRecord.h"

#include <cstdint>
#include <vector>

class ChunkScan {
public:
    static constexpr std::size_t kListCapacity = 900;

    enum class Purpose {
        // Opening a record: the first video chunk must carry the firmware code; sound
        // chunks are collected when takeSound is set, and skipped otherwise.
        Open,
        // Counting a chapter's slots: video chunks only; other chunks are not skipped, the
        // signature search finds the chunk after them.
        CountSlots,
    };

    ChunkScan(File& file, Purpose purpose, FirmwareCode code, bool takeSound);

    // Runs from the file's current position. Throws VideoArchiveException (5510) when the
    // first video chunk of an Open scan carries another firmware code.
    void run();

    const std::vector<FrameRecord>& videos() const { return videoList; }
    const std::vector<FrameRecord>& sounds() const { return soundList; }
    // A video chunk after the first carried the protect mark.
    bool protectSeen() const { return protectMarked; }

private:
    bool skipPayload(std::int32_t size);

    File& file;
    Purpose purpose;
    FirmwareCode firmware;
    bool takeSound;
    std::int64_t fileSize = -1;
    // Where the stream stands, kept here rather than asked of the stream: asking costs a
    // system call per chunk, as much as reading the header itself.
    std::int64_t position = -1;
    std::vector<FrameRecord> videoList;
    std::vector<FrameRecord> soundList;
    bool protectMarked = false;
};
