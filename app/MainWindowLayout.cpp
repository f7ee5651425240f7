#include "app/MainWindowLayout.h"

SIZE MainWindowLayout::windowSize(DWORD osMajorVersion) {
    return osMajorVersion == 6 ? SIZE{1034, 728} : SIZE{1026, 723};
}

SIZE MainWindowLayout::minimumTrackingSize(DWORD osMajorVersion) {
    return osMajorVersion == 6 ? SIZE{1024, 726} : SIZE{1024, 720};
}

POINT MainWindowLayout::windowPosition(SIZE window, SIZE fullScreenClient) {
    int spareHeight = fullScreenClient.cy - window.cy;
    return POINT{(fullScreenClient.cx - window.cx) / 2, spareHeight > 0 ? spareHeight / 2 : 0};
}

MainWindowLayout MainWindowLayout::forClient(int width, int height, bool lineChartRow, bool thumbnailRow) {
    MainWindowLayout places;
    int bottom = height;
    if (lineChartRow) {
        bottom -= kBottomStripHeight;
        places.lineChart = {0, bottom, width, kBottomStripHeight};
    }
    if (thumbnailRow) {
        bottom -= kBottomStripHeight;
        places.thumbnails = {0, bottom, width, kBottomStripHeight};
    }
    int middleWidth = width - 2 * kSideWidth;
    int rightColumn = width - kSideWidth;
    places.console = {kSideWidth, bottom - kConsoleHeight, middleWidth, kConsoleHeight};
    places.configPanel = {rightColumn, 490, kSideWidth, 83};
    places.circleChart = {0, 325, kSideWidth, 246};
    places.analogSpeedMeter = {2, 2, 182, 140};
    places.infoPanel = {0, 141, kSideWidth, 184};
    places.speedMeter = {rightColumn, 0, kSideWidth, 141};
    places.stopWatch = {rightColumn, 141, kSideWidth, 350};
    places.videoPlayer = {kSideWidth, 0, middleWidth, bottom - kConsoleHeight};
    return places;
}
