#pragma once
// Writes one stretch of a drive as the recorder does: an event file or one continuous
// chapter, with a frame per slot of the grid, a sound chunk every half second and the
// recorder's telemetry in every chunk header.
#include "tools/samplecard/DriveProfile.h"
#include "tools/writer/RecorderWriter.h"

#include <string>
#include <vector>

struct RecordingPlan {
    std::uint8_t kindCode = 0x10;   // 0x10 auto, 0x20 manual, 0x19 continuous
    RecorderDateTime driveStart;    // calendar time at drive second 0
    double from = 0.0;              // drive seconds at the first slot
    double seconds = 30.0;
    int slotsPerSecond = 30;
    double eventAt = -1.0;          // drive seconds of the event; negative for none
    bool protect = false;
    std::uint32_t clockBase = 0;    // the recorder's running clock (ms) at the first slot
    std::string label;              // shown on the frames, e.g. "AUTO EVENT"
    std::string frameTitle;         // e.g. "EVT00001"
};

class RecordingBuilder {
public:
    static constexpr int kJpegQuality = 55;

    // False when the file cannot be written.
    static bool write(const DriveProfile& drive, const RecordingPlan& plan, const std::wstring& path);

    // The recorder's G reading at a moment: the car's motion plus a little road vibration.
    static double sensorLongitudinal(const DriveProfile& drive, double at);
    static double sensorLateral(const DriveProfile& drive, double at);
    // The frame payload: the recorder's JPEG with the frame tag in place of its first 16 bytes.
    static std::vector<std::uint8_t> framePayload(const RgbPicture& picture);
};
