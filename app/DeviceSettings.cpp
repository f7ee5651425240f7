#include "app/DeviceSettings.h"

namespace {

DeviceSettings::Volume volumeOf(int stored) {
    if (stored == DeviceSettings::kLoudVolume) return DeviceSettings::kLoudVolume;
    if (stored == DeviceSettings::kVolumeOff) return DeviceSettings::kVolumeOff;
    return DeviceSettings::kNormalVolume;
}

}  // namespace

DeviceSettings DeviceSettings::reportedBy(const FirmInfo& running) {
    DeviceSettings shown;
    if (running.contains(kKeyThreshold)) shown.threshold = running.threshold();
    if (running.contains(kKeyLateralCorrection)) shown.lateralCorrection = running.lateralCorrection();
    if (running.contains(kKeyDirectionAngle)) shown.directionAngle = running.directionAngle();
    if (running.contains(kKeyOverwrite)) shown.overwrite = running.overwrite() != 0;
    if (running.contains(kKeyOperationBuzzer)) shown.operationBuzzer = volumeOf(running.operationBuzzer());
    if (running.contains(kKeyEventBuzzer)) shown.eventBuzzer = volumeOf(running.eventBuzzer());
    return shown;
}

FirmInfo DeviceSettings::records() const {
    FirmInfo settings;
    settings.setThreshold(threshold);
    settings.setOverwrite(overwrite ? 1 : 0);
    settings.setOperationBuzzer(operationBuzzer);
    settings.setEventBuzzer(eventBuzzer);
    settings.setLateralCorrection(lateralCorrection);
    settings.setDirectionAngle(directionAngle);
    return settings;
}
