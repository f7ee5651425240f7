#pragma once
// The temporary WAV files the player reads: RIFF/WAVE with a 16-byte "fmt " chunk directly
// followed by the "data" chunk, PCM, one channel, 11025 samples per second, one byte a
// sample. Anything else is refused with the file's path as the message.
#include <cstdint>
#include <string>
#include <vector>

struct WaveFormat {
    std::uint16_t formatTag = 0;
    std::uint16_t channels = 0;
    std::uint32_t sampleRate = 0;
    std::uint32_t averageBytesPerSecond = 0;
    std::uint16_t blockAlignment = 0;
    std::uint16_t bitsPerSample = 0;
};

class WaveFile {
public:
    static constexpr std::uint32_t kSampleRate = 11025;

    // Reads the whole file; throws WaveAudioException carrying the path when it cannot be
    // opened, is cut short or is not of the accepted format.
    static WaveFile read(const std::wstring& path);

    WaveFormat format;
    std::vector<std::uint8_t> samples;
};
