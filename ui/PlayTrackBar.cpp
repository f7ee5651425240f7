#include "ui/PlayTrackBar.h"

namespace {
constexpr int kBarX = 68;
constexpr int kBarY = 7;
constexpr int kBarWidth = 560;
constexpr int kBarHeight = 30;
}

PlayTrackBar::PlayTrackBar(HWND parent) : ImageTrackBar(parent, kBarX, kBarY, kBarWidth, kBarHeight) {
    for (std::size_t kind = 0; kind < eventMarkers.size(); ++kind)
        eventMarkers[kind] = AlphaImage::fromResource(kEventMarkerIds[kind]);
    startMarker = AlphaImage::fromResource(kStartMarkerId);
    endMarker = AlphaImage::fromResource(kEndMarkerId);
    for (std::size_t lap = 0; lap < lapMarkers.size(); ++lap) lapMarkers[lap] = AlphaImage::fromResource(kLapMarkerIds[lap]);
}

bool PlayTrackBar::setEvent(int position, int kind) {
    if (position == eventPosition && kind == eventKind) return false;
    eventPosition = position;
    eventKind = kind;
    return true;
}

void PlayTrackBar::drawChannel(HDC dc, int width, int height) {
    ImageTrackBar::drawChannel(dc, width, height);
    if (displayMode == kContinuousMode) {
        if (markers.start != 0) drawMarker(dc, *startMarker, markers.start, 1);
        for (std::size_t lap = 0; lap < lapMarkers.size() && markers.laps[lap] != 0; ++lap)
            drawMarker(dc, *lapMarkers[lap], markers.laps[lap], 1);
        if (markers.end != 0) drawMarker(dc, *endMarker, markers.end, 1);
    }
    if (eventPosition >= 0 && (eventKind == 1 || eventKind == 2))
        drawMarker(dc, *eventMarkers[static_cast<std::size_t>(eventKind - 1)], eventPosition, 2);
}

void PlayTrackBar::drawMarker(HDC dc, const AlphaImage& marker, int position, int offset) {
    marker.draw(dc, thumbCentreOf(position) - marker.width() / 2 + offset, kMarkerTop);
}
