#pragma once
// The child window in which recorded frames are shown, and the clock of all playback. It
// turns play, pause, step and seek requests into paced frame requests to the loader
// thread, takes the due frame from the sound position (or, without sound, from the audio
// player's virtual clock), and paints each arriving frame letterboxed at 4:3 with the
// brightness applied to a copy.
//
// While playing exactly one frame-due tick is pending: each tick reads the clock, asks the
// loader for the frame after the due one and arms the next tick. A busy loader drops the
// request, so a slow decoder skips frames instead of building a backlog.
#include "archive/VideoInfo07.h"
#include "playback/GammaCorrection.h"
#include "playback/ImageLoader.h"
#include "playback/decode/Image.h"
#include "ui/Window.h"

#include <windows.h>
#include <vfw.h>

#include <array>
#include <memory>
#include <string>

class IPlayerHost;
class IStopwatchControl;
class WaveAudioPlayer;

class VideoPlayer : public Window {
public:
    enum PlayState { Idle = 0, Playing = 1, Stopped = 2, Paused = 3 };
    enum PositionState { NoPosition = 0, PositionPlaying = 1, AtStart = 2, Elsewhere = 3 };

    static constexpr int kWidth = 640;
    static constexpr int kHeight = 480;
    static constexpr int kMaxChapters = 60;
    static constexpr int kSlotsPerChapter = 600;
    // A jump further than this drops the old picture at once rather than showing it stale.
    static constexpr int kFarSeekFrames = 10;

    // Creates the window as a child of the main window at (0, 0), 640 x 480, with its audio
    // player and loader. decoder replaces the archive's frame decoder (tests).
    VideoPlayer(HWND mainWindow, IPlayerHost& host, ImageLoader::FrameDecoder decoder = {});
    ~VideoPlayer() override;

    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    void setStopwatch(IStopwatchControl* value) { stopwatch = value; }
    // Written by the main window before it opens a folder.
    void setMode(int displayMode) { mode = displayMode; }
    void setImagePath(const std::wstring& path) { imagePath = path; }

    // Opening. Each closes the open record first.
    void openFolder(const std::wstring& path);
    // Fills the chapter list from a continuous folder and returns the total frame count
    // (warns when more than 60 chapters are there). Throws VideoArchiveException.
    int buildChapterList(const std::wstring& folder);
    void setTotalFrames(int frames) { total = frames; }
    bool openChapter(int index);
    void openImage(const std::wstring& folder);
    void close();

    // Playback control.
    void play(int frame);
    void pause();
    void resume();
    void halt();
    void seek(int frame);
    void seekGlobal(int playFlag, int position);

    void showLoading();
    void setGamma(double value);

    // State read by the panels and the stopwatch.
    int playState() const { return state; }
    int positionState() const { return position; }
    void setPositionState(int value) { position = value; }
    int currentFrame() const { return frame; }
    int chapter() const { return chapterIndex; }
    int chapterCount() const { return chapters; }
    int totalFrames() const { return total; }
    const IVideoInfo* frameInfo() const { return info.get(); }
    int frameCount() const { return info ? info->slotCount() : 0; }
    std::int64_t recordStartTime() const;
    const std::wstring& chapterPath(int index) const { return chapterPaths[static_cast<std::size_t>(index)]; }
    bool hasPicture() const { return currentImage != nullptr; }
    // The frame on screen as it is painted, brightness applied, at its own size; null when
    // nothing is shown.
    std::unique_ptr<Image> shownPicture() const;
    // The image file shown in image mode.
    const std::wstring& imageFile() const { return imagePath; }
    double frameInterval() const { return frameIntervalExact; }
    unsigned timerPeriod() const { return period; }
    bool usesDrawDib() const { return drawDib != nullptr; }

    ImageLoader& imageLoader() { return *loader; }
    WaveAudioPlayer& soundPlayer() { return *sound; }

    // Where a picture of 4:3 goes in a client area of width x height.
    static RECT letterbox(int width, int height);

private:
    // A tick lands this long after the frame boundary it waits for, so the clock has passed it.
    static constexpr int kTickMarginMs = 1;
    // How soon a request the busy loader refused is made again while stopped or paused.
    static constexpr int kRetryMs = 2;
    // How often a new chapter's first picture is looked for.
    static constexpr int kChapterPollMs = 10;

    int currentMode() const;
    void setFrameRate();
    int clampFrame(int index) const;
    bool folderExists() const;
    void repaint(bool erase);
    void openSound();

    // Schedules the next frame; the tick comes after delayMs, or one frame interval when 0.
    void advance(int delayMs = 0);
    int delayToNextFrame(int clockMs) const;
    // The sound clock as heard: the device's position, held back to the time since playback
    // started or resumed at startHearing.
    int heardPosition();
    void startHearing(int fromMs);
    void tick();
    void sync();
    void requestFrame();
    // The frame index the loader is asked for at the current frame.
    int pictureIndex() const;
    void retryRefusedRequest();
    void endOfRecord();
    void endMeasuring();
    void warnUnreadableChapter();

    void onFrameReady(WPARAM index, LPARAM image);
    void onSoundDone();
    void onPaint();
    void paintFrame(HDC dc);
    void onEraseBackground(HDC dc);
    void onRButtonDown();
    void copyPicture();
    bool inImageMode() const;

    IPlayerHost& host;
    IStopwatchControl* stopwatch = nullptr;
    WaveAudioPlayer* sound = nullptr;  // owned through its window
    int state = Idle;
    int frame = 0;
    int frameIntervalMs = 100;
    double frameIntervalExact = 33.3;
    bool atEnd = false;
    int mode = 0;
    std::wstring imagePath;
    bool imageArrived = true;
    bool chapterFrameArrived = false;
    int chapterIndex = 0;
    int total = 0;
    std::array<std::wstring, kMaxChapters> chapterPaths;
    int chapters = 0;
    unsigned period = 0;
    std::unique_ptr<VideoInfo07> info;
    std::wstring folder;
    std::unique_ptr<Image> currentImage;
    GammaCorrection gamma;
    HDRAWDIB drawDib = nullptr;
    std::unique_ptr<ImageLoader> loader;
    int position = NoPosition;
    // Index of the last picture that arrived, -1 for none since the record opened.
    int arrivedIndex = -1;
    bool retryPending = false;
    // Where the sound stood when playback last started or resumed, and when that was.
    int heardBaseMs = 0;
    DWORD heardSince = 0;
};
