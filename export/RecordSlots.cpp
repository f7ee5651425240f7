#include "export/RecordSlots.h"

#include "archive/ByteOrder.h"
#include "archive/FileSystem.h"
#include "export/AviRecordWriter.h"
#include "export/FrameOverlay.h"
#include "export/JpegEncoder.h"
#include "playback/decode/ImageDecoder.h"

#include <new>

namespace {

// The archive writes its WAV files with the canonical 44-byte header.
constexpr std::size_t kWavHeaderSize = 44;
constexpr std::size_t kWavDataSizeOffset = 40;

}  // namespace

SlotPicture readSlotPicture(VideoArchive& archive, int slot) {
    SlotPicture picture;
    std::vector<std::uint8_t> jpeg = archive.restoreFrameJpeg(slot);
    if (jpeg.empty()) return picture;
    try {
        picture.image = decodeJpeg(jpeg.data(), jpeg.size());
    } catch (const std::bad_alloc&) {
        // A header may claim a picture too large to hold: that frame is not a good one.
        return picture;
    }
    if (picture.image) picture.jpeg = std::move(jpeg);
    return picture;
}

std::vector<std::uint8_t> readRecordSound(const VideoArchive& archive) {
    const std::wstring& path = archive.soundFileName();
    if (path.empty()) return {};
    FileSystem& files = FileSystem::current();
    const std::int64_t fileSize = files.fileSize(path);
    std::unique_ptr<File> file = files.open(path, FileMode::ReadBinary);
    std::uint8_t header[kWavHeaderSize];
    if (!file || fileSize < static_cast<std::int64_t>(kWavHeaderSize) || file->read(header, sizeof header) != sizeof header)
        return {};
    // The file's own length bounds what its header claims.
    const std::size_t available = static_cast<std::size_t>(fileSize) - kWavHeaderSize;
    const std::size_t size = std::min<std::size_t>(readLittleEndian32(header + kWavDataSizeOffset), available);
    std::vector<std::uint8_t> samples(size);
    samples.resize(file->read(samples.data(), samples.size()));
    return samples;
}

bool feedRecord(VideoArchive& archive, FrameOverlay* overlay, const std::vector<AviRecordWriter*>& writers,
                const SlotVisitor& visit, std::wstring& error) {
    const int slots = archive.slotCount();
    if (!writers.empty()) {
        const std::vector<std::uint8_t> sound = readRecordSound(archive);
        for (AviRecordWriter* writer : writers) {
            if (!writer->beginRecord(slots, sound, error)) return false;
        }
    }
    for (int slot = 0; slot < slots; ++slot) {
        const SlotPicture picture = readSlotPicture(archive, slot);
        if (visit && !visit(slot, picture, error)) return false;
        if (writers.empty()) continue;
        std::vector<std::uint8_t> overlaid;
        if (picture.good() && overlay != nullptr) {
            std::unique_ptr<Image> copy = picture.image->clone();
            if (overlay->draw(*copy, archive.frameAt(slot)))
                overlaid = JpegEncoder::encodeLike(*copy, picture.jpeg.data(), picture.jpeg.size());
        }
        const std::vector<std::uint8_t>& frame = overlaid.empty() ? picture.jpeg : overlaid;
        const int width = picture.good() ? picture.image->width() : 0;
        const int height = picture.good() ? picture.image->height() : 0;
        for (AviRecordWriter* writer : writers) {
            if (!writer->addSlot(frame, width, height, error)) return false;
        }
    }
    for (AviRecordWriter* writer : writers) {
        if (!writer->endRecord(error)) return false;
    }
    return true;
}
