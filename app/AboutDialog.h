#pragma once
// The About box (dialog 132): the application name, its version and the support link.
#include "ui/Dialog.h"

class AboutDialog : public Dialog {
public:
    static constexpr int kTemplateId = 132;
    static constexpr int kVersionControl = 1035;
    static constexpr int kSupportLinkControl = 1038;
    static constexpr int kApplicationNameControl = 1053;

    AboutDialog() : Dialog(kTemplateId) {}

    INT_PTR dialogProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void onInitDialog();
};
