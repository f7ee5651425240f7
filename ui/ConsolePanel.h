#pragma once
// The playback console under the picture: play/pause, stop, step back and forward, previous
// and next record, previous and next chapter (continuous records), the position bar with the
// event and stopwatch markers, the seconds-from-event read-out (event records) and the volume
// and brightness bars with their reset buttons. It turns the controls' events into
// operations on the player, the main window and the stopwatch, and keeps the controls'
// enabled state in step with the player.
//
// Every command a button or bar gives is also a public operation, so that a keyboard handler
// can issue it exactly as a click would.
#include "playback/AlphaImage.h"
#include "ui/GlyphFont.h"
#include "ui/ImageButtonListener.h"
#include "ui/ImageTrackBarListener.h"
#include "ui/Window.h"

#include <array>
#include <memory>
#include <string>

class IPanelHost;
class ImageButton;
class ImageTrackBar;
class PlayButton;
class PlayTrackBar;
class StopWatch;
class TrackToolTip;
class VideoPlayer;

class ConsolePanel : public Window, public ImageButtonListener, public ImageTrackBarListener {
public:
    // The buttons, in the order they are made.
    enum Button {
        Play, Stop, PreviousRecord, NextRecord, StepBack, StepForward, NextChapter, PreviousChapter,
        VolumeReset, BrightnessReset, kButtonCount
    };

    static constexpr int kMaxVolume = 16;
    static constexpr int kNeutralBrightness = 10;  // tenths: 1.0
    static constexpr int kMinBrightness = 1;
    static constexpr int kMaxBrightness = 50;

    // A child of the main window with its controls; the main window lays it out.
    ConsolePanel(HWND mainWindow, IPanelHost& host, VideoPlayer& player);

    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The stopwatch is made after the console; until it is given none is used.
    void setStopwatch(StopWatch* value) { stopwatch = value; }
    // Enables and shows the controls of a display mode.
    void setDisplayMode(int mode);
    // Recomputes the controls' enabled state, the position bar and the read-out.
    void updateControls();

    // The commands.
    void playOrPause();
    void stop();
    void stepForward();
    void stepBack();
    void previousRecord();
    void nextRecord();
    void previousChapter();
    void nextChapter();
    // As a click on the position bar at an absolute position (dragged there and released).
    void moveTo(int position);
    void resetVolume();
    void resetBrightness();

    void onClick(ImageButton* button) override;
    void onPress(ImageButton* button) override;
    void onChange(ImageTrackBar* bar) override;
    void onBeginTrack(ImageTrackBar* bar) override;
    void onEndTrack(ImageTrackBar* bar) override;

    ImageButton* button(Button which) const { return buttons[which]; }
    PlayButton& playButton() const;
    PlayTrackBar& positionBar() const { return *position; }
    ImageTrackBar& volumeBar() const { return *volume; }
    ImageTrackBar& brightnessBar() const { return *brightness; }
    // The seconds-from-event read-out for the frame on show: "+%02d.%d", "-%02d.%d" or "±00.0".
    std::wstring readoutText() const;
    // Where the read-out starts in the client area of that width.
    static POINT readoutPlace(int clientWidth);

private:
    int mode() const;
    bool inContinuousMode() const;
    int absolutePosition() const;
    void endMeasuring();
    // A step reached the end of the loaded chapter: load the next or previous one.
    bool changeChapterWhileStepping(int chapter);
    void failChapter();
    void enableStartStopWithoutLaps();
    void enableButton(Button which, bool enabled);

    void onSize(int width);
    void onEraseBackground(HDC dc);
    void onPaint();
    void paintBackground(HDC dc, const RECT& client) const;
    void paintReadout(HDC dc, const RECT& client);
    void redrawReadout();
    void createControls();
    void createToolTips();
    void loadImages();

    IPanelHost& host;
    VideoPlayer& player;
    StopWatch* stopwatch = nullptr;
    std::array<ImageButton*, kButtonCount> buttons = {};
    PlayTrackBar* position = nullptr;
    ImageTrackBar* volume = nullptr;
    ImageTrackBar* brightness = nullptr;
    int stateAtTrackBegin = 0;
    // moveTo runs a track of its own, without the mouse.
    bool movingTo = false;
    // A step is loading the next or previous chapter.
    bool steppingAcross = false;
    TrackToolTip* buttonTips = nullptr;
    TrackToolTip* barTips = nullptr;
    std::unique_ptr<AlphaImage> leftPiece;
    std::unique_ptr<AlphaImage> middlePiece;
    std::unique_ptr<AlphaImage> rightPiece;
    std::unique_ptr<AlphaImage> disabledMiddlePiece;
    std::unique_ptr<AlphaImage> disabledRightPiece;
    std::unique_ptr<GlyphFont> readoutGlyphs;
    std::wstring shownReadout;
};
