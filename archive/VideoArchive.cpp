#include "archive/VideoArchive.h"

#include "archive/ChunkScan.h"
#include "archive/FrameTag.h"
#include "archive/NameCheck.h"
#include "archive/RecordKind.h"
#include "archive/RecorderFields.h"
#include "archive/SoundExtractor.h"
#include "archive/SoundWarning.h"
#include "base/Exception.h"
#include "base/StringTable.h"
#include "playback/decode/ImageDecoder.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

constexpr unsigned kDataUnreadable = 5510;
constexpr unsigned kImageMissing = 5517;
const wchar_t kImagePattern[] = L"*.dpc";

// The recorder keeps twelve seconds of pre-roll before the event frame of an event file;
// an event found up to three slots early is moved onto that grid position.
constexpr int kEventSlot = 360;
constexpr int kEarliestAlignedEvent = 357;

[[noreturn]] void throwArchive(unsigned id) { throw VideoArchiveException(loadString(id)); }

std::unique_ptr<File> openForReading(const std::wstring& path) {
    if (!pathFits(path)) return nullptr;
    return FileSystem::current().open(path, FileMode::ReadBinary);
}

// Reads the record header and the skip block, and moves to the first chunk.
RecordInformation readRecordHeader(File& file) {
    std::uint8_t header[RecorderFields::kRecordHeaderSize];
    if (file.read(header, sizeof header) != sizeof header) throwArchive(kDataUnreadable);
    std::uint8_t skipBlock[RecorderFields::kSkipBlockSize];
    if (file.read(skipBlock, sizeof skipBlock) != sizeof skipBlock) throwArchive(kDataUnreadable);
    constexpr std::int64_t kSkipUnit = 8;
    file.seek(skipBlock[0] * kSkipUnit, SEEK_CUR);
    return RecorderFields::fromRecordHeader(header);
}

std::int64_t gridSlot(std::uint32_t timeStamp, std::uint32_t base, double slotMilliseconds) {
    return static_cast<std::int64_t>(static_cast<double>(timeStamp - base) / slotMilliseconds);
}

std::uint32_t smallestTimeStamp(const std::vector<FrameRecord>& records) {
    std::uint32_t base = records.front().timeStamp;
    for (const FrameRecord& record : records) base = std::min(base, record.timeStamp);
    return base;
}

}  // namespace

VideoArchive::VideoArchive(FirmwareCode firmwareCode) : firmware(firmwareCode) {}

VideoArchive::~VideoArchive() { close(); }

void VideoArchive::openEventFile(const std::wstring& path) { openContainer(path, ContainerKind::Event); }

void VideoArchive::openChapterFile(const std::wstring& path) { openContainer(path, ContainerKind::Chapter); }

void VideoArchive::openContainer(const std::wstring& path, ContainerKind kind) {
    close();
    openFile = openForReading(path);
    if (!openFile) throwArchive(kDataUnreadable);
    try {
        readContainer(kind);
    } catch (...) {
        // The owner treats a failed open as closed; the temporary sound file goes with it.
        close();
        throw;
    }
}

void VideoArchive::readContainer(ContainerKind kind) {
    std::unique_ptr<File> sound = SoundExtractor::create(soundFile);
    if (!sound) SoundWarning::show();

    information = readRecordHeader(*openFile);
    ChunkScan scan(*openFile, ChunkScan::Purpose::Open, firmware, sound != nullptr);
    scan.run();
    if (sound && !SoundExtractor::write(*openFile, *sound, scan.sounds())) {
        // The temporary drive is full or failing: the record plays without sound, with the
        // same warning as when the file could not be made at all.
        sound.reset();
        FileSystem::current().remove(soundFile);
        soundFile.clear();
        SoundWarning::show();
    }

    bool event = kind == ContainerKind::Event;
    placeOnGrid(scan.videos(), event ? kEventSlotMilliseconds : kChapterSlotMilliseconds);
    if (event) {
        chooseEventFrame();
        alignPreRoll();
    }
    fillGaps();
    rampSpeeds();
    findFirstAndLastTime();
    recordDateTime = information.dateTime;
    if (event) checkEvent();
    protectFlag = information.protectMark != 0 || scan.protectSeen();
    if (!event) writeTimeRows();
}

void VideoArchive::placeOnGrid(const std::vector<FrameRecord>& videos, double slotMilliseconds) {
    if (videos.empty()) return;
    const std::uint32_t base = smallestTimeStamp(videos);
    for (const FrameRecord& record : videos) {
        std::int64_t slot = gridSlot(record.timeStamp, base, slotMilliseconds);
        if (slot < 0 || slot >= kSlotCapacity) continue;
        // The first chunk in file order keeps its slot.
        if (!slots[slot]) slots[slot] = std::make_unique<FrameRecord>(record);
        usedSlots = std::max(usedSlots, static_cast<int>(slot) + 1);
    }
}

void VideoArchive::chooseEventFrame() {
    int kind = information.recordKind;
    if (kind != RecordKind::AutoEvent && kind != RecordKind::ManualEvent) return;
    std::int64_t nearest = -1;
    for (int i = 0; i < usedSlots; ++i) {
        if (!slots[i]) continue;
        std::int64_t distance = std::llabs(static_cast<std::int64_t>(slots[i]->timeStamp) -
                                           static_cast<std::int64_t>(information.eventTimeStamp));
        if (nearest < 0 || distance < nearest) {
            nearest = distance;
            eventSlot = i;
        }
    }
    if (eventSlot >= 0) slots[eventSlot]->eventMark = kind;
}

void VideoArchive::alignPreRoll() {
    if (eventSlot < kEarliestAlignedEvent || eventSlot >= kEventSlot) return;
    int shift = kEventSlot - eventSlot;
    if (usedSlots + shift >= kSlotCapacity) return;
    std::move_backward(slots.begin(), slots.begin() + usedSlots, slots.begin() + usedSlots + shift);
    usedSlots += shift;
    eventSlot += shift;
}

void VideoArchive::fillGaps() {
    int lastOccupied = -1;
    for (int i = 0; i < usedSlots; ++i) {
        if (slots[i]) {
            lastOccupied = i;
        } else if (lastOccupied >= 0) {
            slots[i] = std::make_unique<FrameRecord>(slots[lastOccupied]->gapCopy());
        }
    }
    for (int i = usedSlots - 1; i >= 0; --i) {
        if (!slots[i] && i + 1 < usedSlots && slots[i + 1]) {
            slots[i] = std::make_unique<FrameRecord>(slots[i + 1]->gapCopy());
        }
    }
}

void VideoArchive::rampSpeeds() {
    // The recorder updates the speed less often than it records frames: runs of equal
    // speed become linear ramps towards the next value.
    if (usedSlots == 0 || !slots[0]) return;
    int runSpeed = slots[0]->speed;
    int runStart = 0;
    for (int j = 1; j < usedSlots; ++j) {
        if (!slots[j]) continue;
        int next = slots[j]->speed;
        if (next == runSpeed) continue;
        int length = j - runStart;
        for (int k = 0; k < length; ++k) {
            if (!slots[runStart + k]) continue;
            double ramped = runSpeed + static_cast<double>(k) * (next - runSpeed) / length;
            slots[runStart + k]->speed = static_cast<int>(ramped);
        }
        runSpeed = next;
        runStart = j;
    }
}

void VideoArchive::findFirstAndLastTime() {
    firstDateTime = lastDateTime = 0;
    firstTimeStamp = lastTimeStamp = 0;
    for (int i = 0; i < usedSlots; ++i) {
        if (slots[i] && slots[i]->dateTime != 0) {
            firstDateTime = slots[i]->dateTime;
            firstTimeStamp = slots[i]->timeStamp;
            break;
        }
    }
    for (int i = usedSlots - 1; i >= 0; --i) {
        if (slots[i] && slots[i]->dateTime != 0) {
            lastDateTime = slots[i]->dateTime;
            lastTimeStamp = slots[i]->timeStamp;
            break;
        }
    }
}

void VideoArchive::checkEvent() {
    if (eventSlot < 0) return;
    auto within = [this](std::int64_t time) { return time != 0 && time >= firstDateTime && time <= lastDateTime; };
    std::uint32_t stamp = information.eventTimeStamp;
    bool confirmed = within(slots[eventSlot]->dateTime) && within(recordDateTime) && stamp != 0 &&
                     stamp >= firstTimeStamp && stamp <= lastTimeStamp;
    if (!confirmed) {
        information.recordKind = RecordKind::NoDetection;
        eventSlot = -1;
    }
}

void VideoArchive::writeTimeRows() {
    std::vector<ChapterRow> rows;
    for (int i = 0; i < usedSlots; ++i) {
        if (!slots[i]) continue;
        ChapterRow row;
        row.timeStamp = static_cast<std::int32_t>(slots[i]->timeStamp);
        row.slotIndex = i;
        row.speed = slots[i]->speed;
        rows.push_back(row);
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [](const ChapterRow& a, const ChapterRow& b) { return a.timeStamp < b.timeStamp; });
    chapterTable.writeRows(currentChapter, rows);
}

bool VideoArchive::openImageFolder(const std::wstring& folder) {
    close();
    if (!pathFits(joinPath(folder, kImagePattern))) throwArchive(kDataUnreadable);
    std::vector<DirectoryEntry> entries = FileSystem::current().list(folder, kImagePattern);
    // The system's search fails to start on a folder without any match as well.
    if (entries.empty()) throwArchive(kDataUnreadable);

    bool truncated = false;
    int taken = 0;
    for (const DirectoryEntry& entry : entries) {
        if (!nameMatchesPattern(kImagePattern, entry.name)) continue;
        if (taken == kImageFolderCapacity) {
            truncated = true;
            break;
        }
        std::wstring path = joinPath(folder, entry.name);
        std::unique_ptr<File> file = openForReading(path);
        if (!file) continue;
        try {
            readImageInto(*file, path, taken);
            ++taken;
        } catch (const Exception&) {
            // A file that cannot be read is left out of the list.
        }
    }
    usedSlots = taken;
    sortSlotsByDateTime();
    return truncated;
}

void VideoArchive::sortSlotsByDateTime() {
    std::stable_sort(slots.begin(), slots.begin() + usedSlots,
                     [](const std::unique_ptr<FrameRecord>& a, const std::unique_ptr<FrameRecord>& b) {
                         return a->dateTime < b->dateTime;
                     });
}

void VideoArchive::readImageInto(File& file, const std::wstring& path, int slot) {
    std::uint8_t header[RecorderFields::kChunkHeaderSize];
    std::uint8_t lookAhead[FrameTag::kSize];
    if (file.read(header, sizeof header) != sizeof header || file.read(lookAhead, sizeof lookAhead) != sizeof lookAhead) {
        throw Exception(loadString(kDataUnreadable));
    }
    file.seek(RecorderFields::kChunkHeaderSize, SEEK_SET);
    auto record = std::make_unique<FrameRecord>(RecorderFields::fromChunkHeader(header));
    record->soundByteCount = 0;
    record->payloadOffset = RecorderFields::kChunkHeaderSize;
    record->sourcePath = path;
    information = RecorderFields::imageInformation(header);
    protectFlag = information.protectMark != 0;
    slots[slot] = std::move(record);
}

void VideoArchive::openImageFile(const std::wstring& path) {
    close();
    openFile = openForReading(path);
    if (!openFile) throwArchive(kImageMissing);
    try {
        readImageInto(*openFile, path, 0);
    } catch (const Exception& failure) {
        openFile.reset();
        throw Exception(failure.message());
    }
    usedSlots = 1;
}

void VideoArchive::reopenImage(int index) {
    openFile.reset();
    if (index < 0 || index >= usedSlots || !slots[index]) throwArchive(kDataUnreadable);
    openFile = openForReading(slots[index]->sourcePath);
    if (!openFile) throwArchive(kDataUnreadable);
}

std::vector<std::uint8_t> VideoArchive::restoreFrameJpeg(int index) {
    const FrameRecord* record = frameAt(index);
    if (!openFile || !record) return {};
    if (record->payloadSize <= static_cast<std::int32_t>(FrameTag::kSize) || record->payloadSize > kMaxFramePayload) {
        return {};
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(record->payloadSize));
    if (!openFile->seek(record->payloadOffset, SEEK_SET)) return {};
    if (openFile->read(bytes.data(), bytes.size()) != bytes.size()) return {};
    if (!FrameTag::matches(bytes.data(), firmware)) return {};
    std::memcpy(bytes.data(), FrameTag::kJpegPrefix, FrameTag::kSize);
    return bytes;
}

std::unique_ptr<Image> VideoArchive::decodeFrame(int index) {
    std::vector<std::uint8_t> jpeg = restoreFrameJpeg(index);
    if (jpeg.empty()) return nullptr;
    return decodeJpeg(jpeg.data(), jpeg.size());
}

void VideoArchive::close() {
    openFile.reset();
    for (auto& slot : slots) slot.reset();
    usedSlots = 0;
    eventSlot = -1;
    protectFlag = false;
    if (!soundFile.empty()) {
        FileSystem::current().remove(soundFile);  // already gone or still in use: nothing to do
        soundFile.clear();
    }
}

int VideoArchive::countChapterSlots(const std::wstring& path) {
    std::unique_ptr<File> file = openForReading(path);
    if (!file) throwArchive(kDataUnreadable);
    readRecordHeader(*file);
    ChunkScan scan(*file, ChunkScan::Purpose::CountSlots, FirmwareCode(), false);
    scan.run();
    const std::vector<FrameRecord>& videos = scan.videos();
    if (videos.empty()) return 0;
    const std::uint32_t base = smallestTimeStamp(videos);
    std::int64_t highest = -1;
    for (const FrameRecord& record : videos) {
        std::int64_t slot = gridSlot(record.timeStamp, base, kChapterSlotMilliseconds);
        if (slot >= 0 && slot < kSlotCapacity) highest = std::max(highest, slot);
    }
    return static_cast<int>(highest + 1);
}

void VideoArchive::setChapterIndex(int chapter) { currentChapter = chapter; }

void VideoArchive::clearChapterTimeTable() {
    chapterTable.clear();
    currentChapter = 0;
}

ChapterRow VideoArchive::chapterRow(int chapter, int row) const { return chapterTable.row(chapter, row); }

const FrameRecord* VideoArchive::frameAt(int index) const {
    if (index < 0 || index >= usedSlots) return nullptr;
    return slots[index].get();
}
