#pragma once
// DREC.INI on the card, as both settings dialogs write it: the new records go in front of the
// old file's other records, the file is read back, and the user is told how it went.
#include "archive/FirmInfo.h"

#include <windows.h>

#include <string>

class CardSettingsFile {
public:
    // Writes records into "DREC.INI" of driveFolder and shows writtenTextId (caption "情報")
    // when the file reads back as written, else 5020 "設定ファイルを書き込めません。" (caption
    // "警告"); a failed write has left the old file as it was. True when written.
    static bool writeAndReport(FirmInfo& records, const std::wstring& driveFolder, unsigned writtenTextId, HWND owner);
};
