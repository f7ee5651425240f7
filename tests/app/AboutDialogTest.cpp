// The About box shows the application name and version and ends with OK.
#include "app/AboutDialog.h"

#include <gtest/gtest.h>

namespace {
// Notes what the box shows once it is set up, then presses OK.
class ObservedAbout : public AboutDialog {
public:
    INT_PTR dialogProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        INT_PTR result = AboutDialog::dialogProc(message, wParam, lParam);
        if (message == WM_INITDIALOG) {
            wchar_t text[128] = {};
            GetDlgItemTextW(handle(), kApplicationNameControl, text, 128);
            name = text;
            GetDlgItemTextW(handle(), kVersionControl, text, 128);
            version = text;
            hasLink = GetDlgItem(handle(), kSupportLinkControl) != nullptr;
            PostMessageW(handle(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
        return result;
    }
    std::wstring name;
    std::wstring version;
    bool hasLink = false;
};
}  // namespace

TEST(AboutDialog, ShowsNameAndVersion) {
    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 100, 100, 600, 400, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    ObservedAbout about;
    EXPECT_EQ(about.showModal(owner), IDOK);
    EXPECT_EQ(about.name, L"SCENOVA");
    EXPECT_EQ(about.version, L"Version 1.0.0");
    EXPECT_TRUE(about.hasLink);
    DestroyWindow(owner);
}
