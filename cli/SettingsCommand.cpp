// scenova-cli settings FILE: the records of a DREC.INI or FIRMINFO.DAT as JSON, with the
// values the settings dialog takes from them decoded.
#include "cli/Commands.h"

#include "archive/FirmInfo.h"
#include "base/Exception.h"
#include "base/StringTable.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <cwctype>

namespace {

constexpr unsigned kUnreadableText = 5019;

bool namesFirmwareInfo(const std::wstring& path) {
    std::size_t separator = path.find_last_of(L"\\/:");
    std::wstring name = separator == std::wstring::npos ? path : path.substr(separator + 1);
    for (wchar_t& c : name) c = static_cast<wchar_t>(std::towupper(c));
    return name == L"FIRMINFO.DAT";
}

std::string hexOf(const FirmInfo::Value& value) {
    std::string text;
    char digits[3];
    for (std::uint8_t byte : value) {
        std::snprintf(digits, sizeof digits, "%02X", byte);
        text += digits;
    }
    return text;
}

nlohmann::ordered_json describe(const FirmInfo& settings) {
    nlohmann::ordered_json out;
    out["records"] = nlohmann::ordered_json::array();
    for (int i = 0; i < settings.recordCount(); ++i) {
        char key[7];
        std::snprintf(key, sizeof key, "0x%04X", settings.keyAt(i));
        out["records"].push_back({{"key", key}, {"value", hexOf(settings.valueAt(i))}});
    }
    if (settings.contains(kKeyThreshold)) out["threshold"] = settings.threshold();
    if (settings.contains(kKeyLateralCorrection)) out["lateral"] = settings.lateralCorrection();
    if (settings.contains(kKeyDirectionAngle)) {
        int angle = settings.directionAngle();
        if (angle == FirmInfo::kAutomaticAngle)
            out["angle"] = "auto";
        else
            out["angle"] = angle;
    }
    if (settings.contains(kKeyOverwrite)) out["overwrite"] = settings.overwrite();
    if (settings.contains(kKeyOperationBuzzer)) out["operationBuzzer"] = settings.operationBuzzer();
    if (settings.contains(kKeyEventBuzzer)) out["eventBuzzer"] = settings.eventBuzzer();
    return out;
}

}  // namespace

int runSettings(const Arguments& args) {
    if (args.size() != 1) return usage();
    const std::wstring& path = args[0];
    FirmInfo settings;
    try {
        if (namesFirmwareInfo(path))
            settings.readFirmwareInfoFile(path);
        else
            settings.readSettingsFile(path);
    } catch (const Exception&) {
        writeError(loadString(kUnreadableText));
        return kExitUnreadable;
    }
    writeOut(describe(settings).dump() + "\n");
    return kExitOk;
}
