#include "export/AviFile.h"

#include "archive/ByteOrder.h"
#include "resources/resource.h"
#include "base/StringTable.h"

#include <cstring>
#include <vector>

namespace {

constexpr unsigned kAviWriteFailed = IDS_EXPORT_VIDEO_FAILED;
constexpr unsigned kAviTooLarge = IDS_EXPORT_VIDEO_TOO_LARGE;

// The system's own AVI file handler (CLSID_AVIFile, which MinGW declares but does not define).
const CLSID kAviFileHandler = {0x00020000, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// Every chunk costs its 8-byte header, a pad byte at most and a 16-byte index entry.
constexpr std::uint64_t kChunkOverhead = 8 + 1 + 16;
// Headers, padding to the first chunk and the index header.
constexpr std::uint64_t kFixedOverhead = 4096;

// The header list of an AVI file: RIFF "AVI " at 0, LIST "hdrl" at 12.
constexpr std::size_t kHeaderReadBytes = 64 * 1024;
constexpr std::size_t kStreamHeaderLengthOffset = 32;  // dwLength inside "strh"

std::uint32_t fourCc(const char* text) { return readLittleEndian32(reinterpret_cast<const std::uint8_t*>(text)); }

// Wine's AVIFile counts the sound stream's length in chunks, where readers expect samples;
// finds the "strh" of the "auds" stream so that finish() can set the real count.
std::size_t soundLengthOffset(const std::vector<std::uint8_t>& head) {
    if (head.size() < 24 || readLittleEndian32(head.data()) != fourCc("RIFF") ||
        readLittleEndian32(head.data() + 8) != fourCc("AVI ") || readLittleEndian32(head.data() + 12) != fourCc("LIST") ||
        readLittleEndian32(head.data() + 20) != fourCc("hdrl"))
        return 0;
    const std::size_t listEnd = std::min<std::size_t>(head.size(), 20 + std::size_t{readLittleEndian32(head.data() + 16)});
    std::size_t at = 24;
    while (at + 8 <= listEnd) {
        const std::uint32_t id = readLittleEndian32(head.data() + at);
        const std::size_t size = readLittleEndian32(head.data() + at + 4);
        if (id == fourCc("LIST") && at + 12 <= listEnd && readLittleEndian32(head.data() + at + 8) == fourCc("strl")) {
            // The stream header is the list's first chunk.
            const std::size_t header = at + 12;
            if (header + 8 + kStreamHeaderLengthOffset + 4 <= listEnd &&
                readLittleEndian32(head.data() + header) == fourCc("strh") &&
                readLittleEndian32(head.data() + header + 8) == fourCc("auds"))
                return header + 8 + kStreamHeaderLengthOffset;
        }
        if (size > listEnd) break;
        at += 8 + size + (size & 1);
    }
    return 0;
}

}  // namespace

// The library keeps a count of its users; each AviFile is one of them.
AviFile::AviFile() { AVIFileInit(); }

AviFile::~AviFile() {
    release();
    AVIFileExit();
}

void AviFile::release() {
    if (video != nullptr) AVIStreamRelease(video);
    if (sound != nullptr) AVIStreamRelease(sound);
    if (file != nullptr) AVIFileRelease(file);
    video = sound = nullptr;
    file = nullptr;
}

bool AviFile::fail(std::wstring& error) const {
    error = loadString(kAviWriteFailed);
    return false;
}

bool AviFile::create(const std::wstring& target, const AviVideoFormat& format, bool withSound, std::wstring& error) {
    release();
    path = target;
    frames = samples = chunks = chunkBytes = 0;
    DeleteFileW(path.c_str());
    // The handler is named rather than found by the name's extension: staged files have none.
    CLSID handler = kAviFileHandler;
    HRESULT result = AVIFileOpenW(&file, path.c_str(), OF_CREATE | OF_WRITE | OF_SHARE_DENY_WRITE, &handler);
    if (FAILED(result)) {
        file = nullptr;
        return fail(error);
    }

    AVISTREAMINFOW videoInfo{};
    videoInfo.fccType = streamtypeVIDEO;
    videoInfo.fccHandler = mmioFOURCC('M', 'J', 'P', 'G');
    videoInfo.dwScale = 1;
    videoInfo.dwRate = static_cast<DWORD>(format.framesPerSecond);
    SetRect(&videoInfo.rcFrame, 0, 0, format.width, format.height);
    result = AVIFileCreateStreamW(file, &video, &videoInfo);
    if (FAILED(result)) return fail(error);
    BITMAPINFOHEADER picture{};
    picture.biSize = sizeof picture;
    picture.biWidth = format.width;
    picture.biHeight = format.height;
    picture.biPlanes = 1;
    picture.biBitCount = 24;
    picture.biCompression = mmioFOURCC('M', 'J', 'P', 'G');
    picture.biSizeImage = static_cast<DWORD>(format.width * format.height * 3);
    result = AVIStreamSetFormat(video, 0, &picture, sizeof picture);
    if (FAILED(result)) return fail(error);

    if (!withSound) return true;
    AVISTREAMINFOW soundInfo{};
    soundInfo.fccType = streamtypeAUDIO;
    soundInfo.dwScale = 1;
    soundInfo.dwRate = kSoundSamplesPerSecond;
    soundInfo.dwSampleSize = 1;
    result = AVIFileCreateStreamW(file, &sound, &soundInfo);
    if (FAILED(result)) return fail(error);
    WAVEFORMATEX wave{};
    wave.wFormatTag = WAVE_FORMAT_PCM;
    wave.nChannels = 1;
    wave.nSamplesPerSec = kSoundSamplesPerSecond;
    wave.nAvgBytesPerSec = kSoundSamplesPerSecond;
    wave.nBlockAlign = 1;
    wave.wBitsPerSample = 8;
    result = AVIStreamSetFormat(sound, 0, &wave, sizeof wave);
    if (FAILED(result)) return fail(error);
    return true;
}

std::uint64_t AviFile::projectedSize() const { return kFixedOverhead + chunkBytes + chunks * kChunkOverhead; }

bool AviFile::reserve(std::size_t bytes, std::wstring& error) {
    if (projectedSize() + bytes + kChunkOverhead > kMaxFileBytes) {
        error = loadString(kAviTooLarge);
        return false;
    }
    chunkBytes += bytes;
    ++chunks;
    return true;
}

bool AviFile::writeFrame(const std::uint8_t* jpeg, std::size_t size, std::wstring& error) {
    if (video == nullptr) return fail(error);
    if (!reserve(size, error)) return false;
    const HRESULT result = AVIStreamWrite(video, static_cast<LONG>(frames), 1, const_cast<std::uint8_t*>(jpeg),
                                          static_cast<LONG>(size), AVIIF_KEYFRAME, nullptr, nullptr);
    if (FAILED(result)) return fail(error);
    ++frames;
    return true;
}

bool AviFile::writeSound(const std::uint8_t* data, std::size_t count, std::wstring& error) {
    if (sound == nullptr) return fail(error);
    if (count == 0) return true;
    if (!reserve(count, error)) return false;
    // The position is what the stream reports as its length: samples for Windows, chunks for
    // Wine, which refuses any other start.
    const HRESULT result = AVIStreamWrite(sound, AVIStreamLength(sound), static_cast<LONG>(count),
                                          const_cast<std::uint8_t*>(data), static_cast<LONG>(count), AVIIF_KEYFRAME,
                                          nullptr, nullptr);
    if (FAILED(result)) return fail(error);
    samples += count;
    return true;
}

bool AviFile::finish(std::wstring& error) {
    if (file == nullptr) return fail(error);
    const bool hadSound = sound != nullptr;
    if (video != nullptr) AVIStreamRelease(video);
    if (sound != nullptr) AVIStreamRelease(sound);
    video = sound = nullptr;
    // The last reference writes the headers and the index.
    const ULONG left = AVIFileRelease(file);
    file = nullptr;
    if (left != 0) return fail(error);
    return !hadSound || repairSoundLength(error);
}

void AviFile::abandon() { release(); }

bool AviFile::repairSoundLength(std::wstring& error) const {
    HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return fail(error);
    std::vector<std::uint8_t> head(kHeaderReadBytes);
    DWORD got = 0;
    bool done = ReadFile(handle, head.data(), static_cast<DWORD>(head.size()), &got, nullptr) != FALSE;
    head.resize(got);
    const std::size_t offset = done ? soundLengthOffset(head) : 0;
    if (offset == 0) {
        done = false;
    } else if (readLittleEndian32(head.data() + offset) != samples) {
        std::uint8_t length[4];
        writeLittleEndian32(length, static_cast<std::uint32_t>(samples));
        DWORD written = 0;
        done = SetFilePointer(handle, static_cast<LONG>(offset), nullptr, FILE_BEGIN) == offset &&
               WriteFile(handle, length, sizeof length, &written, nullptr) && written == sizeof length;
    }
    done = CloseHandle(handle) && done;
    return done || fail(error);
}
