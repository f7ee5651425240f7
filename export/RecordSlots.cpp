#include "export/RecordSlots.h"

#include "archive/ByteOrder.h"
#include "archive/FileSystem.h"
#include "export/AviRecordWriter.h"
#include "export/FrameOverlay.h"
#include "export/JpegEncoder.h"
#include "export/SlotReadAhead.h"
#include "playback/decode/ImageDecoder.h"

#include <new>

namespace {

// The archive writes its WAV files with the canonical 44-byte header.
constexpr std::size_t kWavHeaderSize = 44;
constexpr std::size_t kWavDataSizeOffset = 40;

}  // namespace

SlotPicture readSlotPicture(VideoArchive& archive, int slot, FrameOverlay* overlay) {
    SlotPicture picture;
    std::vector<std::uint8_t> jpeg = archive.restoreFrameJpeg(slot);
    if (jpeg.empty()) return picture;
    if (overlay == nullptr) {
        // The frame goes out as it is: only whether it decodes counts, not its pixels.
        if (!jpegDecodes(jpeg.data(), jpeg.size(), picture.width, picture.height)) return picture;
        picture.jpeg = std::move(jpeg);
        return picture;
    }
    std::unique_ptr<Image> image;
    try {
        image = decodeJpeg(jpeg.data(), jpeg.size());
    } catch (const std::bad_alloc&) {
        // A header may claim a picture too large to hold: that frame is not a good one.
        return picture;
    }
    if (!image) return picture;
    picture.width = image->width();
    picture.height = image->height();
    if (overlay->draw(*image, archive.frameAt(slot))) picture.overlaid = JpegEncoder::encodeLike(*image, jpeg.data(), jpeg.size());
    picture.jpeg = std::move(jpeg);
    return picture;
}

std::vector<std::uint8_t> soundSamplesOf(const std::vector<std::uint8_t>& wav) {
    if (wav.size() < kWavHeaderSize) return {};
    // The file's own length bounds what its header claims.
    const std::size_t size = std::min<std::size_t>(readLittleEndian32(wav.data() + kWavDataSizeOffset), wav.size() - kWavHeaderSize);
    return {wav.begin() + kWavHeaderSize, wav.begin() + static_cast<std::ptrdiff_t>(kWavHeaderSize + size)};
}

std::vector<std::uint8_t> readRecordSound(const VideoArchive& archive) {
    const std::wstring& path = archive.soundFileName();
    if (path.empty()) return {};
    FileSystem& files = FileSystem::current();
    const std::int64_t fileSize = files.fileSize(path);
    std::unique_ptr<File> file = files.open(path, FileMode::ReadBinary);
    if (!file || fileSize < static_cast<std::int64_t>(kWavHeaderSize)) return {};
    std::vector<std::uint8_t> wav(static_cast<std::size_t>(fileSize));
    wav.resize(file->read(wav.data(), wav.size()));
    return soundSamplesOf(wav);
}

namespace {

// Hands the slots to visit and the writers in order.
bool writeSlots(VideoArchive& archive, FrameOverlay* overlay, const std::vector<AviRecordWriter*>& writers,
                const SlotVisitor& visit, std::wstring& error) {
    // One worker: with a second one drawing or encoding apart, the pictures in flight between
    // them cost more (fresh memory for each) than the work they share.
    SlotReadAhead<SlotPicture> reader(archive.slotCount(),
                                      [&archive, overlay](int slot) { return readSlotPicture(archive, slot, overlay); });
    SlotPicture picture;
    for (int slot = 0; reader.next(picture); ++slot) {
        if (visit && !visit(slot, picture, error)) return false;
        for (AviRecordWriter* writer : writers) {
            if (!writer->addSlot(picture.videoFrame(), picture.width, picture.height, error)) return false;
        }
    }
    return true;
}

}  // namespace

bool feedRecord(VideoArchive& archive, FrameOverlay* overlay, const std::vector<AviRecordWriter*>& writers,
                const SlotVisitor& visit, std::wstring& error) {
    return feedRecord(archive, writers.empty() ? std::vector<std::uint8_t>{} : readRecordSound(archive), overlay, writers,
                      visit, error);
}

bool feedRecord(VideoArchive& archive, const std::vector<std::uint8_t>& sound, FrameOverlay* overlay,
                const std::vector<AviRecordWriter*>& writers, const SlotVisitor& visit, std::wstring& error) {
    for (AviRecordWriter* writer : writers) {
        if (!writer->beginRecord(archive.slotCount(), sound, error)) return false;
    }
    // Without writers nobody shows the burned-in picture: the check alone will do.
    if (!writeSlots(archive, writers.empty() ? nullptr : overlay, writers, visit, error)) return false;
    for (AviRecordWriter* writer : writers) {
        if (!writer->endRecord(error)) return false;
    }
    return true;
}
