#pragma once
// One AVI file written through the system's AVIFile interface: a Motion JPEG video stream
// and, optionally, an 8-bit mono PCM sound stream. Chunks go into the file in the order
// they are written, so the caller interleaves them.
//
// Failures come back as false with a user-readable text; whatever was written stays on
// disk for the caller to remove.
#include <windows.h>
#include <vfw.h>

#include <cstdint>
#include <string>

struct AviVideoFormat {
    int framesPerSecond = 30;
    int width = 640;
    int height = 480;
};

class AviFile {
public:
    static constexpr int kSoundSamplesPerSecond = 11025;
    // AVIFile under Wine seeks with signed 32-bit offsets and writes a plain AVI 1.0 file:
    // nothing may pass 2 GiB. The margin covers the headers written at the end.
    static constexpr std::uint64_t kMaxFileBytes = 0x7FFFFFFFull - 64 * 1024;

    AviFile();
    ~AviFile();
    AviFile(const AviFile&) = delete;
    AviFile& operator=(const AviFile&) = delete;

    // Creates (or truncates) path and its streams.
    bool create(const std::wstring& path, const AviVideoFormat& video, bool withSound, std::wstring& error);
    // One frame: a complete JPEG stream.
    bool writeFrame(const std::uint8_t* jpeg, std::size_t size, std::wstring& error);
    // Sound samples after those written so far.
    bool writeSound(const std::uint8_t* samples, std::size_t count, std::wstring& error);
    // Writes the headers and the index and closes the file.
    bool finish(std::wstring& error);
    // Closes without caring for the result (the caller removes the file).
    void abandon();

    std::uint64_t framesWritten() const { return frames; }
    std::uint64_t samplesWritten() const { return samples; }
    // What the file holds so far plus what the index will add, in bytes.
    std::uint64_t projectedSize() const;

private:
    bool reserve(std::size_t chunkBytes, std::wstring& error);
    bool fail(std::wstring& error) const;
    void release();
    bool repairSoundLength(std::wstring& error) const;

    PAVIFILE file = nullptr;
    PAVISTREAM video = nullptr;
    PAVISTREAM sound = nullptr;
    std::wstring path;
    std::uint64_t frames = 0;
    std::uint64_t samples = 0;
    std::uint64_t chunks = 0;
    std::uint64_t chunkBytes = 0;
};
