#include "playback/decode/WaveFile.h"

#include "archive/FileSystem.h"
#include "base/Exception.h"

#include <cstring>

namespace {

constexpr std::uint16_t kPcm = 1;
constexpr std::size_t kFormatBytes = 16;
// Larger than any sound the recorder writes (60 s at 11025 bytes/s is 660 kB); keeps a
// damaged length field from asking for gigabytes.
constexpr std::uint32_t kMaxDataLength = 64u * 1024 * 1024;

std::uint16_t littleEndian16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t littleEndian32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
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
    wave.format.formatTag = littleEndian16(fields + 0);
    wave.format.channels = littleEndian16(fields + 2);
    wave.format.sampleRate = littleEndian32(fields + 4);
    wave.format.averageBytesPerSecond = littleEndian32(fields + 8);
    wave.format.blockAlignment = littleEndian16(fields + 12);
    wave.format.bitsPerSample = littleEndian16(fields + 14);
    if (wave.format.formatTag != kPcm || wave.format.channels != 1 || wave.format.sampleRate != kSampleRate ||
        wave.format.blockAlignment != 1)
        throw WaveAudioException(path);

    std::uint8_t dataHeader[8];
    if (!readExactly(*file, dataHeader, sizeof dataHeader) || !hasTag(dataHeader, "data"))
        throw WaveAudioException(path);
    std::uint32_t length = littleEndian32(dataHeader + 4);
    if (length > kMaxDataLength) throw WaveAudioException(path);
    wave.samples.resize(length);
    if (length > 0 && !readExactly(*file, wave.samples.data(), length)) throw WaveAudioException(path);
    return wave;
}
