#pragma once
// What the recorder's microphone hears: the engine's firing note rising through the gears
// with the speed and growing under load, road and wind noise, and the recorder's two-tone
// chime at each event. 8-bit unsigned mono at 11025 samples per second, 0x80 silence.
#include "tools/samplecard/DriveProfile.h"

#include <cstdint>
#include <vector>

class EngineSound {
public:
    static constexpr int kSampleRate = 11025;

    // The samples of the drive from `from` for `seconds`; chime times are drive seconds.
    static std::vector<std::uint8_t> render(const DriveProfile& drive, double from, double seconds,
                                            const std::vector<double>& chimes);
};
