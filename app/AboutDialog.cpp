#include "app/AboutDialog.h"

#include "app/Application.h"
#include "app/ProgramVersion.h"
#include "base/StringTable.h"
#include "ui/LinkLabel.h"

INT_PTR AboutDialog::dialogProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: onInitDialog(); return TRUE;
    default: return Dialog::dialogProc(message, wParam, lParam);
    }
}

void AboutDialog::onInitDialog() {
    if (parent() != nullptr) centerOver(handle(), parent());
    SetDlgItemTextW(handle(), kApplicationNameControl, Application::name().c_str());
    SetDlgItemTextW(handle(), kVersionControl, fillFields(L"Version %s", {ProgramVersion::text()}).c_str());
    // The label binds itself to the template's control and goes with it.
    if (HWND link = GetDlgItem(handle(), kSupportLinkControl)) new LinkLabel(link);
}
