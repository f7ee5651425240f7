// The recorder's settings records: the input read as FIRMINFO.DAT (what the settings dialog
// shows) and as DREC.INI, whose records a merging write then keeps.
#include "FuzzInput.h"

#include "archive/FirmInfo.h"
#include "base/Exception.h"

namespace {

void readValues(const FirmInfo& info) {
    int (FirmInfo::*const getters[])() const = {&FirmInfo::threshold,       &FirmInfo::lateralCorrection,
                                                &FirmInfo::overwrite,       &FirmInfo::operationBuzzer,
                                                &FirmInfo::eventBuzzer,     &FirmInfo::directionAngle};
    for (auto getter : getters) {
        try {
            (info.*getter)();
        } catch (const Exception&) {
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MemoryFileSystem& fs = fuzz::freshFileSystem();
    const std::wstring firmware = joinPath(fuzz::kFolder, L"FIRMINFO.DAT");
    const std::wstring settings = joinPath(fuzz::kFolder, L"DREC.INI");
    fs.put(firmware, data, size);
    fs.put(settings, data, size);

    FirmInfo reported;
    try {
        reported.readFirmwareInfoFile(firmware);
        readValues(reported);
    } catch (const Exception&) {
    }
    FirmInfo card;
    try {
        card.readSettingsFile(settings);
        readValues(card);
    } catch (const Exception&) {
    }
    try {
        FirmInfo changes;
        changes.setThreshold(50);
        changes.setDirectionAngle(-5);
        changes.writeSettingsFile(settings, true);
        changes.verifySettingsFile(settings);
    } catch (const Exception&) {
    }
    return 0;
}
