#pragma once
// What the recorder logged with one frame. Created, copied and deleted only by the
// VideoArchive; a pointer handed out stays valid until the archive's next open or close.
#include <cstdint>
#include <string>

struct FrameRecord {
    int serialFirst = 0;         // kept, not used
    int serialSecond = 0;        // kept, not used
    int eventMark = 0;           // the record kind on the event frame (and its gap copies), else 0
    std::int64_t dateTime = 0;   // time value (seconds since 1970 UTC from local time); 0 unknown
    double gFirst = 0.0;         // G, first axis
    double gSecond = 0.0;        // G, second axis
    double gMagnitude = 0.0;     // sqrt(first^2 + second^2)
    int speed = 0;               // km/h, 0 to 180, ramped between the recorder's updates
    int auxiliaryValue1 = 0;     // kept, not used
    int auxiliaryValue2 = 0;     // kept, not used
    int auxiliaryWord = 0;       // kept, not used
    int auxiliaryByte = 0;       // kept, not used
    std::uint8_t protectMark = 0;
    std::int32_t payloadSize = 0;     // as the recorder wrote it, taken as signed
    std::uint32_t soundByteCount = 0; // sound chunks: samples at the start of the payload
    std::uint32_t timeStamp = 0;      // ms on the recorder's running clock
    std::int64_t payloadOffset = 0;   // file offset just after the 64-byte chunk header
    std::uint8_t chunkType = 0;
    std::wstring sourcePath;          // image files only: full path of the file

    // The copy that fills a gap in the frame grid: everything but the protect mark, the
    // sound byte count, the chunk type and the path.
    FrameRecord gapCopy() const {
        FrameRecord copy = *this;
        copy.protectMark = 0;
        copy.soundByteCount = 0;
        copy.chunkType = 0;
        copy.sourcePath.clear();
        return copy;
    }
};
