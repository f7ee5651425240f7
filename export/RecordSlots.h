#pragma once
// Reading an open record slot by slot for export, the same way for every output: the
// restored JPEG of each slot whose frame decodes, and the record's sound.
#include "archive/VideoArchive.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class AviRecordWriter;
class FrameOverlay;

struct SlotPicture {
    std::vector<std::uint8_t> jpeg;      // as the recorder's encoder made it; empty when no good frame
    std::vector<std::uint8_t> overlaid;  // with its telemetry burned in, when asked for and drawn
    int width = 0;
    int height = 0;
    bool good() const { return !jpeg.empty(); }
    // What the video shows in the slot.
    const std::vector<std::uint8_t>& videoFrame() const { return overlaid.empty() ? jpeg : overlaid; }
};

// The slot's frame, when its JPEG is there and decodes (as the player decides what to show);
// with overlay (when not null), also its picture with the telemetry burned in, re-encoded
// with the recorder's own quantisation.
SlotPicture readSlotPicture(VideoArchive& archive, int slot, FrameOverlay* overlay);

// The samples of the open record's temporary WAV file; empty when there is none.
std::vector<std::uint8_t> readRecordSound(const VideoArchive& archive);
// The samples of that file's bytes, for a caller that has read them already.
std::vector<std::uint8_t> soundSamplesOf(const std::vector<std::uint8_t>& wav);

// Called for each slot in order before the writers get it; false stops the feed (error
// set, or left empty for a cancel).
using SlotVisitor = std::function<bool(int slot, const SlotPicture& picture, std::wstring& error)>;

// Reads every slot of the open record once and hands it to visit and, as the next record,
// to each writer: the recorder's JPEG as it is, or with overlay (when not null) the picture
// with its telemetry burned in. The slots are read on a worker thread ahead of the writers;
// the archive and overlay are not to be used elsewhere until this returns.
bool feedRecord(VideoArchive& archive, FrameOverlay* overlay, const std::vector<AviRecordWriter*>& writers,
                const SlotVisitor& visit, std::wstring& error);
// The same with the record's sound samples given.
bool feedRecord(VideoArchive& archive, const std::vector<std::uint8_t>& sound, FrameOverlay* overlay,
                const std::vector<AviRecordWriter*>& writers, const SlotVisitor& visit, std::wstring& error);
