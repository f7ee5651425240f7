#pragma once
// Keyboard control of the main window while reviewing a record: Space plays or pauses,
// Left and Right step one frame, Home and End show the first and the last frame, Page Up
// and Page Down go to the previous or next chapter of a continuous record (past its first
// or last chapter, and for an event record, to the previous or next record), Ctrl+C copies
// the picture. The keys are an accelerator table, so the 再生 menu shows them beside its
// commands.
#include "resources/resource.h"

#include <windows.h>

class ConsolePanel;
class MainWindow;

class PlaybackKeys {
public:
    // The 再生 menu's commands; handles() takes them as one run from play/pause to copy.
    enum Command : WORD {
        kPlayPauseCommand = IDC_MENU_PLAY_PAUSE,
        kPreviousFrameCommand = IDC_MENU_PREVIOUS_FRAME,
        kNextFrameCommand = IDC_MENU_NEXT_FRAME,
        kFirstFrameCommand = IDC_MENU_FIRST_FRAME,
        kLastFrameCommand = IDC_MENU_LAST_FRAME,
        kPreviousChapterCommand = IDC_MENU_PREVIOUS_CHAPTER,
        kNextChapterCommand = IDC_MENU_NEXT_CHAPTER,
        kCopyPictureCommand = IDC_MENU_COPY_PICTURE,
    };

    explicit PlaybackKeys(MainWindow& window) : window(window) {}

    // True for the commands this class runs.
    static bool handles(WORD command);
    // Turns a key message meant for mainWindow or one of its children into its command
    // through table; true when it did, and the message is then not dispatched. A list
    // control with the focus keeps every key: the thumbnail list has its own rule for them.
    static bool translate(HWND mainWindow, HACCEL table, MSG& message);
    // Does nothing while no record (or, for the copy, no picture) is shown.
    void run(WORD command);

private:
    void togglePlay(ConsolePanel& console);
    // Jumps to frame number target of the whole record (all chapters of a continuous one),
    // clamped to the record; playback stops there.
    void showFrame(ConsolePanel& console, long target);
    void goToAdjacentChapter(ConsolePanel& console, bool previous);
    long lastFrame() const;

    MainWindow& window;
};
