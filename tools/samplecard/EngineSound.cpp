#include "tools/samplecard/EngineSound.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

// Engine speed in revolutions per minute: each gear spans a band of road speed.
double engineRpm(double speedKmh) {
    static const double kGearTops[] = {18, 34, 52, 75, 400};
    double low = 0;
    for (double top : kGearTops) {
        if (speedKmh < top || top == 400) {
            const double within = std::clamp((speedKmh - low) / (std::min(top, 110.0) - low), 0.0, 1.0);
            return 850 + within * 2100;
        }
        low = top;
    }
    return 850;
}

// A two-tone bell, as small recorders chime when they keep an event.
double chime(double sinceStart) {
    double value = 0;
    const double tones[2][2] = {{0.0, 1318.5}, {0.32, 1046.5}};  // start (s), frequency (Hz)
    for (const auto& tone : tones) {
        const double t = sinceStart - tone[0];
        if (t < 0 || t > 1.2) continue;
        const double envelope = std::exp(-t / 0.28) * std::min(1.0, t / 0.004);
        value += envelope * (std::sin(2 * kPi * tone[1] * t) + 0.35 * std::sin(2 * kPi * tone[1] * 2.76 * t));
    }
    return value;
}

}  // namespace

std::vector<std::uint8_t> EngineSound::render(const DriveProfile& drive, double from, double seconds,
                                              const std::vector<double>& chimes) {
    const std::size_t count = static_cast<std::size_t>(seconds * kSampleRate);
    std::vector<std::uint8_t> samples(count);
    double phase = 0;
    std::uint32_t noiseState = 0x2545F491u;
    double noiseLow = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const double t = from + static_cast<double>(i) / kSampleRate;
        const DriveSample motion = drive.at(t);
        // A four-cylinder engine fires twice per revolution.
        const double firing = engineRpm(motion.speedKmh) / 60.0 * 2.0;
        phase += 2 * kPi * firing / kSampleRate;
        if (phase > 2 * kPi) phase -= 2 * kPi;
        const double load = 0.55 + std::clamp(motion.acceleration / 3.0, -0.25, 0.45);
        double engine = 0;
        for (int harmonic = 1; harmonic <= 8; ++harmonic) {
            engine += std::sin(harmonic * phase + harmonic * 0.7) / std::pow(harmonic, 0.8);
        }
        noiseState ^= noiseState << 13;
        noiseState ^= noiseState >> 17;
        noiseState ^= noiseState << 5;
        const double white = (noiseState & 0xFFFF) / 32768.0 - 1.0;
        noiseLow += (white - noiseLow) * 0.18;  // road rumble is mostly low
        const double road = noiseLow * (0.15 + motion.speedKmh / 110.0);

        double bell = 0;
        for (double at : chimes) bell += chime(t - at);

        const double mixed = 14.0 * load * engine + 26.0 * road + 52.0 * bell;
        samples[i] = static_cast<std::uint8_t>(std::clamp(128.0 + mixed, 1.0, 255.0));
    }
    return samples;
}
