#include "archive/ChunkScan.h"

#include "archive/FrameTag.h"
#include "archive/RecorderFields.h"
#include "archive/SignatureSearch.h"
#include "base/Exception.h"
#include "base/StringTable.h"

namespace {
constexpr unsigned kDataUnreadable = 5510;
}

ChunkScan::ChunkScan(File& file, Purpose purpose, FirmwareCode code, bool takeSound)
    : file(file), purpose(purpose), firmware(code), takeSound(takeSound) {}

bool ChunkScan::skipPayload(std::int32_t size) {
    const std::int64_t from = position;
    if (from < 0) return false;
    // A C stream seeks past the end without complaint. A payload that runs past the end of
    // the file (a cut file, a damaged size) is no complete chunk: the scan goes on from the
    // payload start and the signature search finds whatever good chunk follows.
    if (fileSize >= 0 && from + size > fileSize) return false;
    if (!file.seek(size, SEEK_CUR)) return false;
    position = from + size;
    return true;
}

void ChunkScan::run() {
    std::int64_t start = file.tell();
    if (start >= 0 && file.seek(0, SEEK_END)) {
        fileSize = file.tell();
        file.seek(start, SEEK_SET);
    }
    position = start;

    SignatureSearch search;
    bool firstVideoSeen = false;
    std::uint8_t header[RecorderFields::kChunkHeaderSize];
    std::uint8_t lookAhead[FrameTag::kSize];
    while (videoList.size() < kListCapacity && soundList.size() < kListCapacity) {
        if (file.read(header, sizeof header) != sizeof header) break;
        if (file.read(lookAhead, sizeof lookAhead) != sizeof lookAhead) break;
        if (!file.seek(-static_cast<std::int64_t>(sizeof lookAhead), SEEK_CUR)) break;
        if (position >= 0) position += sizeof header;

        std::uint8_t type = RecorderFields::chunkType(header);
        if (!FrameTag::hasSignature(lookAhead) && type != RecorderFields::kSoundChunk) {
            const std::int64_t left = fileSize >= 0 && position >= 0 ? fileSize - position : -1;
            if (!search.resynchronise(file, left)) break;
            position = file.tell();
            continue;
        }

        FrameRecord record = RecorderFields::fromChunkHeader(header);
        record.payloadOffset = position;
        if (type == RecorderFields::kVideoChunk) {
            if (!firstVideoSeen) {
                // The recorder's lead frame: it proves the recorder family and is never shown.
                if (purpose == Purpose::Open && (lookAhead[0] != firmware.high || lookAhead[1] != firmware.low)) {
                    throw VideoArchiveException(loadString(kDataUnreadable));
                }
                if (record.payloadSize > 0) skipPayload(record.payloadSize);
                firstVideoSeen = true;
                continue;
            }
            if (record.protectMark) protectMarked = true;
            if (record.payloadSize > 0 && skipPayload(record.payloadSize)) videoList.push_back(record);
        } else if (type == RecorderFields::kSoundChunk && purpose == Purpose::Open) {
            if (takeSound) {
                if (record.payloadSize > 0 && skipPayload(record.payloadSize)) soundList.push_back(record);
            } else if (record.payloadSize > 0) {
                skipPayload(record.payloadSize);
            }
        }
        // Any other chunk is dropped without skipping its payload: the next header read
        // starts right after its 64 bytes.
    }
}
