#include "app/GThresholdDialog09Page1.h"

#include "app/ControlText.h"
#include "app/GThresholdDialog09Page2.h"
#include "app/SensitivitySteps.h"
#include "resources/resource.h"
#include "base/StringTable.h"

#include <commctrl.h>

namespace {
constexpr int kLevelStep = 2;     // track bar positions per level
constexpr int kBetweenStep = 1;   // while an in-between threshold is shown
}  // namespace

GThresholdDialog09Page1::GThresholdDialog09Page1(GThresholdDialog09Page2& detailed)
    : Dialog(IDD_GTHRESHOLD_PAGE1), detailed(detailed) {}

INT_PTR GThresholdDialog09Page1::dialogProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: onInitDialog(); return TRUE;
    case WM_HSCROLL: onScroll(reinterpret_cast<HWND>(lParam)); return TRUE;
    case WM_COMMAND: return TRUE;  // a page never ends itself
    default: return FALSE;
    }
}

void GThresholdDialog09Page1::onInitDialog() {
    trackBar = GetDlgItem(handle(), IDC_PAGE1_TRACK);
    levelLabel = GetDlgItem(handle(), IDC_PAGE1_LEVEL);
    SendMessageW(trackBar, TBM_SETRANGE, FALSE, MAKELPARAM(0, SensitivitySteps::kLastPosition));
    SendMessageW(trackBar, TBM_SETTICFREQ, kLevelStep, 0);
    setStepSize(kLevelStep);
    // The factory level; the detailed page shows the same threshold on its own.
    SensitivitySteps::Place standard = SensitivitySteps::placeOf(SensitivitySteps::kStandard);
    SendMessageW(trackBar, TBM_SETPOS, TRUE, standard.position);
    SetWindowTextW(levelLabel, std::to_wstring(SensitivitySteps::levelAt(standard.position)).c_str());
}

int GThresholdDialog09Page1::position() const {
    return static_cast<int>(SendMessageW(trackBar, TBM_GETPOS, 0, 0));
}

std::wstring GThresholdDialog09Page1::levelText() const { return controlText(levelLabel); }

void GThresholdDialog09Page1::setStepSize(int size) {
    SendMessageW(trackBar, TBM_SETLINESIZE, 0, size);
    SendMessageW(trackBar, TBM_SETPAGESIZE, 0, size);
}

void GThresholdDialog09Page1::setThreshold(int hundredthsOfG) {
    SensitivitySteps::Place place = SensitivitySteps::placeOf(hundredthsOfG);
    SendMessageW(trackBar, TBM_SETPOS, TRUE, place.position);
    if (!place.between) {
        takeLevel(place.position);
        return;
    }
    SetWindowTextW(levelLabel, fillFields(L"%d*", {std::to_wstring(SensitivitySteps::levelAt(place.position))}).c_str());
    // One step at a time, so that the arrow keys reach both neighbouring levels.
    setStepSize(kBetweenStep);
}

void GThresholdDialog09Page1::onScroll(HWND control) {
    if (control != trackBar) return;
    int now = position();
    // A level is never left on the odd position between two levels.
    if (now % 2 != 0) {
        ++now;
        SendMessageW(trackBar, TBM_SETPOS, TRUE, now);
    }
    takeLevel(now);
}

void GThresholdDialog09Page1::takeLevel(int levelPosition) {
    SetWindowTextW(levelLabel, std::to_wstring(SensitivitySteps::levelAt(levelPosition)).c_str());
    setStepSize(kLevelStep);
    detailed.setThreshold(SensitivitySteps::thresholdAt(levelPosition / 2));
}
