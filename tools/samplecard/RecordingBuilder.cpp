#include "tools/samplecard/RecordingBuilder.h"

#include "archive/FrameTag.h"
#include "tools/samplecard/CalendarTime.h"
#include "tools/samplecard/EngineSound.h"
#include "tools/samplecard/RoadScene.h"
#include "tools/writer/FrameJpegEncoder.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

constexpr std::uint32_t kSoundChunkMilliseconds = 500;
constexpr double kRawGPerStep = 0.01468;  // the sensor's raw unit
constexpr int kRawGZero = 512;

double vibration(double at, double speedKmh, double salt) {
    const double amplitude = 0.004 + speedKmh * 0.00025;
    return amplitude * (std::sin(at * 37.0 + salt) + 0.6 * std::sin(at * 91.0 + 2.0 * salt));
}

std::uint16_t rawG(double g) {
    return static_cast<std::uint16_t>(std::lround(kRawGZero + g / kRawGPerStep));
}

// Milliseconds of slot i from the first slot. Rounding up keeps every frame inside its own
// slot of the grid (a frame rounded down would land in the slot before and be dropped).
std::uint32_t slotOffsetMs(int slot, int slotsPerSecond) {
    return static_cast<std::uint32_t>((static_cast<long long>(slot) * 1000 + slotsPerSecond - 1) / slotsPerSecond);
}

}  // namespace

double RecordingBuilder::sensorLongitudinal(const DriveProfile& drive, double at) {
    const DriveSample motion = drive.at(at);
    // The sensor reads braking as positive G along the car's axis.
    return -motion.acceleration / DriveProfile::kGravity + vibration(at, motion.speedKmh, 0.0);
}

double RecordingBuilder::sensorLateral(const DriveProfile& drive, double at) {
    const DriveSample motion = drive.at(at);
    return motion.lateralG + vibration(at, motion.speedKmh, 1.7);
}

std::vector<std::uint8_t> RecordingBuilder::framePayload(const RgbPicture& picture) {
    std::vector<std::uint8_t> payload = FrameJpegEncoder::encode(picture, kJpegQuality);
    const FirmwareCode code;
    payload[0] = code.high;
    payload[1] = code.low;
    std::memcpy(&payload[FrameTag::kSignatureOffset], FrameTag::kSignature, FrameTag::kSignatureSize);
    return payload;
}

bool RecordingBuilder::write(const DriveProfile& drive, const RecordingPlan& plan, const std::wstring& path) {
    const int slots = static_cast<int>(std::lround(plan.seconds * plan.slotsPerSecond));
    auto driveSecondsOf = [&](int slot) { return plan.from + static_cast<double>(slot) / plan.slotsPerSecond; };
    auto calendarAt = [&](double driveSeconds) {
        return CalendarTime::addSeconds(plan.driveStart, static_cast<long long>(std::floor(driveSeconds)));
    };
    // The recorder takes the speed from the car once a second and writes it with every frame.
    auto recordedSpeed = [&](double driveSeconds) {
        return static_cast<int>(std::lround(drive.at(std::floor(driveSeconds)).speedKmh));
    };
    auto frameFields = [&](int slot) {
        const double at = driveSecondsOf(slot);
        FrameFields fields;
        fields.timeStamp = plan.clockBase + slotOffsetMs(slot, plan.slotsPerSecond);
        fields.dateTime = calendarAt(at);
        fields.gFirst = sensorLateral(drive, at);
        fields.gSecond = sensorLongitudinal(drive, at);
        fields.speed = recordedSpeed(at);
        fields.serialFirst = static_cast<std::uint8_t>(slot & 0xFF);
        fields.serialSecond = slot % 10000;
        return fields;
    };
    auto picture = [&](int slot) {
        const double at = driveSecondsOf(slot);
        const DriveSample motion = drive.at(at);
        SceneOverlay overlay;
        overlay.dateTime = CalendarTime::format(calendarAt(at));
        char detail[96];
        std::snprintf(detail, sizeof detail, "%s T+%06.2fS %3dKM/H #%04d", plan.frameTitle.c_str(),
                      at - plan.from, static_cast<int>(std::lround(motion.speedKmh)), slot);
        overlay.detail = detail;
        if (plan.eventAt >= 0 && at >= plan.eventAt && at < plan.eventAt + 4.0) overlay.banner = plan.label;
        return RoadScene::render(motion, overlay);
    };

    const int eventSlot = plan.eventAt >= 0
                              ? static_cast<int>(std::lround((plan.eventAt - plan.from) * plan.slotsPerSecond))
                              : -1;
    RecordHeaderFields header;
    header.kindCode = plan.kindCode;
    header.protect = plan.protect;
    if (eventSlot >= 0) {
        const double at = driveSecondsOf(eventSlot);
        header.dateTime = calendarAt(at);
        // The detection comes a few milliseconds after the frame that shows it.
        header.eventTimeStamp = plan.clockBase + slotOffsetMs(eventSlot, plan.slotsPerSecond) + 5;
        header.eventGFirstRaw = rawG(sensorLateral(drive, at));
        header.eventGSecondRaw = rawG(sensorLongitudinal(drive, at));
        header.eventSpeed = recordedSpeed(at);
    } else {
        header.dateTime = calendarAt(plan.from);
        header.eventSpeed = recordedSpeed(plan.from);
    }

    std::vector<double> chimes;
    if (plan.eventAt >= 0) chimes.push_back(plan.eventAt);
    const std::vector<std::uint8_t> sound = EngineSound::render(drive, plan.from, plan.seconds, chimes);

    RecorderWriter file;
    file.header(header);
    // The recorder opens every file with a lead frame that players skip.
    FrameFields lead = frameFields(0);
    lead.timeStamp = plan.clockBase - 40;
    file.videoChunkWithPayload(lead, framePayload(picture(0)));

    int slot = 0;
    const std::uint32_t soundChunks = static_cast<std::uint32_t>(plan.seconds * 1000) / kSoundChunkMilliseconds;
    for (std::uint32_t chunk = 0; chunk < soundChunks; ++chunk) {
        const std::uint32_t startMs = chunk * kSoundChunkMilliseconds;
        const std::uint32_t endMs = startMs + kSoundChunkMilliseconds;
        const std::size_t first = static_cast<std::size_t>(startMs) * EngineSound::kSampleRate / 1000;
        const std::size_t last = std::min<std::size_t>(sound.size(), static_cast<std::size_t>(endMs) *
                                                                         EngineSound::kSampleRate / 1000);
        file.soundChunk(plan.clockBase + startMs,
                        std::vector<std::uint8_t>(sound.begin() + first, sound.begin() + last));
        for (; slot < slots && slotOffsetMs(slot, plan.slotsPerSecond) < endMs; ++slot) {
            file.videoChunkWithPayload(frameFields(slot), framePayload(picture(slot)));
        }
    }
    for (; slot < slots; ++slot) file.videoChunkWithPayload(frameFields(slot), framePayload(picture(slot)));
    return file.save(path);
}
