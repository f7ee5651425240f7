#pragma once
// The program's one top-level window: it carries the menu, owns and lays out the picture
// and the panels, holds the open folder and the display mode, and runs the user's commands
// (open a folder, previous/next record, the settings dialogs, help, About, card restore, close).
#include "app/MainWindowLayout.h"
#include "app/PlaybackKeys.h"
#include "app/RecordExportCommands.h"
#include "playback/AlphaImage.h"
#include "playback/IPlayerHost.h"
#include "playback/IThumbnailHost.h"
#include "ui/IPanelHost.h"
#include "ui/IPanelSource.h"
#include "ui/Window.h"

#include <memory>
#include <string>

class AnalogSpeedMeter;
class CircleChart;
class ConfigPanel;
class ConsolePanel;
class InfoPanel;
class LineChart;
class SpeedMeter;
class StopWatch;
class Thumbnail;
class VideoPlayer;

class MainWindow : public Window, public IPlayerHost, public IThumbnailHost, public IPanelSource, public IPanelHost {
public:
    static constexpr int kMenuId = 101;
    static constexpr int kIconId = 294;
    static constexpr int kLeftSideImageId = 284;
    static constexpr int kRightSideImageId = 451;
    static constexpr DWORD kExtendedStyle = WS_EX_CONTROLPARENT | WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE;
    static constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    static constexpr double kInitialCircleRange = 1.5;  // G of the circle chart's outer ring

    // The panels beside and below the picture: child windows, created once, that delete
    // themselves with their windows.
    struct Panels {
        ConsolePanel* console = nullptr;
        StopWatch* stopwatch = nullptr;
        ConfigPanel* config = nullptr;
        InfoPanel* info = nullptr;
        LineChart* lineChart = nullptr;
        CircleChart* circleChart = nullptr;
        AnalogSpeedMeter* analogSpeedMeter = nullptr;
        SpeedMeter* speedMeter = nullptr;
        Thumbnail* thumbnails = nullptr;  // image mode's strip, in the bottom row
    };

    // Menu commands.
    enum Command : WORD {
        kOpenCommand = 40004,
        kExitCommand = 40005,
        kDeviceSettingsCommand = 40012,
        kClockSettingsCommand = 40015,
        kHelpCommand = 40019,
        kAboutCommand = 40020,
        kRestoreCommand = 40024,
    };

    // Creates the window, its panels and its first layout. Throws WindowException when the
    // class cannot be registered or the window cannot be made.
    MainWindow();
    ~MainWindow() override;

    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The operations the panels and the player call.
    void refreshPanels() override;
    void clearDisplay() override;
    int displayMode() const override { return mode; }
    void resetCharts() override;
    void redrawCharts() override;
    void updateConsoleControls() override;
    // Image mode: the strip's record at index goes to the player; a failure is shown in a
    // warning box and the folder stays open.
    void showImage(int index) override;
    // What the panels read: the player's record and frame, and the display mode.
    const IVideoInfo* frameInfo() const override;
    int currentFrame() const override;
    bool recordProtected() const override;
    void openFolder();
    // Opens a folder in the display mode its records call for; every failure is shown in a
    // warning box and leaves an empty display in event mode.
    void loadFolder(const std::wstring& path);
    void goToAdjacentRecord(bool previous) override;
    void updateCaption();
    // Asks before closing when something is loaded; destroys the window when confirmed.
    void requestClose();
    void runCommand(WORD command);

    void setDisplayMode(int value) { mode = value; }
    const std::wstring& currentFolder() const { return folder; }
    const std::wstring& settingsDrive() const { return drive; }
    // A record or an image folder is open.
    bool isDataLoaded() const;
    const MainWindowLayout& layout() const { return places; }
    VideoPlayer* videoPlayer() const { return player; }
    Thumbnail* thumbnailStrip() const { return panels.thumbnails; }
    const Panels& panelWindows() const { return panels; }

    // "%s %s - %s" (mode name, folder, application name) while something is loaded, else
    // the application name; at most 1023 characters.
    static std::wstring captionText(bool loaded, int displayMode, const std::wstring& folder,
                                    const std::wstring& applicationName);
    static ATOM registerClass();

private:
    void onSize(int width, int height);
    void onPaint();
    void onEraseBackground(HDC dc);
    void onGetMinMaxInfo(MINMAXINFO* limits);
    void onCommand(WORD command, HWND control);

    void createPanels();
    void placePanels();
    void applyModeLayout();
    void resetRecordPanels();
    void repaintRecordPanels();
    void pausePlayback();
    void closeRecord();
    void openRecord(const std::wstring& path);
    void openImageFolder(const std::wstring& path);
    void warn(const std::wstring& text);
    void fallBackAfterFailedLoad();
    // With laps measured, asks whether they may go (5090); true to go on.
    bool lapsMayBeErased();
    void showHelp();
    void showAbout();
    template <typename SettingsDialog>
    void runSettingsDialog();
    void restoreCard();

    // Child windows: they delete themselves with their windows.
    VideoPlayer* player = nullptr;
    Panels panels;

    std::unique_ptr<AlphaImage> leftSide;
    std::unique_ptr<AlphaImage> rightSide;
    std::wstring folder;
    std::wstring drive;
    int mode = 0;
    MainWindowLayout places;
    RecordExportCommands exports{*this};
    PlaybackKeys keys{*this};
};
