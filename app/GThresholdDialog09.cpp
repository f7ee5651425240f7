#include "app/GThresholdDialog09.h"

#include "app/CardDriveChooser.h"
#include "app/CardSettingsFile.h"
#include "app/SensitivitySteps.h"
#include "archive/FileSystem.h"
#include "resources/resource.h"
#include "base/Exception.h"
#include "ui/MessageBox.h"
#include "base/StringTable.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>

namespace {

const wchar_t* const kFirmwareInfoFile = L"FIRMINFO.DAT";
const wchar_t* const kOverwriteChoices[] = {L"する", L"しない"};
const wchar_t* const kVolumeChoices[] = {L"標準", L"大", L"OFF"};  // in the recorder's coding
constexpr int kNoOverwriteIndex = 1;
// The pages go this far above their placeholders' offsets from the dialog's outer corner,
// which is about where the client area starts below the caption.
constexpr int kPageRaise = 20;

void fillList(HWND list, const wchar_t* const* choices, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(choices[i]));
    SendMessageW(list, CB_SETCURSEL, 0, 0);
}

int selectionOf(HWND dialog, int list, int last) {
    LRESULT selected = SendDlgItemMessageW(dialog, list, CB_GETCURSEL, 0, 0);
    return selected == CB_ERR ? 0 : std::clamp(static_cast<int>(selected), 0, last);
}

}  // namespace

GThresholdDialog09::GThresholdDialog09(std::wstring driveFolder)
    : Dialog(IDD_GTHRESHOLD), levels(detailed), drive(std::move(driveFolder)) {}

INT_PTR GThresholdDialog09::dialogProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: onInitDialog(); return FALSE;  // the focus is set there
    case kAskForDriveMessage: onAskForDrive(); return TRUE;
    case WM_COMMAND: onCommand(LOWORD(wParam), HIWORD(wParam)); return TRUE;
    case WM_NOTIFY: onNotify(*reinterpret_cast<const NMHDR*>(lParam)); return TRUE;
    default: return FALSE;
    }
}

void GThresholdDialog09::onInitDialog() {
    if (parent() != nullptr) centerOver(handle(), parent());
    HWND tabs = GetDlgItem(handle(), IDC_GTHRESHOLD_TABS);
    const unsigned tabTexts[] = {IDS_TAB_SIMPLE, IDS_TAB_DETAILED};
    for (int i = 0; i < 2; ++i) {
        std::wstring text = loadString(tabTexts[i]);
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = &text[0];
        SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
    createPages();
    fillLists();
    SetFocus(tabs);
    PostMessageW(handle(), kAskForDriveMessage, 0, 0);
}

void GThresholdDialog09::createPages() {
    levels.showModeless(handle(), SW_SHOW);
    detailed.showModeless(handle(), SW_HIDE);
    corrections.showModeless(handle(), SW_HIDE);
    // In the tab order the pages follow the preset buttons, and lie above the tab control.
    placePage(levels, IDC_GTHRESHOLD_PAGE_PLACE, GetDlgItem(handle(), IDC_GTHRESHOLD_HIGH));
    placePage(detailed, IDC_GTHRESHOLD_PAGE_PLACE, levels.handle());
    placePage(corrections, IDC_GTHRESHOLD_CORRECTION_PLACE, detailed.handle());
    DestroyWindow(GetDlgItem(handle(), IDC_GTHRESHOLD_PAGE_PLACE));
    DestroyWindow(GetDlgItem(handle(), IDC_GTHRESHOLD_CORRECTION_PLACE));
}

// Centred across its placeholder, at the placeholder's offset from the dialog's outer corner
// less the caption.
void GThresholdDialog09::placePage(Dialog& page, int placeholderId, HWND after) {
    HWND placeholder = GetDlgItem(handle(), placeholderId);
    RECT outer = {}, place = {}, placeClient = {}, pageClient = {};
    if (page.handle() == nullptr || placeholder == nullptr) return;
    GetWindowRect(handle(), &outer);
    GetWindowRect(placeholder, &place);
    GetClientRect(placeholder, &placeClient);
    GetClientRect(page.handle(), &pageClient);
    int x = (placeClient.right - pageClient.right) / 2 + (place.left - outer.left);
    int y = place.top - outer.top - kPageRaise;
    SetWindowPos(page.handle(), after, x, y, pageClient.right, pageClient.bottom, SWP_NOACTIVATE);
}

void GThresholdDialog09::fillLists() {
    fillList(GetDlgItem(handle(), IDC_GTHRESHOLD_OVERWRITE), kOverwriteChoices, std::size(kOverwriteChoices));
    fillList(GetDlgItem(handle(), IDC_GTHRESHOLD_OPERATION_BUZZER), kVolumeChoices, std::size(kVolumeChoices));
    fillList(GetDlgItem(handle(), IDC_GTHRESHOLD_EVENT_BUZZER), kVolumeChoices, std::size(kVolumeChoices));
}

void GThresholdDialog09::onAskForDrive() {
    // A modal dialog shows only once its first messages are handled: show it now, so that the
    // drive dialog opens over it.
    ShowWindow(handle(), SW_SHOW);
    RedrawWindow(handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    std::wstring chosen = drive;
    if (!CardDriveChooser::choose(IDS_SETTINGS_DRIVE_PROMPT, handle(), chosen)) return;  // the defaults stay
    drive = chosen;
    if (!readCardSettings()) return;
    settingsRead = true;
}

// What the recorder runs with, from the card; false (after a warning) when it cannot be read.
bool GThresholdDialog09::readCardSettings() {
    FirmInfo running;
    try {
        running.readFirmwareInfoFile(joinPath(drive, kFirmwareInfoFile));
    } catch (const Exception& failure) {
        showMessageBox(failure.message(), loadString(IDS_CAPTION_WARNING), MB_OK | MB_ICONWARNING, handle());
        return false;
    }
    DeviceSettings reported = DeviceSettings::reportedBy(running);
    showSettings(reported);
    selectTab(SensitivitySteps::isStep(reported.threshold) ? kSimpleTab : kDetailedTab);
    return true;
}

void GThresholdDialog09::showSettings(const DeviceSettings& settings) {
    levels.setThreshold(settings.threshold);
    detailed.setThreshold(settings.threshold);
    corrections.setLateralCorrection(settings.lateralCorrection);
    corrections.setDirectionAngle(settings.directionAngle);
    SendDlgItemMessageW(handle(), IDC_GTHRESHOLD_OVERWRITE, CB_SETCURSEL, settings.overwrite ? 0 : kNoOverwriteIndex, 0);
    SendDlgItemMessageW(handle(), IDC_GTHRESHOLD_OPERATION_BUZZER, CB_SETCURSEL, settings.operationBuzzer, 0);
    SendDlgItemMessageW(handle(), IDC_GTHRESHOLD_EVENT_BUZZER, CB_SETCURSEL, settings.eventBuzzer, 0);
}

DeviceSettings GThresholdDialog09::shownSettings() const {
    DeviceSettings shown;
    shown.threshold = detailed.threshold();
    shown.overwrite = selectionOf(handle(), IDC_GTHRESHOLD_OVERWRITE, kNoOverwriteIndex) != kNoOverwriteIndex;
    shown.operationBuzzer =
        static_cast<DeviceSettings::Volume>(selectionOf(handle(), IDC_GTHRESHOLD_OPERATION_BUZZER, DeviceSettings::kVolumeOff));
    shown.eventBuzzer =
        static_cast<DeviceSettings::Volume>(selectionOf(handle(), IDC_GTHRESHOLD_EVENT_BUZZER, DeviceSettings::kVolumeOff));
    shown.lateralCorrection = corrections.lateralCorrection();
    shown.directionAngle = corrections.directionAngle();
    return shown;
}

GThresholdDialog09::Tab GThresholdDialog09::selectedTab() const {
    LRESULT selected = SendDlgItemMessageW(handle(), IDC_GTHRESHOLD_TABS, TCM_GETCURSEL, 0, 0);
    return selected == kDetailedTab ? kDetailedTab : kSimpleTab;
}

void GThresholdDialog09::selectTab(Tab tab) {
    SendDlgItemMessageW(handle(), IDC_GTHRESHOLD_TABS, TCM_SETCURSEL, tab, 0);
    showPagesOf(tab);
}

void GThresholdDialog09::showPagesOf(Tab tab) {
    bool showDetailed = tab == kDetailedTab;
    // The simple tab shows the detailed threshold as its level, or between two levels.
    if (!showDetailed) levels.setThreshold(detailed.threshold());
    ShowWindow(levels.handle(), showDetailed ? SW_HIDE : SW_SHOW);
    ShowWindow(detailed.handle(), showDetailed ? SW_SHOW : SW_HIDE);
    ShowWindow(corrections.handle(), showDetailed ? SW_SHOW : SW_HIDE);
}

void GThresholdDialog09::onNotify(const NMHDR& header) {
    if (header.idFrom == IDC_GTHRESHOLD_TABS && header.code == TCN_SELCHANGE) showPagesOf(selectedTab());
}

void GThresholdDialog09::onCommand(WORD control, WORD notification) {
    if (notification != BN_CLICKED) return;
    switch (control) {
    case IDOK: onOk(); break;
    case IDCANCEL: end(IDCANCEL); break;
    case IDC_GTHRESHOLD_STANDARD: onPresetButton(SensitivitySteps::kStandard); break;
    case IDC_GTHRESHOLD_HIGH: onPresetButton(SensitivitySteps::kHigh); break;
    default: break;
    }
}

void GThresholdDialog09::onPresetButton(int presetThreshold) {
    levels.setThreshold(presetThreshold);
    detailed.setThreshold(presetThreshold);
}

void GThresholdDialog09::onOk() {
    // Enter leaves the focus in an edit: what stands there counts as if the focus had left it.
    detailed.applyTypedValue();
    corrections.applyTypedValues();
    if (!settingsRead) {
        std::wstring chosen = drive;
        if (!CardDriveChooser::choose(IDS_SETTINGS_DRIVE_PROMPT, handle(), chosen)) return;
        drive = chosen;
    }
    if (showMessageBox(loadString(IDS_SETTINGS_WRITE_QUESTION), loadString(IDS_CAPTION_QUESTION),
                       MB_OKCANCEL | MB_ICONQUESTION, handle()) != IDOK)
        return;
    FirmInfo records = shownSettings().records();
    CardSettingsFile::writeAndReport(records, drive, IDS_SETTINGS_WRITTEN, handle());
    end(IDOK);  // written or not, the card folder was the one to use
}

void GThresholdDialog09::end(INT_PTR result) {
    ended = result;
    EndDialog(handle(), result);
}
