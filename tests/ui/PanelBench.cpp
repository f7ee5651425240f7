#include "PanelBench.h"

#include "playback/VideoPlayer.h"
#include "support/MessagePump.h"
#include "ui/ConsolePanel.h"
#include "ui/StopWatch.h"

#include <gtest/gtest.h>

PanelBench::PanelBench(ImageLoader::FrameDecoder decoder) {
    player = new VideoPlayer(window.handle(), *this, std::move(decoder));
    console = new ConsolePanel(window.handle(), *this, *player);
    stopwatch = new StopWatch(window.handle(), *this, *player);
    player->setStopwatch(stopwatch);
    console->setStopwatch(stopwatch);
    MoveWindow(player->handle(), 0, 0, 640, kConsoleTop, TRUE);
    MoveWindow(console->handle(), 0, kConsoleTop, kConsoleWidth, 92, TRUE);
    MoveWindow(stopwatch->handle(), 700, 0, 185, 350, TRUE);
    setMode(0);
}

PanelBench::~PanelBench() {
    // The panels go with the host window; nothing may call back into this object meanwhile.
    ReleaseCapture();
    player->close();
}

void PanelBench::setMode(int value) {
    mode = value;
    player->setMode(value);
    console->setDisplayMode(value);
    stopwatch->onDisplayModeChanged(value);
}

void PanelBench::openEvent(int frames, int eventSlot) {
    std::wstring folder = scratch.subfolder(L"EVT");
    ASSERT_TRUE(writeEventRecordWithEvent(folder, frames, eventSlot));
    setMode(0);
    player->openFolder(folder);
    ASSERT_EQ(player->frameCount(), frames);
}

void PanelBench::openChapters(const std::vector<int>& frames) {
    std::wstring folder = scratch.subfolder(L"CNT");
    std::uint32_t clock = 100000;
    for (std::size_t chapter = 0; chapter < frames.size(); ++chapter) {
        wchar_t name[32];
        swprintf(name, 32, L"\\Video%04d.dmv", static_cast<int>(chapter));
        int base = 100 * static_cast<int>(chapter);
        ASSERT_TRUE(writeChapter(folder + name, frames[chapter], clock, [base](int slot) { return base + slot; }));
        clock += static_cast<std::uint32_t>(frames[chapter]) * 100;
    }
    setMode(2);
    stopwatch->reset();
    player->setTotalFrames(player->buildChapterList(folder));
    ASSERT_TRUE(player->openChapter(0));
    stopwatch->enableForState();
    ASSERT_TRUE(pumpMessagesUntil([&] { return player->hasPicture(); }, 10000)) << player->frameCount() << " " << player->chapterCount() << " " << player->playState() << " req " << player->imageLoader().requestedIndex();
}

void PanelBench::refreshPanels() {
    if (console != nullptr) console->updateControls();
    if (stopwatch != nullptr) stopwatch->refresh();
}

void PanelBench::clearDisplay() {
    ++clears;
    player->close();
    stopwatch->reset();
    mode = 0;
}

void PanelBench::updateConsoleControls() {
    if (console != nullptr) console->updateControls();
}
