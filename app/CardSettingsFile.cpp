#include "app/CardSettingsFile.h"

#include "archive/FileSystem.h"
#include "resources/resource.h"
#include "base/Exception.h"
#include "ui/MessageBox.h"
#include "base/StringTable.h"

namespace {
const wchar_t* const kSettingsFile = L"DREC.INI";
}

bool CardSettingsFile::writeAndReport(FirmInfo& records, const std::wstring& driveFolder, unsigned writtenTextId,
                                      HWND owner) {
    std::wstring path = joinPath(driveFolder, kSettingsFile);
    try {
        records.writeSettingsFile(path, true);
        records.verifySettingsFile(path);
    } catch (const Exception&) {
        // The card keeps its previous DREC.INI: there is nothing to clean up.
        showMessageBox(loadString(IDS_SETTINGS_UNWRITABLE), loadString(IDS_CAPTION_WARNING), MB_OK | MB_ICONWARNING,
                       owner);
        return false;
    }
    showMessageBox(loadString(writtenTextId), loadString(IDS_CAPTION_INFORMATION), MB_OK | MB_ICONINFORMATION, owner);
    return true;
}
