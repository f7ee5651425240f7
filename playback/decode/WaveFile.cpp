#include "playback/decode/WaveFile.h"

#include "archive/ByteOrder.h"
#include "archive/FileSystem.h"
#include "base/Exception.h"

#include <cstring>
#include <new>

namespace {

constexpr std::uint16_t kPcm = 1;
constexpr std::size_t kFormatBytes = 16;
// Larger than any sound the recorder writes (60 s at 11025 bytes/s is 660 kB); keeps a
// damaged length field from asking for gigabytes.
constexpr std::uint32_t kMaxDataLength = 64u * 1024 * 1024;

// Bytes from the current position to the end of the file; -1 when it cannot be told.
std::int64_t bytesLeft(File& file) {
    const std::int64_t here = file.tell();
    if (here < 0 || !file.seek(0, SEEK_END)) return -1;
    const std::int64_t end = file.tell();
    if (!file.seek(here, SEEK_SET) || end < here) return -1;
    return end - here;
}

bool readExactly(File& file, void* buffer, std::size_t size) {
    return file.read(buffer, size) == size;
}

bool hasTag(const std::uint8_t* p, const char* tag) {
    return std::memcmp(p, tag, 4) == 0;
}

}  // namespace

WaveFile WaveFile::read(const std::wstring& path) {
    std::unique_ptr<File> file = FileSystem::current().open(path, FileMode::ReadBinary);
    if (!file) throw WaveAudioException(path);

    std::uint8_t riff[12];
    if (!readExactly(*file, riff, sizeof riff) || !hasTag(riff, "RIFF") || !hasTag(riff + 8, "WAVE"))
        throw WaveAudioException(path);

    // "fmt ", its size (not used: the chunk must be the 16-byte PCM form), then the format.
    std::uint8_t formatChunk[8 + kFormatBytes];
    if (!readExactly(*file, formatChunk, sizeof formatChunk) || !hasTag(formatChunk, "fmt "))
        throw WaveAudioException(path);
    const std::uint8_t* fields = formatChunk + 8;
    WaveFile wave;
    wave.format.formatTag = readLittleEndian16(fields + 0);
    wave.format.channels = readLittleEndian16(fields + 2);
    wave.format.sampleRate = readLittleEndian32(fields + 4);
    wave.format.averageBytesPerSecond = readLittleEndian32(fields + 8);
    wave.format.blockAlignment = readLittleEndian16(fields + 12);
    wave.format.bitsPerSample = readLittleEndian16(fields + 14);
    if (wave.format.formatTag != kPcm || wave.format.channels != 1 || wave.format.sampleRate != kSampleRate ||
        wave.format.blockAlignment != 1)
        throw WaveAudioException(path);

    std::uint8_t dataHeader[8];
    if (!readExactly(*file, dataHeader, sizeof dataHeader) || !hasTag(dataHeader, "data"))
        throw WaveAudioException(path);
    const std::uint32_t length = readLittleEndian32(dataHeader + 4);
    // A length the file does not hold is refused before anything is allocated for it.
    const std::int64_t left = bytesLeft(*file);
    if (length > kMaxDataLength || left < 0 || length > static_cast<std::uint64_t>(left))
        throw WaveAudioException(path);
    try {
        wave.samples.resize(length);
    } catch (const std::bad_alloc&) {
        throw WaveAudioException(path);
    }
    if (length > 0 && !readExactly(*file, wave.samples.data(), length)) throw WaveAudioException(path);
    return wave;
}
