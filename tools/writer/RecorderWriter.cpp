#include "tools/writer/RecorderWriter.h"

#include "archive/ByteOrder.h"
#include "archive/FileSystem.h"
#include "archive/FrameTag.h"
#include "tools/writer/FrameJpegEncoder.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr std::uint8_t kVideo = 0x55;
constexpr std::uint8_t kSound = 0xAA;
constexpr std::uint8_t kSkipFiller = 0xFF;

void putBcd(std::uint8_t* at, std::uint32_t value, int digits) {
    std::vector<std::uint8_t> bytes = bcdBytes(value, digits);
    std::copy(bytes.begin(), bytes.end(), at);
}

void putDateTime(std::uint8_t* at, const RecorderDateTime& time) {
    putBcd(at + 0, static_cast<std::uint32_t>(time.year - 2000), 2);
    putBcd(at + 1, static_cast<std::uint32_t>(time.month), 2);
    putBcd(at + 2, static_cast<std::uint32_t>(time.day), 2);
    putBcd(at + 3, static_cast<std::uint32_t>(time.hour), 2);
    putBcd(at + 4, static_cast<std::uint32_t>(time.minute), 2);
    putBcd(at + 5, static_cast<std::uint32_t>(time.second), 2);
}

}  // namespace

std::vector<std::uint8_t> bcdBytes(std::uint32_t value, int digits) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(digits / 2));
    for (std::size_t i = bytes.size(); i > 0; --i) {
        std::uint32_t pair = value % 100;
        value /= 100;
        bytes[i - 1] = static_cast<std::uint8_t>(((pair / 10) << 4) | (pair % 10));
    }
    return bytes;
}

std::uint16_t signedBcdG(double g) {
    long thousandths = std::lround(std::fabs(g) * 1000.0);
    std::uint32_t digits = g < 0 ? 8000 + static_cast<std::uint32_t>(std::min(thousandths, 1999L))
                                 : static_cast<std::uint32_t>(std::min(thousandths, 7999L));
    std::vector<std::uint8_t> bytes = bcdBytes(digits, 4);
    return static_cast<std::uint16_t>((bytes[0] << 8) | bytes[1]);
}

RecorderWriter::RecorderWriter(FirmwareCode firmwareCode) : firmware(firmwareCode) {}

std::vector<std::uint8_t> RecorderWriter::recordHeaderBytes(const RecordHeaderFields& fields) {
    std::vector<std::uint8_t> header(kRecordHeaderSize, 0);
    header[0] = fields.kindCode;
    putDateTime(&header[2], fields.dateTime);
    writeBigEndian32(&header[8], fields.eventTimeStamp);
    writeBigEndian16(&header[12], fields.eventGFirstRaw);
    writeBigEndian16(&header[14], fields.eventGSecondRaw);
    putBcd(&header[16], static_cast<std::uint32_t>(fields.eventSpeed), 4);
    header[28] = fields.auxiliaryByte;
    header[29] = fields.protect ? 0x01 : 0x00;
    return header;
}

std::vector<std::uint8_t> RecorderWriter::chunkHeaderBytes(const ChunkFields& fields, std::uint32_t payloadSize) {
    std::vector<std::uint8_t> header(kChunkHeaderSize, 0);
    const FrameFields& frame = fields.frame;
    writeBigEndian32(&header[0], payloadSize);
    writeBigEndian32(&header[4], frame.timeStamp);
    writeBigEndian32(&header[8], fields.soundByteCount);
    header[12] = fields.type;
    header[32] = frame.serialFirst;
    putBcd(&header[33], static_cast<std::uint32_t>(frame.serialSecond), 4);
    putDateTime(&header[36], frame.dateTime);
    writeBigEndian16(&header[42], frame.gFirstWord ? *frame.gFirstWord : signedBcdG(frame.gFirst));
    writeBigEndian16(&header[44], frame.gSecondWord ? *frame.gSecondWord : signedBcdG(frame.gSecond));
    putBcd(&header[46], static_cast<std::uint32_t>(frame.speed), 4);
    putBcd(&header[48], frame.auxiliaryValue1, 8);
    putBcd(&header[52], frame.auxiliaryValue2, 8);
    writeBigEndian16(&header[59], frame.auxiliaryWord);
    header[61] = frame.protect ? 0x01 : 0x00;
    return header;
}

std::vector<std::uint8_t> RecorderWriter::framePayload(const RgbPicture& picture) const {
    std::vector<std::uint8_t> payload = FrameJpegEncoder::encode(picture);
    payload[0] = firmware.high;
    payload[1] = firmware.low;
    std::memcpy(&payload[FrameTag::kSignatureOffset], FrameTag::kSignature, FrameTag::kSignatureSize);
    return payload;
}

RecorderWriter& RecorderWriter::header(const RecordHeaderFields& fields, std::uint8_t skipCount) {
    append(recordHeaderBytes(fields));
    std::vector<std::uint8_t> skipBlock(kSkipBlockSize, 0);
    skipBlock[0] = skipCount;
    append(skipBlock);
    append(std::vector<std::uint8_t>(static_cast<std::size_t>(skipCount) * 8, kSkipFiller));
    return *this;
}

RecorderWriter& RecorderWriter::videoChunk(const FrameFields& fields, const RgbPicture& picture) {
    return videoChunkWithPayload(fields, framePayload(picture));
}

RecorderWriter& RecorderWriter::videoChunkWithPayload(const FrameFields& fields,
                                                      const std::vector<std::uint8_t>& payload) {
    ChunkFields chunkFields;
    chunkFields.frame = fields;
    chunkFields.type = kVideo;
    return chunk(chunkFields, payload);
}

RecorderWriter& RecorderWriter::soundChunk(std::uint32_t timeStamp, const std::vector<std::uint8_t>& samples,
                                           std::size_t padding) {
    ChunkFields chunkFields;
    chunkFields.frame.timeStamp = timeStamp;
    chunkFields.type = kSound;
    chunkFields.soundByteCount = static_cast<std::uint32_t>(samples.size());
    std::vector<std::uint8_t> payload = samples;
    payload.resize(samples.size() + padding, 0x80);
    return chunk(chunkFields, payload);
}

RecorderWriter& RecorderWriter::chunk(const ChunkFields& fields, const std::vector<std::uint8_t>& payload) {
    std::uint32_t declared = fields.payloadSize ? *fields.payloadSize : static_cast<std::uint32_t>(payload.size());
    ChunkLocation location;
    location.headerOffset = data.size();
    location.payloadOffset = data.size() + kChunkHeaderSize;
    location.payloadLength = payload.size();
    location.type = fields.type;
    append(chunkHeaderBytes(fields, declared));
    append(payload);
    locations.push_back(location);
    return *this;
}

RecorderWriter& RecorderWriter::garbage(std::size_t length, std::uint32_t seed) {
    std::uint32_t state = seed * 2654435761u + 12345u;
    data.reserve(data.size() + length);
    for (std::size_t i = 0; i < length; ++i) {
        state = state * 1664525u + 1013904223u;
        std::uint8_t byte = static_cast<std::uint8_t>(state >> 24);
        // Neither the first signature byte nor a sound chunk's type byte, so that no run of
        // garbage reads as a chunk.
        if (byte == FrameTag::kSignature[0] || byte == kSound) byte = 0x00;
        data.push_back(byte);
    }
    return *this;
}

RecorderWriter& RecorderWriter::append(const std::vector<std::uint8_t>& bytes) {
    data.insert(data.end(), bytes.begin(), bytes.end());
    return *this;
}

void RecorderWriter::truncate(std::size_t length) {
    if (length < data.size()) data.resize(length);
}

void RecorderWriter::patch(std::size_t offset, const std::vector<std::uint8_t>& bytes) {
    if (offset + bytes.size() > data.size()) data.resize(offset + bytes.size());
    std::copy(bytes.begin(), bytes.end(), data.begin() + static_cast<std::ptrdiff_t>(offset));
}

bool RecorderWriter::save(const std::wstring& path) const {
    std::unique_ptr<File> file = FileSystem::real().open(path, FileMode::WriteBinary);
    if (!file) return false;
    bool complete = file->write(data.data(), data.size()) == data.size();
    return file->close() && complete;
}
