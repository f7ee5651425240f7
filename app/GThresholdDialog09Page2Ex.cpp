#include "app/GThresholdDialog09Page2Ex.h"

#include "app/ControlText.h"
#include "archive/FirmInfo.h"
#include "app/TypedNumber.h"
#include "resources/resource.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kStandardLateral = 10;  // 0.10 G
constexpr double kRoundingAllowance = 0.009;  // as for the threshold: "0.12" gives 12
}  // namespace

GThresholdDialog09Page2Ex::GThresholdDialog09Page2Ex() : Dialog(IDD_GTHRESHOLD_PAGE2EX) {}

INT_PTR GThresholdDialog09Page2Ex::dialogProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: onInitDialog(); return TRUE;
    case WM_HSCROLL:
    case WM_VSCROLL: onScroll(reinterpret_cast<HWND>(lParam)); return TRUE;
    case WM_COMMAND: onCommand(LOWORD(wParam), HIWORD(wParam)); return TRUE;
    default: return FALSE;
    }
}

void GThresholdDialog09Page2Ex::onInitDialog() {
    lateralTrackBar = GetDlgItem(handle(), IDC_PAGE2EX_LATERAL_TRACK);
    lateralEdit = GetDlgItem(handle(), IDC_PAGE2EX_LATERAL);
    lateralSpin = GetDlgItem(handle(), IDC_PAGE2EX_LATERAL_SPIN);
    angleEdit = GetDlgItem(handle(), IDC_PAGE2EX_ANGLE);
    angleSpin = GetDlgItem(handle(), IDC_PAGE2EX_ANGLE_SPIN);
    automaticBox = GetDlgItem(handle(), IDC_PAGE2EX_AUTOMATIC);
    SendMessageW(lateralTrackBar, TBM_SETRANGE, FALSE, MAKELPARAM(0, kLateralMaximum));
    SendMessageW(lateralTrackBar, TBM_SETPAGESIZE, 0, 1);
    SendMessageW(lateralTrackBar, TBM_SETTICFREQ, 5, 0);
    SendMessageW(lateralSpin, UDM_SETRANGE32, 0, kLateralMaximum);
    SendMessageW(angleSpin, UDM_SETRANGE32, -kAngleLimit, kAngleLimit);
    setLateralCorrection(kStandardLateral);
    setDirectionAngle(FirmInfo::kAutomaticAngle);
}

int GThresholdDialog09Page2Ex::lateralCorrection() const {
    return static_cast<int>(SendMessageW(lateralTrackBar, TBM_GETPOS, 0, 0));
}

void GThresholdDialog09Page2Ex::setLateralCorrection(int hundredthsOfG) {
    SendMessageW(lateralTrackBar, TBM_SETPOS, TRUE, std::clamp(hundredthsOfG, 0, kLateralMaximum));
    showLateral();
}

void GThresholdDialog09Page2Ex::showLateral() {
    int value = lateralCorrection();
    SetWindowTextW(lateralEdit, hundredthsText(value).c_str());
    SendMessageW(lateralSpin, UDM_SETPOS32, 0, value);
}

bool GThresholdDialog09Page2Ex::isAutomatic() const {
    return SendMessageW(automaticBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void GThresholdDialog09Page2Ex::setDirectionAngle(int angle) {
    if (angle == FirmInfo::kAutomaticAngle) {
        SendMessageW(automaticBox, BM_SETCHECK, BST_CHECKED, 0);
        setAutomatic(true);
        return;
    }
    SendMessageW(automaticBox, BM_SETCHECK, BST_UNCHECKED, 0);
    setAutomatic(false);
    showAngle(std::clamp(angle, -kAngleLimit, kAngleLimit));
}

int GThresholdDialog09Page2Ex::directionAngle() const {
    if (isAutomatic()) return FirmInfo::kAutomaticAngle;
    BOOL failed = FALSE;
    int angle = static_cast<int>(SendMessageW(angleSpin, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)));
    return failed ? FirmInfo::kAutomaticAngle : angle;
}

// While the recorder learns the direction itself the angle means nothing: it shows 0 and
// cannot be changed.
void GThresholdDialog09Page2Ex::setAutomatic(bool automatic) {
    if (automatic) showAngle(0);
    EnableWindow(angleEdit, !automatic);
    EnableWindow(angleSpin, !automatic);
}

void GThresholdDialog09Page2Ex::showAngle(int angle) {
    SendMessageW(angleSpin, UDM_SETPOS32, 0, angle);
    SetWindowTextW(angleEdit, std::to_wstring(angle).c_str());
    acceptedAngle = angle;
}

void GThresholdDialog09Page2Ex::onScroll(HWND control) {
    if (control == lateralTrackBar)
        showLateral();
    else if (control == lateralSpin)
        setLateralCorrection(static_cast<int>(SendMessageW(lateralSpin, UDM_GETPOS32, 0, 0)));
    else if (control == angleSpin)
        showAngle(static_cast<int>(SendMessageW(angleSpin, UDM_GETPOS32, 0, 0)));
}

void GThresholdDialog09Page2Ex::onCommand(WORD control, WORD notification) {
    if (control == IDC_PAGE2EX_AUTOMATIC && notification == BN_CLICKED)
        setAutomatic(isAutomatic());
    else if (control == IDC_PAGE2EX_LATERAL && notification == EN_KILLFOCUS)
        applyTypedLateral();
    else if (control == IDC_PAGE2EX_ANGLE && notification == EN_KILLFOCUS)
        applyTypedAngle();
}

void GThresholdDialog09Page2Ex::applyTypedValues() {
    applyTypedLateral();
    if (!isAutomatic()) applyTypedAngle();
}

void GThresholdDialog09Page2Ex::applyTypedLateral() {
    TypedNumber typed = TypedNumber::decimal(controlText(lateralEdit));
    if (typed.kind != TypedNumber::Number) {
        showLateral();
        return;
    }
    double g = std::clamp(typed.value, 0.0, kLateralMaximum / 100.0);
    setLateralCorrection(static_cast<int>(std::floor(g * 100 + kRoundingAllowance)));
}

void GThresholdDialog09Page2Ex::applyTypedAngle() {
    TypedNumber typed = TypedNumber::integer(controlText(angleEdit));
    showAngle(typed.kind == TypedNumber::Number ? typed.clamped(-kAngleLimit, kAngleLimit) : acceptedAngle);
}
