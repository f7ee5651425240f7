#include "export/AviRecordWriter.h"

#include "export/JpegEncoder.h"
#include "playback/decode/Image.h"

#include <algorithm>
#include <cstring>

namespace {

// Only for records that never show a picture, so any sensible size and quality do.
constexpr int kBlackWidth = 640;
constexpr int kBlackHeight = 480;
constexpr int kBlackQuality = 75;

}  // namespace

AviRecordWriter::AviRecordWriter(int framesPerSecond, bool withSound)
    : rate(framesPerSecond > 0 ? framesPerSecond : 1), withSound(withSound) {}

std::uint64_t AviRecordWriter::samplesBefore(std::uint64_t frame) const {
    return frame * AviFile::kSoundSamplesPerSecond / static_cast<std::uint64_t>(rate);
}

bool AviRecordWriter::beginRecord(int slotCount, std::vector<std::uint8_t> sound, std::wstring& error) {
    if (inRecord && !endRecord(error)) return false;
    recordStart = written;
    recordSlots = slotCount > 0 ? static_cast<std::uint64_t>(slotCount) : 0;
    slotsAdded = 0;
    recordSound = std::move(sound);
    inRecord = true;
    return true;
}

bool AviRecordWriter::addSlot(const std::vector<std::uint8_t>& jpeg, int width, int height, std::wstring& error) {
    if (!inRecord || slotsAdded >= recordSlots) return true;
    ++slotsAdded;
    if (jpeg.empty()) {
        if (previous.empty()) {
            ++waiting;
            return true;
        }
        return writeFrame(previous, error);
    }
    if (!file && !openFile(width, height, error)) return false;
    for (; waiting > 0; --waiting) {
        if (!writeFrame(jpeg, error)) return false;
    }
    return writeFrame(jpeg, error);
}

bool AviRecordWriter::endRecord(std::wstring& error) {
    if (!inRecord) return true;
    while (slotsAdded < recordSlots) {
        if (!addSlot({}, 0, 0, error)) return false;
    }
    if (waiting > 0) {
        const int width = file ? pictureWidth : kBlackWidth;
        const int height = file ? pictureHeight : kBlackHeight;
        const std::vector<std::uint8_t> black = JpegEncoder::encode(Image(width, height), kBlackQuality);
        if (!file && !openFile(width, height, error)) return false;
        for (; waiting > 0; --waiting) {
            if (!writeFrame(black, error)) return false;
        }
    }
    inRecord = false;
    recordSound.clear();
    recordSound.shrink_to_fit();
    return true;
}

bool AviRecordWriter::finish(std::wstring& error) {
    if (!endRecord(error)) return false;
    if (!file && !openFile(kBlackWidth, kBlackHeight, error)) return false;
    return file->finish(error);
}

void AviRecordWriter::abandon() {
    if (file) file->abandon();
}

bool AviRecordWriter::openFile(int width, int height, std::wstring& error) {
    pictureWidth = width;
    pictureHeight = height;
    file = std::make_unique<AviFile>();
    return file->create(target, AviVideoFormat{rate, width, height}, withSound, error);
}

bool AviRecordWriter::writeFrame(const std::vector<std::uint8_t>& jpeg, std::wstring& error) {
    if (withSound && (written - recordStart) % static_cast<std::uint64_t>(rate) == 0 && !writeSoundOfSecond(error))
        return false;
    if (!file->writeFrame(jpeg.data(), jpeg.size(), error)) return false;
    ++written;
    if (&jpeg != &previous) previous = jpeg;
    return true;
}

bool AviRecordWriter::writeSoundOfSecond(std::wstring& error) {
    const std::uint64_t end = std::min(written + static_cast<std::uint64_t>(rate), recordStart + recordSlots);
    const std::uint64_t from = samplesBefore(written) - samplesBefore(recordStart);
    const std::size_t count = static_cast<std::size_t>(samplesBefore(end) - samplesBefore(written));
    std::vector<std::uint8_t> chunk(count, kSilence);
    if (from < recordSound.size()) {
        const std::size_t available = std::min<std::size_t>(count, recordSound.size() - static_cast<std::size_t>(from));
        std::memcpy(chunk.data(), recordSound.data() + from, available);
    }
    return file->writeSound(chunk.data(), chunk.size(), error);
}
