#pragma once
// Writes recorder files the way the drive recorder does, for tests and tools: event files
// ("Video.dvt"), continuous chapter files ("Video????.dmv") and image files ("*.dpc"), with
// real frames, sound chunks, telemetry per frame, and deliberate damage.
//
// An event or chapter file is a record header (header()), then chunks. The recorder's first
// video chunk is a lead frame that viewers skip: write one before the frames that count.
// An image file is exactly one video chunk, with no record header.
//
//     RecorderWriter file;
//     file.header(RecordHeaderFields{});
//     file.videoChunk(FrameFields{});            // lead frame, never shown
//     for (...) file.videoChunk(fields).soundChunk(stamp, samples);
//     file.save(path);
#include "archive/FirmwareCode.h"
#include "tools/writer/RgbPicture.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Calendar fields as the recorder writes them (BCD, year 2000 to 2099). Nothing is
// validated: 30 February is written as it stands.
struct RecorderDateTime {
    int year = 2024;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The 32-byte record header of event and chapter files.
struct RecordHeaderFields {
    std::uint8_t kindCode = 0x10;  // 0x10 auto event, 0x20 manual, 0x18 image, 0x19 continuous
    RecorderDateTime dateTime;
    std::uint32_t eventTimeStamp = 0;   // ms on the chunk clock
    std::uint16_t eventGFirstRaw = 0;   // raw sensor value: 512 is 0 G, 0 means none
    std::uint16_t eventGSecondRaw = 0;
    int eventSpeed = 0;                 // km/h, written as 4 BCD digits
    std::uint8_t auxiliaryByte = 0;     // byte 28
    bool protect = false;               // bit 0 of byte 29
};

// The telemetry the recorder writes into a chunk header with each frame.
struct FrameFields {
    std::uint32_t timeStamp = 0;  // ms on the recorder's running clock
    RecorderDateTime dateTime;
    double gFirst = 0.0;          // G, -1.999 to 7.999; written as signed BCD
    double gSecond = 0.0;
    // When set, written as they stand instead of gFirst / gSecond (for odd BCD words).
    std::optional<std::uint16_t> gFirstWord;
    std::optional<std::uint16_t> gSecondWord;
    int speed = 0;                // km/h, 4 BCD digits
    bool protect = false;         // bit 0 of byte 61
    std::uint8_t serialFirst = 0;
    int serialSecond = 0;         // 4 BCD digits
    std::uint32_t auxiliaryValue1 = 0;  // 8 BCD digits
    std::uint32_t auxiliaryValue2 = 0;
    std::uint16_t auxiliaryWord = 0;    // bytes 59-60
};

// A chunk header with every field free, for chunks the recorder would not write.
struct ChunkFields {
    FrameFields frame;
    std::uint8_t type = 0x55;                    // 0x55 video, 0xAA sound
    std::optional<std::uint32_t> payloadSize;    // default: the payload's real length
    std::uint32_t soundByteCount = 0;
};

// Where a chunk landed in the file, for damaging it afterwards.
struct ChunkLocation {
    std::size_t headerOffset = 0;
    std::size_t payloadOffset = 0;
    std::size_t payloadLength = 0;
    std::uint8_t type = 0;
};

class RecorderWriter {
public:
    static constexpr std::size_t kRecordHeaderSize = 32;
    static constexpr std::size_t kSkipBlockSize = 16;
    static constexpr std::size_t kChunkHeaderSize = 64;

    explicit RecorderWriter(FirmwareCode firmwareCode = FirmwareCode());

    // The record header and the skip block; skipCount x 8 filler bytes follow the block.
    RecorderWriter& header(const RecordHeaderFields& fields, std::uint8_t skipCount = 0);
    // A video chunk holding a real baseline JPEG of picture, its first 16 bytes replaced by
    // the frame tag (firmware code and signature).
    RecorderWriter& videoChunk(const FrameFields& fields, const RgbPicture& picture = RgbPicture());
    // A video chunk with a payload of your own (stored as it stands: no tag is added).
    RecorderWriter& videoChunkWithPayload(const FrameFields& fields, const std::vector<std::uint8_t>& payload);
    // A sound chunk: samples (8-bit unsigned mono, 11025 per second) then padding bytes.
    RecorderWriter& soundChunk(std::uint32_t timeStamp, const std::vector<std::uint8_t>& samples,
                               std::size_t padding = 0);
    // Any chunk header followed by payload.
    RecorderWriter& chunk(const ChunkFields& fields, const std::vector<std::uint8_t>& payload);
    // A run of bytes that holds no signature (and so no frame tag).
    RecorderWriter& garbage(std::size_t length, std::uint32_t seed = 1);
    RecorderWriter& append(const std::vector<std::uint8_t>& bytes);

    // Damage after the fact.
    void truncate(std::size_t length);
    void patch(std::size_t offset, const std::vector<std::uint8_t>& bytes);

    const std::vector<std::uint8_t>& bytes() const { return data; }
    std::size_t size() const { return data.size(); }
    const std::vector<ChunkLocation>& chunks() const { return locations; }

    // Writes the bytes to path through the real file system; false on failure.
    bool save(const std::wstring& path) const;

    // Single pieces, for tests that lay out bytes themselves.
    static std::vector<std::uint8_t> recordHeaderBytes(const RecordHeaderFields& fields);
    static std::vector<std::uint8_t> chunkHeaderBytes(const ChunkFields& fields, std::uint32_t payloadSize);
    // A frame payload: the JPEG of picture with the frame tag in place of its first 16 bytes.
    std::vector<std::uint8_t> framePayload(const RgbPicture& picture) const;

private:
    FirmwareCode firmware;
    std::vector<std::uint8_t> data;
    std::vector<ChunkLocation> locations;
};

// Field encodings of the recorder.
std::vector<std::uint8_t> bcdBytes(std::uint32_t value, int digits);   // digits even
std::uint16_t signedBcdG(double g);    // -1.999 to 7.999 G as the recorder's signed BCD word
