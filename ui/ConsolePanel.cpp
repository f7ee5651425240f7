#include "ui/ConsolePanel.h"

#include "base/StringTable.h"
#include "playback/VideoPlayer.h"
#include "playback/WaveAudioPlayer.h"
#include "resources/resource.h"
#include "ui/GdiScope.h"
#include "ui/IPanelHost.h"
#include "ui/ImageButton.h"
#include "ui/MessageBox.h"
#include "ui/PlayButton.h"
#include "ui/PlayTrackBar.h"
#include "ui/StopWatch.h"
#include "ui/TrackToolTip.h"

#include <cstdlib>
#include <cwchar>

namespace {

constexpr int kEventMode = 0;
constexpr int kImageMode = 1;
constexpr int kContinuousMode = 2;
constexpr int kEventRate = 30;
constexpr int kChapterRate = 10;
constexpr int kChapterRepeatMs = 100;
constexpr int kEventRepeatMs = 33;

struct ButtonLook {
    int x, y, width, height;
    int normal, pressed, disabled;
    unsigned tip;
};
// In the order of ConsolePanel::Button.
constexpr ButtonLook kButtons[] = {
    {301, 44, 38, 38, 10015, 10016, 10017, IDS_TIP_PLAY_PAUSE},
    {346, 46, 34, 34, 10018, 10019, 10020, IDS_TIP_STOP},
    {216, 48, 28, 28, 10009, 10010, 10011, IDS_TIP_PREVIOUS_RECORD},
    {251, 48, 28, 28, 10012, 10013, 10014, IDS_TIP_NEXT_RECORD},
    {402, 48, 28, 28, 10042, 10043, 10044, IDS_TIP_STEP_BACK},
    {437, 48, 28, 28, 10045, 10046, 10047, IDS_TIP_STEP_FORWARD},
    {38, 4, 22, 22, 10006, 10007, 10008, IDS_TIP_NEXT_CHAPTER},
    {13, 4, 22, 22, 10003, 10004, 10005, IDS_TIP_PREVIOUS_CHAPTER},
    {498, 54, 12, 12, 290, 0, 431, IDS_TIP_VOLUME_RESET},
    {36, 54, 12, 12, 289, 0, 0, IDS_TIP_BRIGHTNESS_RESET},
};
constexpr ConsolePanel::Button kPlaybackButtons[] = {
    ConsolePanel::Play,     ConsolePanel::Stop,        ConsolePanel::PreviousRecord, ConsolePanel::NextRecord,
    ConsolePanel::StepBack, ConsolePanel::StepForward, ConsolePanel::NextChapter,    ConsolePanel::PreviousChapter,
};

// Background pieces, read-out glyphs ("0".."9", ".", "+", "-", "±").
constexpr int kLeftPieceId = 223;
constexpr int kMiddlePieceId = 221;
constexpr int kRightPieceId = 222;
constexpr int kDisabledMiddlePieceId = 424;
constexpr int kDisabledRightPieceId = 425;
const wchar_t* const kReadoutCharacters = L"0123456789.+-\u00B1";
constexpr int kReadoutGlyphIds[] = {237, 238, 239, 240, 241, 242, 243, 244, 245, 246, 247, 249, 248, 236};
constexpr int kReadoutFromRight = 63;
constexpr int kReadoutY = 9;
// Above the play button: the read-out never reaches lower.
constexpr int kReadoutBottom = 44;

// The bars: thumb, channel and filled-channel pictures.
constexpr int kPositionThumbId = 10031;
constexpr int kPositionChannelId = 10027;
constexpr int kBarFilledId = 295;
constexpr int kSmallThumbId = 291;
constexpr int kVolumeChannelId = 403;
constexpr int kBrightnessChannelId = 10001;
constexpr int kSmallFilledId = 296;

}  // namespace

ConsolePanel::ConsolePanel(HWND mainWindow, IPanelHost& host, VideoPlayer& player) : host(host), player(player) {
    WindowCreateParams params = childParams(mainWindow, 0, 0, 0, 0);
    params.extendedStyle = WS_EX_CONTROLPARENT;
    params.style |= WS_CLIPCHILDREN;
    create(params);
    createControls();
    createToolTips();
    loadImages();
}

void ConsolePanel::createControls() {
    auto makeButton = [this](Button which) {
        const ButtonLook& look = kButtons[which];
        ImageButton* made = which == Play ? new PlayButton(handle(), look.x, look.y, look.width, look.height)
                                          : new ImageButton(handle(), look.x, look.y, look.width, look.height);
        made->setImages(look.normal, look.pressed, look.disabled);
        made->setListener(this);
        buttons[which] = made;
    };
    for (Button which : kPlaybackButtons) makeButton(which);
    playButton().loadSecondFace();

    position = new PlayTrackBar(handle());
    position->setImages(kPositionThumbId, kPositionChannelId, kBarFilledId);
    volume = new ImageTrackBar(handle(), 523, 57, 90, 10);
    volume->setImages(kSmallThumbId, kVolumeChannelId, kSmallFilledId);
    brightness = new ImageTrackBar(handle(), 61, 57, 90, 10);
    brightness->setImages(kSmallThumbId, kBrightnessChannelId, kSmallFilledId);
    for (ImageTrackBar* bar : {static_cast<ImageTrackBar*>(position), volume, brightness}) {
        bar->setSplit(true);
        bar->setListener(this);
    }
    volume->setRange(0, kMaxVolume);
    volume->setPosition(kMaxVolume, false);
    brightness->setRange(kMinBrightness, kMaxBrightness);
    brightness->setPosition(kNeutralBrightness, false);

    makeButton(VolumeReset);
    makeButton(BrightnessReset);
    HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
    buttons[VolumeReset]->setCursor(hand);
    buttons[BrightnessReset]->setCursor(hand);
}

void ConsolePanel::createToolTips() {
    buttonTips = new TrackToolTip(handle());
    for (Button which : kPlaybackButtons) buttonTips->addHoverTool(loadString(kButtons[which].tip), buttons[which]->handle());

    barTips = new TrackToolTip(handle());
    barTips->addTrackingTool(volume->handle(), std::wstring());
    barTips->addTrackingTool(brightness->handle(), std::wstring());
    volume->setToolTip(barTips);
    volume->setTextFormatter([](int value) { return std::to_wstring(value); });
    brightness->setToolTip(barTips);
    brightness->setTextFormatter([](int value) {
        wchar_t text[16];
        std::swprintf(text, 16, L"%3.1f", value / 10.0);
        return std::wstring(text);
    });
    for (Button which : {VolumeReset, BrightnessReset})
        barTips->addHoverTool(loadString(kButtons[which].tip), buttons[which]->handle());
}

void ConsolePanel::loadImages() {
    leftPiece = AlphaImage::fromResource(kLeftPieceId);
    middlePiece = AlphaImage::fromResource(kMiddlePieceId);
    rightPiece = AlphaImage::fromResource(kRightPieceId);
    disabledMiddlePiece = AlphaImage::fromResource(kDisabledMiddlePieceId);
    disabledRightPiece = AlphaImage::fromResource(kDisabledRightPieceId);
    readoutGlyphs = std::make_unique<GlyphFont>(kReadoutCharacters, kReadoutGlyphIds, 0);
}

LRESULT ConsolePanel::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE: onSize(LOWORD(lParam)); return 0;
    case WM_ERASEBKGND: onEraseBackground(reinterpret_cast<HDC>(wParam)); return 1;
    case WM_PAINT: onPaint(); return 0;
    default: return Window::handleMessage(message, wParam, lParam);
    }
}

PlayButton& ConsolePanel::playButton() const {
    return *static_cast<PlayButton*>(buttons[Play]);
}

// ---- Modes and control state ---------------------------------------------------------------

int ConsolePanel::mode() const {
    return host.displayMode();
}

bool ConsolePanel::inContinuousMode() const {
    return mode() == kContinuousMode;
}

int ConsolePanel::absolutePosition() const {
    return player.currentFrame() + player.chapter() * VideoPlayer::kSlotsPerChapter;
}

void ConsolePanel::setDisplayMode(int newMode) {
    bool images = newMode == kImageMode;
    for (Button which : kPlaybackButtons) buttons[which]->setEnabled(!images);
    position->setEnabled(!images);
    position->setVisible(!images);
    buttons[VolumeReset]->setVisible(!images);
    volume->setVisible(!images);
    buttons[NextChapter]->setVisible(newMode == kContinuousMode);
    buttons[PreviousChapter]->setVisible(newMode == kContinuousMode);
    position->setDisplayMode(newMode);
    // The read-out belongs to event mode only: whatever another mode leaves there is erased.
    InvalidateRect(handle(), nullptr, TRUE);
}

void ConsolePanel::updateControls() {
    int current = mode();
    if (!isEnabled() || current == kImageMode) return;
    bool continuous = current == kContinuousMode;
    const IVideoInfo* info = player.frameInfo();
    int frames = info != nullptr ? info->slotCount() : 0;
    int frame = player.currentFrame();
    int state = player.playState();
    int chapter = player.chapter();
    int chapters = player.chapterCount();

    if (state != VideoPlayer::Playing && state != VideoPlayer::Stopped && state != VideoPlayer::Paused) {
        for (Button which : kPlaybackButtons) enableButton(which, false);
    } else {
        enableButton(Play, true);
        playButton().setFace(state == VideoPlayer::Playing ? 1 : 0);
        enableButton(Stop, frame > 0);
        enableButton(PreviousRecord, true);
        enableButton(NextRecord, true);
        if (continuous) {
            enableButton(NextChapter, chapter < chapters - 1);
            enableButton(PreviousChapter, chapter > 0);
            enableButton(StepForward, frame < frames - 1 || chapter < chapters - 1);
            enableButton(StepBack, frame > 0 || chapter > 0);
        } else {
            enableButton(StepForward, frame < frames - 1);
            enableButton(StepBack, frame > 0);
        }
    }

    // While the bar is dragged it keeps the place the mouse gives it: in continuous mode the
    // player holds the loaded chapter's frame meanwhile, and the drag ends at the bar's place.
    bool dragged = position->isTracking() || movingTo;
    position->setRange(0, (continuous ? player.totalFrames() : frames) - 1);
    // This runs with every frame: the bar is drawn again only when its marks changed (a
    // moving thumb repaints it by itself).
    bool marksChanged =
        position->setEvent(info != nullptr ? info->eventIndex() : -1, info != nullptr ? info->recordKind() : 0);

    if (continuous) {
        if (state != VideoPlayer::Idle) {
            if (!dragged) position->setPosition(frame + chapter * VideoPlayer::kSlotsPerChapter, false);
            if (stopwatch != nullptr) {
                marksChanged |= position->setMarkers(stopwatch->markers());
                position->setRestricted(stopwatch->isMeasuring());
            }
        }
    } else if (current == kEventMode) {
        if (!dragged) position->setPosition(frame, false);
        if (readoutText() != shownReadout) redrawReadout();
    }
    if (marksChanged) InvalidateRect(position->handle(), nullptr, FALSE);
}

void ConsolePanel::enableButton(Button which, bool enabled) {
    // A held step button stays as it is while it steps into another chapter: disabling it
    // would take the mouse from it and end the press.
    if (!enabled && steppingAcross && buttons[which]->isDown()) return;
    buttons[which]->setEnabled(enabled);
}

std::wstring ConsolePanel::readoutText() const {
    const IVideoInfo* info = player.frameInfo();
    if (info == nullptr) return L"\u00B100.0";
    int kind = info->recordKind();
    if (kind != 1 && kind != 2) return L"\u00B100.0";
    int framesPerSecond = inContinuousMode() ? kChapterRate : kEventRate;
    // Tenths of a second, cut toward zero: a frame or two beside the event still reads 0.
    int tenths = (player.currentFrame() - info->eventIndex()) * 10 / framesPerSecond;
    if (tenths == 0) return L"\u00B100.0";
    wchar_t text[16];
    int magnitude = std::abs(tenths);
    std::swprintf(text, 16, L"%lc%02d.%d", tenths > 0 ? L'+' : L'-', magnitude / 10, magnitude % 10);
    return text;
}

POINT ConsolePanel::readoutPlace(int clientWidth) {
    return POINT{clientWidth - kReadoutFromRight, kReadoutY};
}

// ---- Buttons ---------------------------------------------------------------------------------

void ConsolePanel::onClick(ImageButton* clicked) {
    if (clicked == buttons[Play])
        playOrPause();
    else if (clicked == buttons[Stop])
        stop();
    else if (clicked == buttons[PreviousRecord])
        previousRecord();
    else if (clicked == buttons[NextRecord])
        nextRecord();
    else if (clicked == buttons[VolumeReset])
        resetVolume();
    else if (clicked == buttons[BrightnessReset])
        resetBrightness();
    else if (clicked == buttons[NextChapter])
        nextChapter();
    else if (clicked == buttons[PreviousChapter])
        previousChapter();
}

void ConsolePanel::onPress(ImageButton* pressed) {
    // A held step button steps at the frame rate.
    pressed->setRepeatInterval(inContinuousMode() ? kChapterRepeatMs : kEventRepeatMs);
    if (pressed == buttons[StepForward])
        stepForward();
    else if (pressed == buttons[StepBack])
        stepBack();
}

void ConsolePanel::playOrPause() {
    int state = player.playState();
    if (state == VideoPlayer::Idle) return;
    if (state == VideoPlayer::Playing) {
        player.pause();
        return;
    }
    int frame = player.currentFrame();
    if (!inContinuousMode()) {
        if (state == VideoPlayer::Paused)
            player.resume();
        else
            player.play(frame);
        return;
    }
    bool lastChapter = player.chapter() >= player.chapterCount() - 1;
    bool atTheVeryEnd = lastChapter && absolutePosition() + 1 >= player.totalFrames() && state == VideoPlayer::Stopped;
    if (atTheVeryEnd) {
        endMeasuring();
        player.seekGlobal(1, 0);
    } else if (state == VideoPlayer::Paused) {
        player.resume();
    } else {
        player.play(frame);
    }
    if (player.frameInfo() != nullptr) enableStartStopWithoutLaps();
}

void ConsolePanel::stop() {
    if (player.playState() == VideoPlayer::Idle) return;
    endMeasuring();
    player.setPositionState(VideoPlayer::AtStart);
    player.seek(0);
}

void ConsolePanel::previousRecord() {
    host.goToAdjacentRecord(true);
}

void ConsolePanel::nextRecord() {
    host.goToAdjacentRecord(false);
}

void ConsolePanel::nextChapter() {
    if (!inContinuousMode() || player.playState() == VideoPlayer::Idle) return;
    int chapter = player.chapter();
    if (chapter >= player.chapterCount() - 1) return;
    int keepPlaying = player.playState() == VideoPlayer::Playing ? 1 : 0;
    player.seekGlobal(keepPlaying, (chapter + 1) * VideoPlayer::kSlotsPerChapter);
}

void ConsolePanel::previousChapter() {
    if (!inContinuousMode() || player.playState() == VideoPlayer::Idle) return;
    int chapter = player.chapter();
    if (chapter < 1) return;
    int target = (chapter - 1) * VideoPlayer::kSlotsPerChapter;
    // A running measurement never goes back before its last marker.
    if (stopwatch != nullptr && stopwatch->isMeasuring() && stopwatch->lastMarker() > target) target = stopwatch->lastMarker();
    int keepPlaying = player.playState() == VideoPlayer::Playing ? 1 : 0;
    player.seekGlobal(keepPlaying, target);
}

void ConsolePanel::resetVolume() {
    volume->setPosition(kMaxVolume, true);
}

void ConsolePanel::resetBrightness() {
    brightness->setPosition(kNeutralBrightness, true);
}

void ConsolePanel::stepForward() {
    if (player.playState() == VideoPlayer::Idle) return;
    player.seek(player.currentFrame() + 1);
    player.setPositionState(VideoPlayer::Elsewhere);
    bool continuous = inContinuousMode();
    if (continuous && player.currentFrame() >= player.frameCount() - 1 && player.chapter() < player.chapterCount() - 1) {
        steppingAcross = true;
        bool loaded = changeChapterWhileStepping(player.chapter() + 1);
        steppingAcross = false;
        if (!loaded) return;
        ImageButton& held = *buttons[StepForward];
        // A held button goes on stepping in the new chapter without being released.
        if (held.isDown())
            SendMessageW(held.handle(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
        else
            player.setPositionState(VideoPlayer::Elsewhere);
    }
    if (continuous) enableStartStopWithoutLaps();
}

void ConsolePanel::stepBack() {
    if (player.playState() == VideoPlayer::Idle) return;
    if (stopwatch != nullptr && stopwatch->isMeasuring() && absolutePosition() <= stopwatch->lastMarker()) return;
    player.seek(player.currentFrame() - 1);
    player.setPositionState(VideoPlayer::Elsewhere);
    if (!inContinuousMode() || player.currentFrame() >= 1) return;
    if (player.chapter() == 0) {
        endMeasuring();
        player.setPositionState(VideoPlayer::AtStart);
        player.seek(0);
        return;
    }
    steppingAcross = true;
    bool loaded = changeChapterWhileStepping(player.chapter() - 1);
    if (loaded) player.seek(player.frameCount() - 1);
    steppingAcross = false;
    if (!loaded) return;
    ImageButton& held = *buttons[StepBack];
    if (held.isDown())
        SendMessageW(held.handle(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    else
        player.setPositionState(VideoPlayer::Elsewhere);
    enableStartStopWithoutLaps();
}

bool ConsolePanel::changeChapterWhileStepping(int chapter) {
    if (player.openChapter(chapter)) return true;
    failChapter();
    return false;
}

void ConsolePanel::failChapter() {
    // The held step button lets go: there is nothing left to step through.
    ReleaseCapture();
    if (stopwatch != nullptr) stopwatch->reset();
    host.clearDisplay();
    showMessageBox(loadString(IDS_CHAPTER_UNREADABLE), loadString(IDS_CAPTION_WARNING), MB_OK | MB_ICONWARNING,
                   GetParent(handle()));
}

void ConsolePanel::endMeasuring() {
    if (stopwatch == nullptr) return;
    if (stopwatch->isMeasuring())
        stopwatch->pressStartStop();
    else
        stopwatch->setStartStopEnabled(false);
}

void ConsolePanel::enableStartStopWithoutLaps() {
    if (stopwatch != nullptr && stopwatch->lapCount() == 0) stopwatch->setStartStopEnabled(true);
}

// ---- Bars ------------------------------------------------------------------------------------

void ConsolePanel::onBeginTrack(ImageTrackBar* bar) {
    if (bar == position) stateAtTrackBegin = player.playState();
}

void ConsolePanel::onChange(ImageTrackBar* bar) {
    if (bar == volume) {
        player.soundPlayer().setVolume(volume->position());
        return;
    }
    if (bar == brightness) {
        player.setGamma(brightness->position() / 10.0);
        return;
    }
    if (bar != position || player.playState() == VideoPlayer::Idle) return;
    int wanted = position->position();
    int state = player.positionState();
    bool fromRest = state == VideoPlayer::NoPosition || state == VideoPlayer::AtStart;
    if (inContinuousMode()) {
        // Within the loaded chapter only; another chapter is loaded when the drag ends.
        player.seek(wanted - player.chapter() * VideoPlayer::kSlotsPerChapter);
        if (fromRest) player.setPositionState(VideoPlayer::Elsewhere);
        enableStartStopWithoutLaps();
    } else {
        if (fromRest) player.setPositionState(VideoPlayer::Elsewhere);
        player.seek(wanted);
    }
    if (player.currentFrame() == 0 && player.chapter() == 0) {
        endMeasuring();
        player.setPositionState(VideoPlayer::AtStart);
        player.seek(0);
    }
}

void ConsolePanel::onEndTrack(ImageTrackBar* bar) {
    if (bar != position || player.playState() == VideoPlayer::Idle) return;
    bool wasPlaying = stateAtTrackBegin == VideoPlayer::Playing;
    if (inContinuousMode()) {
        player.seekGlobal(wasPlaying ? 1 : 0, position->position());
    } else if (wasPlaying) {
        if (player.playState() == VideoPlayer::Paused)
            player.resume();
        else
            player.play(player.currentFrame());
    }
}

void ConsolePanel::moveTo(int target) {
    if (player.playState() == VideoPlayer::Idle) return;
    // Like the restricted bar: never before the last marker of a running measurement.
    if (stopwatch != nullptr && stopwatch->isMeasuring() && target <= stopwatch->lastMarker())
        target = stopwatch->lastMarker() + 1;
    movingTo = true;
    onBeginTrack(position);
    position->setPosition(target, false);
    onChange(position);
    movingTo = false;
    onEndTrack(position);
}

// ---- Layout and painting -----------------------------------------------------------------------

void ConsolePanel::onSize(int width) {
    int centre = width / 2;
    MoveWindow(position->handle(), 83, 6, width - 170, 30, TRUE);
    struct Place {
        Button which;
        int x, y, width, height;
    } places[] = {
        {Play, centre - 21, 44, 38, 38},         {Stop, centre + 24, 46, 34, 34},
        {PreviousRecord, centre - 106, 48, 28, 28}, {NextRecord, centre - 71, 48, 28, 28},
        {StepBack, centre + 80, 48, 28, 28},     {StepForward, centre + 115, 48, 28, 28},
        {VolumeReset, centre + 176, 54, 12, 12}, {BrightnessReset, centre - 286, 54, 12, 12},
    };
    for (const Place& place : places)
        MoveWindow(buttons[place.which]->handle(), place.x, place.y, place.width, place.height, TRUE);
    MoveWindow(volume->handle(), centre + 201, 57, 90, 10, TRUE);
    MoveWindow(brightness->handle(), centre - 261, 57, 90, 10, TRUE);
}

void ConsolePanel::paintBackground(HDC dc, const RECT& client) const {
    int right = client.right;
    if (isEnabled()) {
        if (leftPiece->empty() || middlePiece->empty() || rightPiece->empty()) {
            FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
            return;
        }
        int span = right - rightPiece->width() - leftPiece->width();
        if (span > 0) middlePiece->draw(dc, leftPiece->width(), 0, span, middlePiece->height());
        rightPiece->draw(dc, right - rightPiece->width(), 0);
        leftPiece->draw(dc, 0, 0);
        return;
    }
    if (leftPiece->empty() || disabledMiddlePiece->empty() || disabledRightPiece->empty()) {
        FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
        return;
    }
    leftPiece->draw(dc, 0, 0);
    int from = leftPiece->width() - leftPiece->width() / 4;
    int span = right - disabledRightPiece->width() - from;
    if (span > 0) disabledMiddlePiece->draw(dc, from, 0, span, disabledMiddlePiece->height());
    disabledRightPiece->draw(dc, right - disabledRightPiece->width(), 0);
}

void ConsolePanel::onEraseBackground(HDC dc) {
    RECT client;
    GetClientRect(handle(), &client);
    paintBackground(dc, client);
    updateControls();
    for (HWND control : {volume->handle(), brightness->handle(), buttons[VolumeReset]->handle(),
                         buttons[BrightnessReset]->handle()})
        InvalidateRect(control, nullptr, FALSE);
}

void ConsolePanel::onPaint() {
    PaintScope scope(handle());
    RECT client;
    GetClientRect(handle(), &client);
    if (mode() == kEventMode && isEnabled()) paintReadout(scope.dc(), client);
}

void ConsolePanel::paintReadout(HDC dc, const RECT& client) {
    POINT at = readoutPlace(client.right);
    shownReadout = readoutText();
    readoutGlyphs->draw(dc, at.x, at.y, shownReadout);
}

void ConsolePanel::redrawReadout() {
    WindowDc window(handle());
    if (window.get() == nullptr) return;
    RECT client;
    GetClientRect(handle(), &client);
    POINT at = readoutPlace(client.right);
    // Only the read-out's corner: its background first, then the text over it.
    int saved = SaveDC(window.get());
    IntersectClipRect(window.get(), at.x, 0, client.right, kReadoutBottom);
    paintBackground(window.get(), client);
    paintReadout(window.get(), client);
    RestoreDC(window.get(), saved);
}
