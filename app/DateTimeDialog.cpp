#include "app/DateTimeDialog.h"

#include "app/CardDriveChooser.h"
#include "app/CardSettingsFile.h"
#include "app/ControlText.h"
#include "archive/FirmInfo.h"
#include "app/TypedNumber.h"
#include "resources/resource.h"
#include "base/Exception.h"
#include "ui/MessageBox.h"
#include "base/StringTable.h"

#include <commctrl.h>

#include <ctime>

namespace {

// The recorder keeps two-digit years of this century.
constexpr SYSTEMTIME kEarliest = {2000, 1, 0, 1, 0, 0, 0, 0};
constexpr SYSTEMTIME kLatest = {2099, 12, 0, 31, 23, 59, 59, 0};
const wchar_t* const kDateFormat = L"yyyy'年'MM'月'dd'日'";

}  // namespace

DateTimeDialog::DateTimeDialog(std::wstring driveFolder) : Dialog(IDD_DATE_TIME), drive(std::move(driveFolder)) {}

INT_PTR DateTimeDialog::dialogProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: onInitDialog(); return TRUE;
    case WM_COMMAND: onCommand(LOWORD(wParam), HIWORD(wParam)); return TRUE;
    case WM_VSCROLL: onScroll(reinterpret_cast<HWND>(lParam)); return TRUE;
    default: return FALSE;
    }
}

void DateTimeDialog::onInitDialog() {
    if (parent() != nullptr) centerOver(handle(), parent());
    datePicker = GetDlgItem(handle(), IDC_DATE_TIME_DATE);
    hourSpin = GetDlgItem(handle(), IDC_DATE_TIME_HOUR_SPIN);
    minuteSpin = GetDlgItem(handle(), IDC_DATE_TIME_MINUTE_SPIN);
    hourEdit = GetDlgItem(handle(), IDC_DATE_TIME_HOUR);
    minuteEdit = GetDlgItem(handle(), IDC_DATE_TIME_MINUTE);
    // The recorder's own way of writing a date, whatever the system's locale.
    SendMessageW(datePicker, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(kDateFormat));
    SYSTEMTIME range[2] = {kEarliest, kLatest};
    SendMessageW(datePicker, DTM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(range));
    SendMessageW(hourSpin, UDM_SETRANGE32, 0, 23);
    SendMessageW(minuteSpin, UDM_SETRANGE32, 0, 59);
    SYSTEMTIME now;
    GetLocalTime(&now);
    showTime(now);
}

void DateTimeDialog::showTime(const SYSTEMTIME& local) {
    SendMessageW(datePicker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&local));
    accept(hourEdit, hourSpin, acceptedHour, local.wHour);
    accept(minuteEdit, minuteSpin, acceptedMinute, local.wMinute);
}

void DateTimeDialog::onCommand(WORD control, WORD notification) {
    if (control == IDOK && notification == BN_CLICKED)
        onOk();
    else if (control == IDCANCEL && notification == BN_CLICKED)
        end(IDCANCEL);
    else if (control == IDC_DATE_TIME_HOUR && notification == EN_KILLFOCUS)
        applyTypedValue(hourEdit, hourSpin, acceptedHour);
    else if (control == IDC_DATE_TIME_MINUTE && notification == EN_KILLFOCUS)
        applyTypedValue(minuteEdit, minuteSpin, acceptedMinute);
}

// The spins write their edits themselves; what they show is what is accepted.
void DateTimeDialog::onScroll(HWND control) {
    if (control == hourSpin)
        acceptedHour = static_cast<int>(SendMessageW(hourSpin, UDM_GETPOS32, 0, 0));
    else if (control == minuteSpin)
        acceptedMinute = static_cast<int>(SendMessageW(minuteSpin, UDM_GETPOS32, 0, 0));
}

void DateTimeDialog::applyTypedValue(HWND edit, HWND spin, int& accepted) {
    int low = 0;
    int high = 0;
    SendMessageW(spin, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
    TypedNumber typed = TypedNumber::integer(controlText(edit));
    accept(edit, spin, accepted, typed.kind == TypedNumber::Number ? typed.clamped(low, high) : accepted);
}

void DateTimeDialog::accept(HWND edit, HWND spin, int& accepted, int value) {
    SendMessageW(spin, UDM_SETPOS32, 0, value);
    int shown = static_cast<int>(SendMessageW(spin, UDM_GETPOS32, 0, 0));
    SetWindowTextW(edit, std::to_wstring(shown).c_str());
    accepted = shown;
}

void DateTimeDialog::onOk() {
    std::wstring chosen = drive;
    if (!CardDriveChooser::choose(IDS_CLOCK_DRIVE_PROMPT, handle(), chosen)) return;
    drive = chosen;
    if (showMessageBox(loadString(IDS_CLOCK_WRITE_QUESTION), loadString(IDS_CAPTION_QUESTION),
                       MB_OKCANCEL | MB_ICONQUESTION, handle()) != IDOK)
        return;
    SYSTEMTIME local = {};
    SendMessageW(datePicker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&local));
    // A spin whose edit holds something it cannot take reports an error.
    BOOL hourFailed = FALSE;
    BOOL minuteFailed = FALSE;
    int hour = static_cast<int>(SendMessageW(hourSpin, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&hourFailed)));
    int minute = static_cast<int>(SendMessageW(minuteSpin, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&minuteFailed)));
    if (hourFailed) {
        warn(IDS_CLOCK_HOUR_RANGE);
        return;
    }
    if (minuteFailed) {
        warn(IDS_CLOCK_MINUTE_RANGE);
        return;
    }
    local.wHour = static_cast<WORD>(hour);
    local.wMinute = static_cast<WORD>(minute);
    local.wSecond = 0;
    local.wMilliseconds = 0;
    writeClock(local);
}

void DateTimeDialog::writeClock(const SYSTEMTIME& local) {
    std::tm moment = {};
    moment.tm_year = local.wYear - 1900;
    moment.tm_mon = local.wMonth - 1;
    moment.tm_mday = local.wDay;
    moment.tm_hour = local.wHour;
    moment.tm_min = local.wMinute;
    moment.tm_isdst = -1;
    std::time_t calendar = std::mktime(&moment);
    FirmInfo records;
    try {
        if (calendar == static_cast<std::time_t>(-1)) throw FirmInfoException(loadString(IDS_CLOCK_OUT_OF_RANGE));
        records.setDateTime(calendar);
    } catch (const Exception& failure) {
        // The picker's range keeps every date convertible; should one not be, nothing is written.
        showMessageBox(failure.message(), loadString(IDS_CAPTION_WARNING), MB_OK | MB_ICONWARNING, handle());
        return;
    }
    CardSettingsFile::writeAndReport(records, drive, IDS_CLOCK_WRITTEN, handle());
    end(IDOK);  // written or not, the card folder was the one to use
}

void DateTimeDialog::warn(unsigned textId) {
    showMessageBox(loadString(textId), loadString(IDS_CAPTION_WARNING), MB_OK | MB_ICONWARNING, handle());
}

void DateTimeDialog::end(INT_PTR result) {
    ended = result;
    EndDialog(handle(), result);
}
