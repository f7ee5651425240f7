#pragma once
// The device settings dialog (dialog 422, "本体設定"): the G sensor's sensitivity on a simple
// and a detailed tab, the corrections for how the recorder is mounted, the overwrite of
// continuous records and the two buzzer volumes. It opens with what the card's FIRMINFO.DAT
// reports (the factory settings where it reports nothing) and OK writes DREC.INI on the card.
#include "app/DeviceSettings.h"
#include "app/GThresholdDialog09Page1.h"
#include "app/GThresholdDialog09Page2.h"
#include "app/GThresholdDialog09Page2Ex.h"
#include "ui/Dialog.h"

#include <string>

class GThresholdDialog09 : public Dialog {
public:
    enum Tab { kSimpleTab = 0, kDetailedTab = 1 };
    // Posted to itself once it shows, so that the drive dialog opens over it.
    static constexpr UINT kAskForDriveMessage = WM_APP + 1;

    // driveFolder is where the drive dialog starts.
    explicit GThresholdDialog09(std::wstring driveFolder);

    INT_PTR dialogProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The card folder last chosen; the main window keeps it when the dialog ends with IDOK.
    const std::wstring& driveFolder() const { return drive; }
    // The card's FIRMINFO.DAT was read and shown.
    bool settingsWereRead() const { return settingsRead; }
    // What EndDialog was given, 0 while the dialog is up.
    INT_PTR result() const { return ended; }

    // The values the controls show, and showing values.
    DeviceSettings shownSettings() const;
    void showSettings(const DeviceSettings& settings);
    Tab selectedTab() const;

    GThresholdDialog09Page1& simplePage() { return levels; }
    GThresholdDialog09Page2& thresholdPage() { return detailed; }
    GThresholdDialog09Page2Ex& correctionPage() { return corrections; }

private:
    void onInitDialog();
    void onAskForDrive();
    void onCommand(WORD control, WORD notification);
    void onNotify(const NMHDR& header);
    void onOk();
    void onPresetButton(int threshold);
    void createPages();
    void placePage(Dialog& page, int placeholderId, HWND after);
    void fillLists();
    bool readCardSettings();
    void selectTab(Tab tab);
    void showPagesOf(Tab tab);
    void end(INT_PTR result);

    GThresholdDialog09Page2 detailed;
    GThresholdDialog09Page1 levels;
    GThresholdDialog09Page2Ex corrections;
    std::wstring drive;
    bool settingsRead = false;
    INT_PTR ended = 0;
};
