#pragma once
// Reader of the recorder's data container: event files ("Video.dvt"), continuous chapter
// files ("Video????.dmv") and image files ("*.dpc"). It turns one file (or a folder of
// images) into a table of up to 900 frame records on a fixed time grid, restores and decodes
// the JPEG of any slot on request, and while it opens an event or chapter file writes the
// file's sound into a temporary WAV file.
//
// No locking of its own: the owner serialises every call. Failures of the opens throw
// VideoArchiveException (a few image-file paths throw a plain Exception, see below).
#include "archive/ChapterRow.h"
#include "archive/ChapterTimeTable.h"
#include "archive/FileSystem.h"
#include "archive/FirmwareCode.h"
#include "archive/FrameRecord.h"
#include "archive/RecordInformation.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Image;

class VideoArchive {
public:
    static constexpr int kSlotCapacity = 900;
    static constexpr int kImageFolderCapacity = 600;
    static constexpr double kEventSlotMilliseconds = 1000.0 / 30.0;
    static constexpr double kChapterSlotMilliseconds = 100.0;
    static constexpr std::int32_t kMaxFramePayload = 1024 * 1024;

    explicit VideoArchive(FirmwareCode firmwareCode = FirmwareCode());
    virtual ~VideoArchive();
    VideoArchive(const VideoArchive&) = delete;
    VideoArchive& operator=(const VideoArchive&) = delete;

    // An event file: 30 slots per second around the event frame. Throws 5510.
    void openEventFile(const std::wstring& path);
    // One chapter of a continuous record: 10 slots per second; writes the chapter's rows
    // into the chapter time table at the chapter index. Throws 5510.
    void openChapterFile(const std::wstring& path);
    // Up to 600 "*.dpc" files of a folder, one slot each, sorted by date-time; unreadable
    // files are left out. True when a further matching name followed the 600th image.
    // Leaves no file open (see reopenImage). Throws 5510 when the folder cannot be searched.
    bool openImageFolder(const std::wstring& folder);
    // One image file into slot 0; the file stays open. Throws VideoArchiveException 5517
    // when the file cannot be opened, a plain Exception 5510 when it cannot be read.
    void openImageFile(const std::wstring& path);
    // Makes the file of an image-folder slot the open file before decoding it. Throws 5510.
    void reopenImage(int index);
    // Lets go of the open file and keeps the slots: an image folder whose pictures have all
    // been read holds no file of the card open.
    void releaseOpenFile() { openFile.reset(); }
    // The picture of a slot, or nullptr when there is none (no file open, empty slot, payload
    // missing, too small, over 1 MiB, wrong frame tag, or an undecodable JPEG).
    std::unique_ptr<Image> decodeFrame(int index);
    // The JPEG stream of a slot as the recorder's encoder made it (the frame tag replaced by
    // the JPEG prefix), read from the open file; empty under the same conditions as decodeFrame.
    std::vector<std::uint8_t> restoreFrameJpeg(int index);
    // Closes the open file, empties every slot and deletes the temporary WAV file.
    void close();

    // Slots that opening a chapter file would give; used by the continuous folder scan.
    // Touches no state of any archive. Throws 5510.
    static int countChapterSlots(const std::wstring& path);

    // The chapter whose rows the next open chapter file writes (0 to 59).
    void setChapterIndex(int chapter);
    int chapterIndex() const { return currentChapter; }
    // All rows zero, chapter index 0 (the stopwatch's reset).
    void clearChapterTimeTable();
    // A row whose time stamp is 0 is no row; outside the table a zero row.
    ChapterRow chapterRow(int chapter, int row) const;

    // The open record, read by VideoInfo07, the player and the panels.
    const RecordInformation& recordInformation() const { return information; }
    int eventIndex() const { return eventSlot; }
    bool isProtected() const { return protectFlag; }
    int slotCount() const { return usedSlots; }
    // The record of a slot; nullptr when index is outside 0 .. slotCount() - 1 or the slot is empty.
    const FrameRecord* frameAt(int index) const;
    std::int64_t firstTime() const { return firstDateTime; }
    std::int64_t lastTime() const { return lastDateTime; }
    std::int64_t recordTime() const { return recordDateTime; }
    // Path of the temporary WAV file of the open record; empty when there is none.
    const std::wstring& soundFileName() const { return soundFile; }
    bool hasOpenFile() const { return openFile != nullptr; }
    FirmwareCode firmwareCode() const { return firmware; }

private:
    enum class ContainerKind { Event, Chapter };

    void openContainer(const std::wstring& path, ContainerKind kind);
    void readContainer(ContainerKind kind);
    void readImageInto(File& file, const std::wstring& path, int slot);
    void placeOnGrid(const std::vector<FrameRecord>& videos, double slotMilliseconds);
    void chooseEventFrame();
    void alignPreRoll();
    void fillGaps();
    void rampSpeeds();
    void findFirstAndLastTime();
    void checkEvent();
    void writeTimeRows();
    void sortSlotsByDateTime();

    FirmwareCode firmware;
    RecordInformation information;
    int eventSlot = -1;
    bool protectFlag = false;
    std::unique_ptr<File> openFile;
    int usedSlots = 0;
    std::wstring soundFile;
    std::int64_t firstDateTime = 0;
    std::int64_t lastDateTime = 0;
    std::uint32_t firstTimeStamp = 0;
    std::uint32_t lastTimeStamp = 0;
    std::int64_t recordDateTime = 0;
    std::array<std::unique_ptr<FrameRecord>, kSlotCapacity> slots;
    int currentChapter = 0;
    ChapterTimeTable chapterTable;
};
