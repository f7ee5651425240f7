#pragma once
// The values the device settings dialog edits, as plain fields: what the dialog shows when
// it opens (the factory settings, or what the card's FIRMINFO.DAT reports) and what OK
// writes into DREC.INI.
#include "archive/FirmInfo.h"

struct DeviceSettings {
    // Buzzer volumes, in the order of the dialog's lists and the recorder's coding.
    enum Volume { kNormalVolume = 0, kLoudVolume = 1, kVolumeOff = 2 };

    int threshold = 45;          // hundredths of G
    int lateralCorrection = 10;  // hundredths of G
    int directionAngle = FirmInfo::kAutomaticAngle;  // degrees, or automatic learning
    bool overwrite = true;       // continuous records overwrite the oldest
    Volume operationBuzzer = kNormalVolume;
    Volume eventBuzzer = kNormalVolume;

    // The factory settings, with what the recorder reports in place of each key it holds.
    static DeviceSettings reportedBy(const FirmInfo& running);

    // A new record set for DREC.INI, in the order the recorder has always been given it:
    // threshold (with its companions), overwrite, operation buzzer, event buzzer, lateral
    // correction, direction angle.
    FirmInfo records() const;
};
