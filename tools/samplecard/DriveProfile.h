#pragma once
// A plausible drive as the car's motion over time: a chain of phases of steady acceleration
// and cornering, with the short transitions a real car has between them. The recorded
// speed, G values, picture and engine note are all taken from it.
#include <vector>

struct DriveSample {
    double speedKmh = 0.0;
    double acceleration = 0.0;  // m/s^2 along the car, negative when braking
    double lateralG = 0.0;      // positive in a right-hand bend
    double distance = 0.0;      // metres driven since the start
    double heading = 0.0;       // radians turned since the start
};

class DriveProfile {
public:
    static constexpr double kGravity = 9.80665;

    explicit DriveProfile(double startSpeedKmh);

    // Adds a phase of the given length; acceleration in m/s^2 (the car stops at 0 km/h
    // rather than rolling backwards), lateral G of the bend driven.
    DriveProfile& phase(double seconds, double acceleration, double lateralG = 0.0);

    double duration() const;
    // The motion at a moment; moments past the end give the last state.
    DriveSample at(double seconds) const;
    // The first moment from `after` on at which the G the recorder measures (longitudinal or
    // lateral) reaches threshold; -1 when it never does.
    double firstExceeding(double thresholdG, double after = 0.0) const;

private:
    static constexpr double kStep = 0.005;        // seconds per table entry
    static constexpr double kTransition = 0.3;    // seconds a change of pedal or steering takes

    std::vector<DriveSample> table;
    double targetAcceleration = 0.0;
    double targetLateral = 0.0;
};
