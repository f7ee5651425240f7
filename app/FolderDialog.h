#pragma once
// The system's folder browser in the program's two forms: the record-folder dialog, which
// adds a "ﾃﾞｰﾀ種別:" drop-down to choose the display mode, and the drive dialog the
// settings commands use to find the SD card.
#include <windows.h>

#include <string>

class FolderDialog {
public:
    static constexpr unsigned kRecordFolderPrompt = 5003;  // "フォルダを選択してください。"
    static constexpr unsigned kUnusableFolderText = 5004;
    static constexpr int kKindLabelId = 1007;
    static constexpr int kKindListId = 5503;

    // The record-folder dialog, starting at folder. True when a folder was chosen: folder
    // then holds it, and displayMode the kind chosen in the drop-down.
    static bool chooseRecordFolder(HWND owner, std::wstring& folder, int& displayMode);

    // The drive dialog with a prompt of its own (5011, 5022, 5071), starting at folder.
    static bool chooseDrive(const std::wstring& prompt, HWND owner, std::wstring& folder);

    // Either variant: the record-folder one when prompt is string 5003. displayMode is only
    // read and written by that variant. A choice that is not a file-system folder gives the
    // 5004 warning and false; cancelling gives false without a message.
    static bool browse(const std::wstring& prompt, HWND owner, std::wstring& folder, int& displayMode);
};
