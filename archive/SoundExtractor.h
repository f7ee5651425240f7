#pragma once
// The sound of an event or chapter file, laid out on the recorder's clock with silence in
// the gaps, written into a temporary WAV file (8-bit unsigned mono PCM, 11025 per second).
#include "archive/FileSystem.h"
#include "archive/FrameRecord.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class SoundExtractor {
public:
    static constexpr std::size_t kWavHeaderSize = 44;
    static constexpr std::uint32_t kSamplesPerSecond = 11025;
    static constexpr std::size_t kBlockSize = 10000;
    static constexpr std::uint8_t kSilence = 0x80;
    // Beyond this distance from the first chunk (ms) the recorder's 32-bit sample
    // arithmetic no longer holds; chunks stamped later are damaged, not sound.
    static constexpr std::uint32_t kMaxSpanMilliseconds = 194000;

    // Makes a new temporary file ("obv" prefix), opens it for exclusive writing and writes
    // the header with both sizes 0. name receives the file's path whenever the system made
    // the file, also when opening it failed; nullptr when the sound cannot be written.
    static std::unique_ptr<File> create(std::wstring& name);

    // Writes the samples of the sound chunks (payload offsets into data), finishes the
    // header and closes output. False when any of it did not reach the file (a full drive):
    // the file is then no sound to play.
    static bool write(File& data, File& output, std::vector<FrameRecord> chunks);

    // The 44-byte RIFF header for a data size.
    static std::vector<std::uint8_t> header(std::uint32_t dataSize);
};
