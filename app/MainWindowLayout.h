#pragma once
// Where the main window and its panels go: the window's size and place on the screen, its
// smallest size, and the rectangle of every panel for a client size.
#include <windows.h>

struct PanelPlace {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

class MainWindowLayout {
public:
    static constexpr int kSideWidth = 185;          // left and right columns
    static constexpr int kBottomStripHeight = 90;   // line chart or thumbnail strip
    static constexpr int kConsoleHeight = 92;

    // Windows Vista and 7 (major version 6) draw thicker frames: the window is a little larger.
    static SIZE windowSize(DWORD osMajorVersion);
    static SIZE minimumTrackingSize(DWORD osMajorVersion);
    // Centred on the screen's work area; at the top when the window is taller than it.
    static POINT windowPosition(SIZE window, SIZE fullScreenClient);

    // The panels' places for a client area of width x height; a bottom strip takes a row
    // only while its panel is enabled.
    static MainWindowLayout forClient(int width, int height, bool lineChartRow, bool thumbnailRow);

    PanelPlace lineChart;
    PanelPlace thumbnails;
    PanelPlace console;
    PanelPlace configPanel;
    PanelPlace circleChart;
    PanelPlace analogSpeedMeter;
    PanelPlace infoPanel;
    PanelPlace speedMeter;
    PanelPlace stopWatch;
    PanelPlace videoPlayer;
};
