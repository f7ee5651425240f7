#pragma once
// One AVI file of one or more records played one after another (an event record, or the
// chapters of a continuous folder): one video frame per slot at the records' frame rate and
// their sound laid under the same timeline, so that the picture and the sound stay in step
// however long the file runs.
//
// A slot without a good frame shows the frame before it; slots before the first good frame
// show that frame, and a record without any good frame before which nothing was shown
// shows black. Each record's sound is cut or padded with silence to the length of its
// slots. The sound of each second is written just before its frames.
#include "export/AviFile.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class AviRecordWriter {
public:
    static constexpr std::uint8_t kSilence = 0x80;

    AviRecordWriter(int framesPerSecond, bool withSound);
    AviRecordWriter(const AviRecordWriter&) = delete;
    AviRecordWriter& operator=(const AviRecordWriter&) = delete;

    // The file is made at path when its first frame is known (its size sets the stream's).
    void create(const std::wstring& path) { target = path; }
    // The next record: slotCount slots, sound (8-bit mono at 11025 samples a second, its
    // first sample at the first slot).
    bool beginRecord(int slotCount, std::vector<std::uint8_t> sound, std::wstring& error);
    // The picture of the next slot of the record: a complete JPEG stream of a frame that
    // decodes, width x height pixels, or empty when the slot has none.
    bool addSlot(const std::vector<std::uint8_t>& jpeg, int width, int height, std::wstring& error);
    // Ends the record; slots it did not get count as slots without a frame.
    bool endRecord(std::wstring& error);
    // Ends the last record, writes the index and closes the file.
    bool finish(std::wstring& error);
    // Closes without finishing; the caller removes the file.
    void abandon();

    std::uint64_t framesWritten() const { return written; }
    int framesPerSecond() const { return rate; }
    // Sound samples from the start of the file to the start of frame.
    std::uint64_t samplesBefore(std::uint64_t frame) const;

private:
    bool writeFrame(const std::vector<std::uint8_t>& jpeg, std::wstring& error);
    bool writeSoundOfSecond(std::wstring& error);
    bool openFile(int width, int height, std::wstring& error);

    int rate;
    bool withSound;
    std::wstring target;
    std::unique_ptr<AviFile> file;
    int pictureWidth = 0;
    int pictureHeight = 0;

    std::uint64_t written = 0;        // frames written to the file
    std::uint64_t recordStart = 0;    // frame at which the current record starts
    std::uint64_t recordSlots = 0;
    std::uint64_t slotsAdded = 0;     // slots of the current record handed in
    std::uint64_t waiting = 0;        // slots before the first good frame, nothing before them
    bool inRecord = false;
    std::vector<std::uint8_t> recordSound;
    std::vector<std::uint8_t> previous;  // the last frame written
};
