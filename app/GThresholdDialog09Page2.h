#pragma once
// The detailed tab's G threshold (dialog 407): a track bar over 0.60 (left) to 0.40 G
// (right) in steps of 0.01, an edit that shows and takes the value, and a spin beside it.
#include "ui/Dialog.h"

class GThresholdDialog09Page2 : public Dialog {
public:
    static constexpr int kLowest = 40;   // hundredths of G, the most sensitive setting
    static constexpr int kHighest = 60;  // the least sensitive; track bar position 0

    GThresholdDialog09Page2();

    INT_PTR dialogProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Thresholds beyond the range end up at its nearer end.
    void setThreshold(int hundredthsOfG);
    int threshold() const { return kHighest - position(); }
    int position() const;
    // Takes what stands in the edit by the rules of a typed value (as when it loses the focus).
    void applyTypedValue();

private:
    void onInitDialog();
    void onScroll(HWND control);
    void onCommand(WORD control, WORD notification);
    void setPosition(int position);
    void show();

    HWND trackBar = nullptr;
    HWND valueEdit = nullptr;
    HWND spin = nullptr;
};
