#include "app/GThresholdDialog09Page2.h"

#include "app/ControlText.h"
#include "app/TypedNumber.h"
#include "resources/resource.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kLastPosition = GThresholdDialog09Page2::kHighest - GThresholdDialog09Page2::kLowest;
constexpr int kStandardPosition = 15;  // 0.45 G
// A typed value in G is turned into hundredths with this much added, so that "0.45", which
// is slightly less than 0.45 in binary, still gives 45.
constexpr double kRoundingAllowance = 0.009;
}  // namespace

GThresholdDialog09Page2::GThresholdDialog09Page2() : Dialog(IDD_GTHRESHOLD_PAGE2) {}

INT_PTR GThresholdDialog09Page2::dialogProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: onInitDialog(); return TRUE;
    case WM_HSCROLL:
    case WM_VSCROLL: onScroll(reinterpret_cast<HWND>(lParam)); return TRUE;
    case WM_COMMAND: onCommand(LOWORD(wParam), HIWORD(wParam)); return TRUE;
    default: return FALSE;  // a page never ends: its edit has the id IDOK
    }
}

void GThresholdDialog09Page2::onInitDialog() {
    trackBar = GetDlgItem(handle(), IDC_PAGE2_TRACK);
    valueEdit = GetDlgItem(handle(), IDC_PAGE2_VALUE);
    spin = GetDlgItem(handle(), IDC_PAGE2_SPIN);
    SendMessageW(trackBar, TBM_SETRANGE, FALSE, MAKELPARAM(0, kLastPosition));
    SendMessageW(trackBar, TBM_SETPAGESIZE, 0, 1);
    SendMessageW(trackBar, TBM_SETTICFREQ, 1, 0);
    SendMessageW(spin, UDM_SETRANGE32, kLowest, kHighest);
    setPosition(kStandardPosition);
}

int GThresholdDialog09Page2::position() const {
    return static_cast<int>(SendMessageW(trackBar, TBM_GETPOS, 0, 0));
}

void GThresholdDialog09Page2::setPosition(int newPosition) {
    SendMessageW(trackBar, TBM_SETPOS, TRUE, std::clamp(newPosition, 0, kLastPosition));
    show();
}

void GThresholdDialog09Page2::setThreshold(int hundredthsOfG) { setPosition(kHighest - hundredthsOfG); }

// The spin follows the value, so that its arrows stop where the value's range ends.
void GThresholdDialog09Page2::show() {
    int value = threshold();
    SetWindowTextW(valueEdit, hundredthsText(value).c_str());
    SendMessageW(spin, UDM_SETPOS32, 0, value);
}

void GThresholdDialog09Page2::onScroll(HWND control) {
    if (control == trackBar)
        show();
    else if (control == spin)
        setThreshold(static_cast<int>(SendMessageW(spin, UDM_GETPOS32, 0, 0)));
}

void GThresholdDialog09Page2::onCommand(WORD control, WORD notification) {
    if (control == IDC_PAGE2_VALUE && notification == EN_KILLFOCUS) applyTypedValue();
}

void GThresholdDialog09Page2::applyTypedValue() {
    TypedNumber typed = TypedNumber::decimal(controlText(valueEdit));
    if (typed.kind == TypedNumber::Number) {
        double g = std::clamp(typed.value, kLowest / 100.0, kHighest / 100.0);
        setThreshold(static_cast<int>(std::floor(g * 100 + kRoundingAllowance)));
    } else {
        show();  // junk or nothing: the value from before stays
    }
}
