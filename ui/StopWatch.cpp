#include "ui/StopWatch.h"

#include "archive/ChapterRow.h"
#include "base/StringTable.h"
#include "playback/VideoPlayer.h"
#include "resources/resource.h"
#include "ui/DoubleBuffer.h"
#include "ui/GdiScope.h"
#include "ui/IPanelHost.h"
#include "ui/LapDialog.h"
#include "ui/LapFigures.h"
#include "ui/TrackToolTip.h"

#include <algorithm>
#include <cwchar>

namespace {

constexpr int kButtonX = 45;
constexpr int kButtonWidth = 92;
constexpr int kButtonHeight = 22;
constexpr int kContinuousMode = 2;

struct ButtonLook {
    int y;
    int normal, pressed, disabled;
    unsigned tip;
};
// In the order of StopWatch::Button.
constexpr ButtonLook kButtons[] = {
    {203, 106, 109, 110, IDS_TIP_START_STOP},
    {238, 107, 111, 112, IDS_TIP_LAP_RESET},
    {273, 108, 113, 114, IDS_TIP_LAP_LIST},
    {308, 133, 134, 135, IDS_TIP_UNDO_LAP},
};

// Digits 0 to 9, minute mark, second mark and dash of the three read-out lines.
const wchar_t* const kReadoutCharacters = L"0123456789\u2032\u2033-";
constexpr int kLineFirstIds[3] = {10090, 10103, 10116};
constexpr int kLineY[3] = {35, 95, 155};
constexpr int kLineX = 30;
constexpr int kBlankAdvance = 15;

std::unique_ptr<GlyphFont> lineFont(int firstId) {
    int ids[13];
    for (int i = 0; i < 13; ++i) ids[i] = firstId + i;
    return std::make_unique<GlyphFont>(kReadoutCharacters, ids, kBlankAdvance);
}

}  // namespace

const wchar_t* const StopWatch::kNoTime = L"--\u2032 --\u2033 -";

StopWatch::StopWatch(HWND mainWindow, IPanelHost& host, VideoPlayer& player) : host(host), player(player) {
    WindowCreateParams params = childParams(mainWindow, 0, 0, 0, 0);
    params.extendedStyle = WS_EX_CONTROLPARENT;
    create(params);
    background = AlphaImage::fromResource(kBackgroundId);
    for (int line = 0; line < 3; ++line) lineFonts[static_cast<std::size_t>(line)] = lineFont(kLineFirstIds[line]);
    toolTip = new TrackToolTip(handle());
    for (int which = 0; which < kButtonCount; ++which) {
        const ButtonLook& look = kButtons[which];
        auto* made = new ImageButton(handle(), kButtonX, look.y, kButtonWidth, kButtonHeight);
        made->setImages(look.normal, look.pressed, look.disabled);
        made->setListener(this);
        toolTip->addHoverTool(loadString(look.tip), made->handle());
        buttons[static_cast<std::size_t>(which)] = made;
    }
    lapDialog = std::make_unique<LapDialog>(*this);
    disableAll();
}

StopWatch::~StopWatch() {
    if (lapList != nullptr) DestroyWindow(lapList);
}

LRESULT StopWatch::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: onEraseBackground(reinterpret_cast<HDC>(wParam)); return 1;
    case WM_PAINT: onPaint(); return 0;
    case WM_PRINTCLIENT: paintReadouts(reinterpret_cast<HDC>(wParam)); return 0;
    default: return Window::handleMessage(message, wParam, lParam);
    }
}

void StopWatch::onClick(ImageButton* clicked) {
    if (clicked == buttons[StartStop])
        startOrStop();
    else if (clicked == buttons[LapReset])
        lapOrReset();
    else if (clicked == buttons[LapList])
        openLapList();
    else if (clicked == buttons[Undo])
        undoLap();
}

// ---- Commands ----------------------------------------------------------------------------

void StopWatch::startOrStop() {
    if (!positioned()) return;
    if (!measuring) {
        ChapterRow now = currentRow();
        marks.start = currentPosition();
        lapStartChapters[0] = player.chapter();
        lapStartRows[0] = now.slotIndex;
        startTime = now.timeStamp;
        measuring = true;
    } else {
        // The segment since the last lap becomes one more lap, even after nine.
        int lap = laps + 1;
        closeLap(lap);
        marks.end = currentPosition();
        total = std::max(0, currentRow().timeStamp - startTime);
        laps = lap;
        enable(StartStop, false);
        enable(LapReset, true);
        enable(Undo, false);
        measuring = false;
        refreshLapList();
    }
    afterCommand();
}

void StopWatch::lapOrReset() {
    if (measuring) {
        if (positioned() && laps < kMaxMarkedLaps) {
            int lap = laps + 1;
            marks.laps[lap - 1] = currentPosition();
            closeLap(lap);
            lapStartChapters[static_cast<std::size_t>(lap)] = player.chapter();
            lapStartRows[static_cast<std::size_t>(lap)] = currentRow().slotIndex;
            laps = lap;
            if (lap >= kMaxMarkedLaps) enable(LapReset, false);
        }
        enable(StartStop, true);
        enable(Undo, laps > 0);
    } else {
        clearLaps();
        if (positioned()) enable(StartStop, true);
    }
    refreshLapList();
    afterCommand();
}

void StopWatch::openLapList() {
    if (lapList != nullptr) {
        SetForegroundWindow(lapList);
        return;
    }
    lapList = lapDialog->showModeless(handle(), SW_SHOW);
    if (lapList != nullptr) enable(LapList, false);
}

void StopWatch::undoLap() {
    // Only laps of a running measurement are taken back: after STOP the last one is the final
    // segment, which has no marker of its own.
    if (!positioned() || !measuring || laps == 0) return;
    marks.laps[laps - 1] = 0;
    --laps;
    enable(Undo, laps > 0);
    if (laps < kMaxMarkedLaps) enable(LapReset, true);
    refreshLapList();
    afterCommand();
}

void StopWatch::closeLap(int lap) {
    ChapterRow now = currentRow();
    auto index = static_cast<std::size_t>(lap - 1);
    int fromChapter = lapStartChapters[index];
    int fromRow = lapStartRows[index];
    lapEndTimes[index] = now.timeStamp;
    lapTimes[index] = std::max(0, now.timeStamp - row(fromChapter, fromRow).timeStamp);
    LapFigures::RowSource rows = [this](int chapter, int at) { return row(chapter, at); };
    lapSpeeds[index] = LapFigures::averageSpeed(rows, fromChapter, fromRow, player.chapter(), now.slotIndex);
}

void StopWatch::clearLaps() {
    startTime = 0;
    total = 0;
    laps = 0;
    lapEndTimes = {};
    lapTimes = {};
    lapSpeeds = {};
    marks = TrackMarkers();
}

void StopWatch::afterCommand() {
    refresh();
    host.updateConsoleControls();
}

// ---- State -------------------------------------------------------------------------------

void StopWatch::reset() {
    measuring = false;
    lapStartChapters = {};
    lapStartRows = {};
    clearLaps();
    player.imageLoader().archive().clearChapterTimeTable();
    disableAll();
    refreshLapList();
    refresh();
}

void StopWatch::disableAll() {
    for (int which = 0; which < kButtonCount; ++which) enable(static_cast<Button>(which), false);
    setEnabled(false);
}

void StopWatch::enableForState() {
    enable(StartStop, measuring || laps == 0);
    enable(LapReset, !(measuring && laps >= kMaxMarkedLaps));
    enable(LapList, lapList == nullptr);
    enable(Undo, measuring && laps > 0);
    setEnabled(true);
}

void StopWatch::onDisplayModeChanged(int mode) {
    if (lapList == nullptr) return;
    if (mode != kContinuousMode) {
        DestroyWindow(lapList);
        lapList = nullptr;
        return;
    }
    refreshLapList();
    enable(LapList, false);
}

void StopWatch::setStartStopEnabled(bool enabled) {
    enable(StartStop, enabled);
}

void StopWatch::lapListClosed() {
    lapList = nullptr;
    if (host.displayMode() == kContinuousMode) enable(LapList, true);
}

int StopWatch::lastMarker() const {
    return laps > 0 && laps <= kMaxMarkedLaps && marks.laps[laps - 1] != 0 ? marks.laps[laps - 1] : marks.start;
}

bool StopWatch::positioned() const {
    int state = player.positionState();
    return state == VideoPlayer::PositionPlaying || state == VideoPlayer::Elsewhere;
}

int StopWatch::currentPosition() const {
    return player.currentFrame() + player.chapter() * VideoPlayer::kSlotsPerChapter;
}

ChapterRow StopWatch::row(int chapter, int index) const {
    return player.imageLoader().archive().chapterRow(chapter, index);
}

ChapterRow StopWatch::currentRow() const {
    return row(player.chapter(), player.currentFrame());
}

void StopWatch::enable(Button which, bool enabled) {
    buttons[which]->setEnabled(enabled);
}

void StopWatch::refreshLapList() {
    if (lapList != nullptr) SendMessageW(lapList, LapDialog::kRefreshMessage, 0, 0);
}

// ---- Drawing -----------------------------------------------------------------------------

std::wstring StopWatch::totalText() const {
    if (measuring) return LapFigures::timeText(std::max(0, currentRow().timeStamp - startTime));
    return laps == 0 ? kNoTime : LapFigures::timeText(total);
}

std::wstring StopWatch::lapTimeText() const {
    return laps == 0 ? kNoTime : LapFigures::timeText(lapTime(laps));
}

std::wstring StopWatch::speedText() const {
    if (laps == 0) return L"  -";
    wchar_t text[16];
    std::swprintf(text, 16, L"%3d", lapAverageSpeed(laps));
    return text;
}

void StopWatch::refresh() {
    // Called with every frame: nothing is drawn while the read-outs stay as they are.
    if (currentLines() == shownLines) return;
    WindowDc window(handle());
    if (window.get() != nullptr) paintReadouts(window.get());
}

std::array<std::wstring, 3> StopWatch::currentLines() const {
    return {totalText(), lapTimeText(), speedText()};
}

void StopWatch::onPaint() {
    PaintScope scope(handle());
    paintReadouts(scope.dc());
}

void StopWatch::paintReadouts(HDC target) {
    RECT client;
    GetClientRect(handle(), &client);
    DoubleBuffer buffer(target, client.right, client.bottom - kButtonArea);
    HDC dc = buffer.dc();
    RECT area = {0, 0, client.right, client.bottom - kButtonArea};
    if (background->empty()) FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
    background->draw(dc, 0, 0);
    shownLines = currentLines();
    for (std::size_t line = 0; line < 3; ++line) lineFonts[line]->draw(dc, kLineX, kLineY[line], shownLines[line]);
}

void StopWatch::onEraseBackground(HDC dc) {
    RECT client;
    GetClientRect(handle(), &client);
    if (background->empty())
        FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    else
        background->draw(dc, 0, 0);
    // The panel does not clip its children: the buttons paint themselves again over it.
    for (ImageButton* made : buttons) InvalidateRect(made->handle(), nullptr, FALSE);
}
