#pragma once
// The clock dialog (dialog 126, "日時設定"): a date, an hour and a minute for the recorder's
// clock, written into DREC.INI on the card; the recorder sets its clock from it when it is
// next switched on.
#include "ui/Dialog.h"

#include <string>

class DateTimeDialog : public Dialog {
public:
    // driveFolder is where the drive dialog starts.
    explicit DateTimeDialog(std::wstring driveFolder);

    INT_PTR dialogProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The card folder last chosen; the main window keeps it when the dialog ends with IDOK.
    const std::wstring& driveFolder() const { return drive; }
    // What EndDialog was given, 0 while the dialog is up.
    INT_PTR result() const { return ended; }

    // Shows a moment (seconds are not shown); the picker keeps its range.
    void showTime(const SYSTEMTIME& local);

private:
    void onInitDialog();
    void onCommand(WORD control, WORD notification);
    void onScroll(HWND control);
    void onOk();
    void applyTypedValue(HWND edit, HWND spin, int& accepted);
    void accept(HWND edit, HWND spin, int& accepted, int value);
    void writeClock(const SYSTEMTIME& local);
    void warn(unsigned textId);
    void end(INT_PTR result);

    HWND datePicker = nullptr;
    HWND hourSpin = nullptr;
    HWND minuteSpin = nullptr;
    HWND hourEdit = nullptr;
    HWND minuteEdit = nullptr;
    int acceptedHour = 0;
    int acceptedMinute = 0;
    std::wstring drive;
    INT_PTR ended = 0;
};
