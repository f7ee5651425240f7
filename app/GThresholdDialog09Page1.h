#pragma once
// The simple tab (dialog 405): the sensitivity as one of eleven levels on a track bar, with
// the level beside it. Moving it sets the detailed tab's threshold to that level's value.
#include "ui/Dialog.h"

#include <string>

class GThresholdDialog09Page2;

class GThresholdDialog09Page1 : public Dialog {
public:
    // detailed is the detailed tab's page, which follows every level chosen here.
    explicit GThresholdDialog09Page1(GThresholdDialog09Page2& detailed);

    INT_PTR dialogProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Shows a threshold: a level sets the detailed page as well; a threshold between two
    // levels shows as "%d*" on the odd position between them and leaves the detailed page.
    void setThreshold(int hundredthsOfG);
    int position() const;
    std::wstring levelText() const;

private:
    void onInitDialog();
    void onScroll(HWND control);
    void takeLevel(int position);
    void setStepSize(int size);

    GThresholdDialog09Page2& detailed;
    HWND trackBar = nullptr;
    HWND levelLabel = nullptr;
};
