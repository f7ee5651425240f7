#include "tools/samplecard/DriveProfile.h"

#include <algorithm>
#include <cmath>

DriveProfile::DriveProfile(double startSpeedKmh) {
    DriveSample start;
    start.speedKmh = startSpeedKmh;
    table.push_back(start);
}

DriveProfile& DriveProfile::phase(double seconds, double acceleration, double lateralG) {
    const double fromAcceleration = targetAcceleration;
    const double fromLateral = targetLateral;
    targetAcceleration = acceleration;
    targetLateral = lateralG;
    const int steps = static_cast<int>(std::lround(seconds / kStep));
    for (int i = 1; i <= steps; ++i) {
        const double blend = std::min(1.0, i * kStep / kTransition);
        DriveSample next = table.back();
        double speed = next.speedKmh / 3.6;
        double a = fromAcceleration + (acceleration - fromAcceleration) * blend;
        // A car standing still feels no pull and does not roll back.
        if (speed <= 0.0 && a < 0.0) a = 0.0;
        speed = std::max(0.0, speed + a * kStep);
        if (speed == 0.0) a = std::max(a, 0.0);
        const double lateral = speed > 0.5 ? fromLateral + (lateralG - fromLateral) * blend : 0.0;
        next.acceleration = a;
        next.lateralG = lateral;
        next.speedKmh = speed * 3.6;
        next.distance += speed * kStep;
        if (speed > 0.5) next.heading += lateral * kGravity / speed * kStep;
        table.push_back(next);
    }
    return *this;
}

double DriveProfile::duration() const { return (table.size() - 1) * kStep; }

DriveSample DriveProfile::at(double seconds) const {
    const double position = std::max(0.0, seconds) / kStep;
    const std::size_t index = std::min(static_cast<std::size_t>(position), table.size() - 1);
    return table[index];
}

double DriveProfile::firstExceeding(double thresholdG, double after) const {
    for (std::size_t i = static_cast<std::size_t>(std::max(0.0, after) / kStep); i < table.size(); ++i) {
        const double longitudinal = std::fabs(table[i].acceleration) / kGravity;
        if (longitudinal >= thresholdG || std::fabs(table[i].lateralG) >= thresholdG) return i * kStep;
    }
    return -1.0;
}
