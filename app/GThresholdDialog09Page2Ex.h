#pragma once
// The detailed tab's corrections (dialog 423): the lateral-axis correction on a track bar
// over 0.00 to 0.30 G with its edit and spin, and the direction the recorder is mounted in,
// as an angle of -45 to 45 degrees or learnt by the recorder itself ("自動学習する").
#include "ui/Dialog.h"

class GThresholdDialog09Page2Ex : public Dialog {
public:
    static constexpr int kLateralMaximum = 30;  // hundredths of G
    static constexpr int kAngleLimit = 45;      // degrees either way

    GThresholdDialog09Page2Ex();

    INT_PTR dialogProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    void setLateralCorrection(int hundredthsOfG);
    int lateralCorrection() const;
    // An angle, or FirmInfo::kAutomaticAngle to let the recorder learn it.
    void setDirectionAngle(int angle);
    // kAutomaticAngle when the box is checked or the spin cannot give its position.
    int directionAngle() const;
    bool isAutomatic() const;
    // Takes what stands in both edits by the rules of typed values.
    void applyTypedValues();

private:
    void onInitDialog();
    void onScroll(HWND control);
    void onCommand(WORD control, WORD notification);
    void applyTypedLateral();
    void applyTypedAngle();
    void showLateral();
    void showAngle(int angle);
    void setAutomatic(bool automatic);

    HWND lateralTrackBar = nullptr;
    HWND lateralEdit = nullptr;
    HWND lateralSpin = nullptr;
    HWND angleEdit = nullptr;
    HWND angleSpin = nullptr;
    HWND automaticBox = nullptr;
    int acceptedAngle = 0;
};
