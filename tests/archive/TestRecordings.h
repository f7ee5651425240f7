#pragma once
// Small recorder files for the catalog and frame-information tests, built with the writer
// of recorder files. Frames carry a tagged stand-in payload: none of these tests decodes.
#include "archive/FirmwareCode.h"
#include "archive/FrameTag.h"
#include "tools/writer/RecorderWriter.h"

#include <cstring>
#include <vector>

namespace testrecordings {

inline std::vector<std::uint8_t> taggedPayload() {
    std::vector<std::uint8_t> payload(64, 0);
    const FirmwareCode code;
    payload[0] = code.high;
    payload[1] = code.low;
    std::memcpy(&payload[FrameTag::kSignatureOffset], FrameTag::kSignature, FrameTag::kSignatureSize);
    return payload;
}

// 2024-05-06 07:08:00 plus up to an hour of seconds.
inline RecorderDateTime morning(int seconds) {
    return RecorderDateTime{2024, 5, 6, 7, 8 + seconds / 60, seconds % 60};
}

// A continuous chapter whose frames fill `slots` slots, ten a second.
inline RecorderWriter chapterFile(int slots, std::uint32_t clock = 500000) {
    RecorderWriter file;
    RecordHeaderFields header;
    header.kindCode = 0x19;
    header.dateTime = morning(0);
    file.header(header);
    FrameFields lead;
    lead.timeStamp = clock - 100;
    file.videoChunkWithPayload(lead, taggedPayload());
    for (int slot = 0; slot < slots; ++slot) {
        FrameFields frame;
        frame.timeStamp = clock + 100u * static_cast<std::uint32_t>(slot);
        frame.dateTime = morning(slot / 10);
        frame.speed = 40;
        file.videoChunkWithPayload(frame, taggedPayload());
    }
    return file;
}

// A still image file taken at the given moment.
inline RecorderWriter imageFile(const RecorderDateTime& taken, double gFirst = 0.0, int speed = 0) {
    RecorderWriter file;
    FrameFields frame;
    frame.dateTime = taken;
    frame.gFirst = gFirst;
    frame.speed = speed;
    file.videoChunkWithPayload(frame, taggedPayload());
    return file;
}

}  // namespace testrecordings
