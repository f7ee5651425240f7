#pragma once
// Helpers for the settings-dialog tests: the drive dialog answered from a list, a card folder
// with FIRMINFO.DAT and DREC.INI built record by record, and the common controls the
// dialogs are made of.
#include "app/CardDriveChooser.h"
#include "support/SettingsTestSupport.h"

#include <windows.h>

#include <commctrl.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace settings_test {

const std::wstring kDrivePrompt = L"SDメモリーカードのドライブを選択してください。";
const std::wstring kWriteQuestion = L"設定ファイルを書き込みます。よろしいですか？";
const std::wstring kWritten = L"設定ファイルを書き込みました。";
const std::wstring kUnwritable = L"設定ファイルを書き込めません。";

// Answers every drive dialog from a queue: a folder, or cancel when the queue is empty or
// holds an empty string. Keeps the prompts it was shown; whenAsked runs at each question.
class DriveAnswers {
public:
    explicit DriveAnswers(std::deque<std::wstring> folders) : answers(std::move(folders)) {
        previous = CardDriveChooser::install([this](const std::wstring& prompt, HWND owner, std::wstring& folder) {
            prompts.push_back(prompt);
            if (whenAsked) whenAsked(owner);
            if (answers.empty() || answers.front().empty()) {
                if (!answers.empty()) answers.pop_front();
                return false;
            }
            folder = answers.front();
            answers.pop_front();
            return true;
        });
    }
    ~DriveAnswers() { CardDriveChooser::install(std::move(previous)); }
    DriveAnswers(const DriveAnswers&) = delete;
    DriveAnswers& operator=(const DriveAnswers&) = delete;

    std::vector<std::wstring> prompts;
    std::function<void(HWND owner)> whenAsked;

private:
    std::deque<std::wstring> answers;
    CardDriveChooser::Handler previous;
};

// FIRMINFO.DAT: a 16-byte prefix the recorder fills with its name, then the records.
inline Bytes firmwareInfo(std::initializer_list<Bytes> records, Bytes header = headerRecord()) {
    const Bytes prefix = {'Z', 'R', '-', '0', '7', ' ', 'F', 'W', ' ', '1', '.', '2', '0', 0, 0, 0};
    Bytes file = join({prefix, header});
    for (const Bytes& record : records) file = join({file, record});
    return file;
}

// What the sample card's recorder reports: 0.50 G (between two levels), lateral 0.12 G,
// mounted 5 degrees to the left, overwrite on, operation buzzer normal, event buzzer loud.
inline Bytes sampleFirmwareInfo() {
    return firmwareInfo({dataRecord(0x0801, {0x00, 0x50}), dataRecord(0x0811, {0x00, 0x12}),
                         dataRecord(0x0812, {0x01, 0x05}), dataRecord(0x1801, {0x01}), dataRecord(0x0301, {0x00}),
                         dataRecord(0x0304, {0x01})});
}

inline void initCommonControls() {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_UPDOWN_CLASS |
                                                          ICC_DATE_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
}

// The window the dialogs under test belong to, as the main window would own them.
inline HWND makeOwnerWindow() {
    return CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 200, 100, 800, 600, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

inline std::wstring textOf(HWND control) {
    wchar_t text[256] = {};
    GetWindowTextW(control, text, 256);
    return text;
}

// What an edit sends its dialog when the focus leaves it.
inline void leaveEdit(HWND page, int editId, const std::wstring& typed) {
    HWND edit = GetDlgItem(page, editId);
    SetWindowTextW(edit, typed.c_str());
    SendMessageW(page, WM_COMMAND, MAKEWPARAM(editId, EN_KILLFOCUS), reinterpret_cast<LPARAM>(edit));
}

// A click on the upper or lower arrow of a spin, as the mouse gives it.
inline void clickSpin(HWND spin, bool up) {
    RECT box;
    GetClientRect(spin, &box);
    LPARAM at = MAKELPARAM(box.right / 2, up ? box.bottom / 4 : box.bottom * 3 / 4);
    SendMessageW(spin, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(spin, WM_LBUTTONUP, 0, at);
}

}  // namespace settings_test
