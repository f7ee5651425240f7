#include "app/PlaybackKeys.h"

#include "app/MainWindow.h"
#include "archive/RecordCatalog.h"
#include "playback/VideoPlayer.h"
#include "resources/resource.h"
#include "ui/ConsolePanel.h"

#include <commctrl.h>

#include <algorithm>

namespace {

bool isListControl(HWND control) {
    wchar_t name[64] = {};
    if (GetClassNameW(control, name, 64) == 0) return false;
    return lstrcmpiW(name, WC_LISTVIEWW) == 0 || lstrcmpiW(name, L"ListBox") == 0;
}

}  // namespace

static_assert(PlaybackKeys::kCopyPictureCommand - PlaybackKeys::kPlayPauseCommand == 7,
              "the playback commands are eight consecutive numbers");

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
    ConsolePanel* console = window.panelWindows().console;
    if (console == nullptr || player->frameInfo() == nullptr || window.displayMode() == kDisplayImage) return;
    // The keys do what the console's buttons and position bar do, under the same rules: a
    // running lap measurement is never stepped or moved back before its last mark.
    switch (command) {
    case kPlayPauseCommand: togglePlay(*console); break;
    case kPreviousFrameCommand: console->stepBack(); break;
    case kNextFrameCommand: console->stepForward(); break;
    case kFirstFrameCommand: showFrame(*console, 0); break;
    case kLastFrameCommand: showFrame(*console, lastFrame()); break;
    case kPreviousChapterCommand: goToAdjacentChapter(*console, true); break;
    case kNextChapterCommand: goToAdjacentChapter(*console, false); break;
    default: break;
    }
}

void PlaybackKeys::togglePlay(ConsolePanel& console) {
    const VideoPlayer& player = *window.videoPlayer();
    // Space on the last frame plays the record again from its start.
    long chapterStart = window.displayMode() == kDisplayContinuous
                            ? static_cast<long>(player.chapter()) * VideoPlayer::kSlotsPerChapter
                            : 0;
    if (player.playState() != VideoPlayer::Playing && chapterStart + player.currentFrame() >= lastFrame())
        showFrame(console, 0);
    console.playOrPause();
}

void PlaybackKeys::showFrame(ConsolePanel& console, long target) {
    VideoPlayer& player = *window.videoPlayer();
    if (player.playState() == VideoPlayer::Playing) player.halt();
    console.moveTo(static_cast<int>(std::clamp(target, 0L, lastFrame())));
}

void PlaybackKeys::goToAdjacentChapter(ConsolePanel& console, bool previous) {
    const VideoPlayer& player = *window.videoPlayer();
    int chapter = player.chapter() + (previous ? -1 : 1);
    if (window.displayMode() != kDisplayContinuous || chapter < 0 || chapter >= player.chapterCount()) {
        window.goToAdjacentRecord(previous);
        return;
    }
    if (previous)
        console.previousChapter();
    else
        console.nextChapter();
}

long PlaybackKeys::lastFrame() const {
    const VideoPlayer& player = *window.videoPlayer();
    int frames = window.displayMode() == kDisplayContinuous ? player.totalFrames() : player.frameCount();
    return std::max(frames - 1, 0);
}
