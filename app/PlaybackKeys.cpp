#include "app/PlaybackKeys.h"

#include "app/MainWindow.h"
#include "archive/RecordCatalog.h"
#include "playback/VideoPlayer.h"
#include "resources/resource.h"

#include <commctrl.h>

#include <algorithm>

namespace {

bool isListControl(HWND control) {
    wchar_t name[64] = {};
    if (GetClassNameW(control, name, 64) == 0) return false;
    return lstrcmpiW(name, WC_LISTVIEWW) == 0 || lstrcmpiW(name, L"ListBox") == 0;
}

}  // namespace

bool PlaybackKeys::handles(WORD command) {
    return command >= kPlayPauseCommand && command <= kCopyPictureCommand;
}

bool PlaybackKeys::translate(HWND mainWindow, HACCEL table, MSG& message) {
    if (table == nullptr || mainWindow == nullptr) return false;
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
    if (message.hwnd != mainWindow && !IsChild(mainWindow, message.hwnd)) return false;
    if (isListControl(message.hwnd)) return false;
    return TranslateAcceleratorW(mainWindow, table, &message) != 0;
}

void PlaybackKeys::run(WORD command) {
    VideoPlayer* player = window.videoPlayer();
    if (player == nullptr) return;
    if (command == kCopyPictureCommand) {
        if (player->hasPicture()) SendMessageW(player->handle(), WM_COMMAND, IDC_PLAYER_COPY, 0);
        return;
    }
    if (player->frameInfo() == nullptr || window.displayMode() == kDisplayImage) return;
    switch (command) {
    case kPlayPauseCommand: togglePlay(); break;
    case kPreviousFrameCommand: step(-1); break;
    case kNextFrameCommand: step(1); break;
    case kFirstFrameCommand: showFrame(0); break;
    case kLastFrameCommand: showFrame(lastFrame()); break;
    case kPreviousChapterCommand: goToAdjacentChapter(true); break;
    case kNextChapterCommand: goToAdjacentChapter(false); break;
    default: break;
    }
}

void PlaybackKeys::togglePlay() {
    VideoPlayer& player = *window.videoPlayer();
    if (player.playState() == VideoPlayer::Playing) {
        player.pause();
        return;
    }
    // Playing again from the frame on screen restarts the sound there: after a step the
    // paused sound would otherwise pull the picture back to where it stopped.
    int from = player.currentFrame();
    if (absoluteFrame() >= lastFrame()) from = 0;
    player.play(from);
}

void PlaybackKeys::showFrame(long target) {
    VideoPlayer& player = *window.videoPlayer();
    long wanted = std::clamp(target, 0L, lastFrame());
    if (player.playState() == VideoPlayer::Playing) player.halt();
    if (window.displayMode() == kDisplayContinuous)
        player.seekGlobal(0, static_cast<int>(wanted));
    else
        player.seek(static_cast<int>(wanted));
}

void PlaybackKeys::step(int direction) {
    const VideoPlayer& player = *window.videoPlayer();
    long target = absoluteFrame() + direction;
    // A cut chapter holds fewer than a minute of slots: a step past its end goes on at the
    // next chapter's first slot, and a step back from a first slot lands on the previous
    // chapter's last one.
    if (window.displayMode() == kDisplayContinuous) {
        long chapterStart = static_cast<long>(player.chapter()) * VideoPlayer::kSlotsPerChapter;
        if (direction > 0 && player.currentFrame() + 1 >= player.frameCount())
            target = chapterStart + VideoPlayer::kSlotsPerChapter;
        else if (direction < 0 && player.currentFrame() == 0 && player.chapter() > 0)
            target = chapterStart - 1;
    }
    showFrame(target);
}

void PlaybackKeys::goToAdjacentChapter(bool previous) {
    VideoPlayer& player = *window.videoPlayer();
    int chapter = player.chapter() + (previous ? -1 : 1);
    if (window.displayMode() != kDisplayContinuous || chapter < 0 || chapter >= player.chapterCount()) {
        window.goToAdjacentRecord(previous);
        return;
    }
    bool playing = player.playState() == VideoPlayer::Playing;
    if (playing) player.halt();
    player.seekGlobal(playing ? 1 : 0, chapter * VideoPlayer::kSlotsPerChapter);
}

long PlaybackKeys::absoluteFrame() const {
    const VideoPlayer& player = *window.videoPlayer();
    long chapterStart = window.displayMode() == kDisplayContinuous
                            ? static_cast<long>(player.chapter()) * VideoPlayer::kSlotsPerChapter
                            : 0;
    return chapterStart + player.currentFrame();
}

long PlaybackKeys::lastFrame() const {
    const VideoPlayer& player = *window.videoPlayer();
    int frames = window.displayMode() == kDisplayContinuous ? player.totalFrames() : player.frameCount();
    return std::max(frames - 1, 0);
}
