#include "app/MainWindow.h"

#include "app/AboutDialog.h"
#include "app/Application.h"
#include "app/DateTimeDialog.h"
#include "app/DialogMutex.h"
#include "app/GThresholdDialog09.h"
#include "app/FolderDialog.h"
#include "app/HelpPage.h"
#include "app/ProgramPath.h"
#include "app/SdCardRestore.h"
#include "app/SiblingFolderSearch.h"
#include "archive/FileSystem.h"
#include "archive/RecordCatalog.h"
#include "base/Exception.h"
#include "base/StringTable.h"
#include "playback/Thumbnail.h"
#include "playback/VideoPlayer.h"
#include "resources/resource.h"
#include "ui/AnalogSpeedMeter.h"
#include "ui/CircleChart.h"
#include "ui/ConfigPanel.h"
#include "ui/ConsolePanel.h"
#include "ui/InfoPanel.h"
#include "ui/LineChart.h"
#include "ui/MessageBox.h"
#include "ui/PlayTrackBar.h"
#include "ui/SpeedMeter.h"
#include "ui/StopWatch.h"
#include "ui/WindowException.h"


namespace {

constexpr unsigned kWarningCaption = 5005;
constexpr unsigned kQuestionCaption = 5013;
constexpr unsigned kHelpFailedText = 5058;
constexpr unsigned kCloseQuestion = 5059;
constexpr unsigned kNoNextRecordText = 5065;
constexpr unsigned kNoPreviousRecordText = 5066;
constexpr unsigned kFolderGoneText = 5078;
constexpr unsigned kNoUsableDataText = 5505;
constexpr unsigned kUnreadableDataText = 5510;
constexpr unsigned kImageLimitText = 5516;
constexpr unsigned kFirstModeName = 5506;  // 5506 event, 5507 image, 5508 continuous
constexpr std::size_t kMaxCaptionChars = 1023;

const wchar_t* const kClassName = L"MainWindow";
const wchar_t* const kEventMarkerFile = L"VideoInf.dat";
const wchar_t* const kEventFile = L"Video.dvt";

ATOM classAtom = 0;

}  // namespace

ATOM MainWindow::registerClass() {
    if (classAtom != 0) return classAtom;
    HINSTANCE instance = Application::instance();
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = &DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kIconId));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszClassName = kClassName;
    classAtom = RegisterClassExW(&windowClass);
    if (classAtom == 0) throw WindowException(static_cast<std::uint32_t>(GetLastError()));
    return classAtom;
}

MainWindow::MainWindow() : folder(programDirectory()), drive(programDirectory()) {
    HINSTANCE instance = Application::instance();
    ATOM atom = registerClass();
    HMENU menu = LoadMenuW(instance, MAKEINTRESOURCEW(kMenuId));
    DWORD osMajor = Application::osVersion().dwMajorVersion;
    SIZE size = MainWindowLayout::windowSize(osMajor);
    POINT place = MainWindowLayout::windowPosition(
        size, SIZE{GetSystemMetrics(SM_CXFULLSCREEN), GetSystemMetrics(SM_CYFULLSCREEN)});

    WindowCreateParams params;
    params.extendedStyle = kExtendedStyle;
    params.className = MAKEINTATOM(atom);
    params.title = Application::name().c_str();
    params.style = kStyle;
    params.x = place.x;
    params.y = place.y;
    params.width = size.cx;
    params.height = size.cy;
    params.menuOrChildId = menu;
    params.instance = instance;
    try {
        create(params);
    } catch (...) {
        if (menu != nullptr) DestroyMenu(menu);
        throw;
    }

    leftSide = AlphaImage::fromResource(kLeftSideImageId);
    rightSide = AlphaImage::fromResource(kRightSideImageId);

    player = new VideoPlayer(handle(), *this);
    createPanels();

    if (GetFocus() == nullptr) SetFocus(handle());
    applyModeLayout();
}

MainWindow::~MainWindow() = default;

// In the order the panels are stacked: the last made lies on top where places touch.
void MainWindow::createPanels() {
    panels.console = new ConsolePanel(handle(), *this, *player);
    panels.stopwatch = new StopWatch(handle(), *this, *player);
    player->setStopwatch(panels.stopwatch);
    panels.console->setStopwatch(panels.stopwatch);
    panels.console->updateControls();
    panels.config = new ConfigPanel(handle(), [this] { openFolder(); });
    panels.info = new InfoPanel(handle(), *this);
    panels.lineChart = new LineChart(handle(), *this);
    panels.circleChart = new CircleChart(handle(), *this, kInitialCircleRange);
    panels.analogSpeedMeter = new AnalogSpeedMeter(handle(), *this);
    panels.speedMeter = new SpeedMeter(handle(), *this);
    panels.thumbnails = new Thumbnail(handle(), *this);
}

LRESULT MainWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY: PostQuitMessage(0); return 0;
    case WM_SIZE: onSize(LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_ACTIVATE: return 0;
    case WM_PAINT: onPaint(); return 0;
    case WM_CLOSE: requestClose(); return 0;
    case WM_ERASEBKGND: onEraseBackground(reinterpret_cast<HDC>(wParam)); return 0;
    case WM_MOUSEACTIVATE: return 0;
    case WM_GETMINMAXINFO: onGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam)); return 0;
    case WM_COMMAND: onCommand(LOWORD(wParam), reinterpret_cast<HWND>(lParam)); return 0;
    case WM_INITMENUPOPUP: exports.updateMenu(reinterpret_cast<HMENU>(wParam)); return 0;
    default: return Window::handleMessage(message, wParam, lParam);
    }
}

void MainWindow::onSize(int width, int height) {
    // An enabled bottom strip takes the bottom row: the line chart, or the thumbnail strip
    // in image mode, whose row stays free there.
    bool lineChartRow = panels.lineChart != nullptr && panels.lineChart->isEnabled();
    bool thumbnailRow = panels.thumbnails != nullptr && panels.thumbnails->isEnabled();
    places = MainWindowLayout::forClient(width, height, lineChartRow, thumbnailRow);
    placePanels();
}

void MainWindow::placePanels() {
    auto place = [](Window* panel, const PanelPlace& where) {
        if (panel != nullptr) MoveWindow(panel->handle(), where.x, where.y, where.width, where.height, TRUE);
    };
    if (panels.lineChart != nullptr && panels.lineChart->isEnabled()) place(panels.lineChart, places.lineChart);
    if (panels.thumbnails != nullptr && panels.thumbnails->isEnabled()) place(panels.thumbnails, places.thumbnails);
    place(panels.config, places.configPanel);
    place(panels.circleChart, places.circleChart);
    place(panels.analogSpeedMeter, places.analogSpeedMeter);
    place(panels.info, places.infoPanel);
    place(panels.speedMeter, places.speedMeter);
    place(player, places.videoPlayer);
    place(panels.console, places.console);
    place(panels.stopwatch, places.stopWatch);
}

void MainWindow::onPaint() {
    PAINTSTRUCT paint;
    BeginPaint(handle(), &paint);
    EndPaint(handle(), &paint);
}

void MainWindow::onEraseBackground(HDC dc) {
    RECT client;
    GetClientRect(handle(), &client);
    int width = client.right;
    int height = client.bottom;
    HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
    if (!leftSide || !rightSide || leftSide->empty() || rightSide->empty()) {
        FillRect(dc, &client, face);
        return;
    }
    int sideHeight = height - MainWindowLayout::kBottomStripHeight;
    leftSide->draw(dc, 0, 0, MainWindowLayout::kSideWidth, sideHeight);
    rightSide->draw(dc, width - MainWindowLayout::kSideWidth, 0, MainWindowLayout::kSideWidth, sideHeight);
    // What no side picture covers stays plain while a panel is not there to cover it.
    RECT middle = {MainWindowLayout::kSideWidth, 0, width - MainWindowLayout::kSideWidth, sideHeight};
    RECT bottom = {0, sideHeight, width, height};
    FillRect(dc, &middle, face);
    FillRect(dc, &bottom, face);
}

void MainWindow::onGetMinMaxInfo(MINMAXINFO* limits) {
    SIZE minimum = MainWindowLayout::minimumTrackingSize(Application::osVersion().dwMajorVersion);
    limits->ptMinTrackSize.x = minimum.cx;
    limits->ptMinTrackSize.y = minimum.cy;
}

void MainWindow::onCommand(WORD command, HWND control) {
    if (control == nullptr) runCommand(command);
}

void MainWindow::runCommand(WORD command) {
    if (command == kExitCommand) {
        SendMessageW(handle(), WM_CLOSE, 0, 0);
        return;
    }
    if (PlaybackKeys::handles(command)) {
        keys.run(command);
        return;
    }
    pausePlayback();
    if (RecordExportCommands::handles(command)) {
        exports.run(command);
        return;
    }
    switch (command) {
    case kOpenCommand: openFolder(); break;
    case kHelpCommand: showHelp(); break;
    case kAboutCommand: showAbout(); break;
    case kDeviceSettingsCommand: runSettingsDialog<GThresholdDialog09>(); break;
    case kClockSettingsCommand: runSettingsDialog<DateTimeDialog>(); break;
    case kRestoreCommand: restoreCard(); break;
    default: break;
    }
}

// One settings dialog at a time across running copies: the lock is taken before the dialog
// is made and let go after it is gone. A dialog that ends with OK has written to the card
// it was given, which the next settings dialog then starts from.
template <typename SettingsDialog>
void MainWindow::runSettingsDialog() {
    DialogMutex lock(handle());
    SettingsDialog dialog(drive);
    if (dialog.showModal(handle()) == IDOK) drive = dialog.driveFolder();
}

void MainWindow::showHelp() {
    try {
        HelpPage::show();
    } catch (const Exception&) {
        warn(loadString(kHelpFailedText));
    }
}

void MainWindow::showAbout() {
    AboutDialog about;
    about.showModal(handle());
}

void MainWindow::restoreCard() {
    SdCardRestore restore(handle());
    restore.run(drive);
}

void MainWindow::applyModeLayout() {
    // Image records have no G log: no line chart, and a grey circle and dial.
    bool recordsWithTelemetry = mode != kDisplayImage;
    panels.lineChart->setEnabled(recordsWithTelemetry);
    panels.lineChart->setVisible(recordsWithTelemetry);
    panels.circleChart->setEnabled(recordsWithTelemetry);
    panels.circleChart->updateRangeButtons();
    panels.analogSpeedMeter->setEnabled(recordsWithTelemetry);
    // Image mode's strip takes the bottom row instead.
    panels.thumbnails->setEnabled(!recordsWithTelemetry);
    panels.thumbnails->setVisible(!recordsWithTelemetry);
    RECT client;
    GetClientRect(handle(), &client);
    onSize(client.right, client.bottom);
    if (panels.console != nullptr) panels.console->setDisplayMode(mode);
    panels.circleChart->discardBitmap();
    InvalidateRect(panels.analogSpeedMeter->handle(), nullptr, TRUE);
}

// A record is about to be opened: the charts forget the old one and the dial returns to 0.
void MainWindow::resetRecordPanels() {
    panels.lineChart->invalidateGraph();
    panels.circleChart->discardBitmap();
    panels.analogSpeedMeter->reset();
}

void MainWindow::repaintRecordPanels() {
    panels.lineChart->invalidateGraph();
    panels.circleChart->discardBitmap();
    InvalidateRect(panels.analogSpeedMeter->handle(), nullptr, TRUE);
}

void MainWindow::pausePlayback() {
    if (player != nullptr && player->playState() == VideoPlayer::Playing) player->pause();
}

bool MainWindow::isDataLoaded() const {
    return (player != nullptr && player->frameInfo() != nullptr) ||
           (panels.thumbnails != nullptr && (panels.thumbnails->imageCount() > 0 || panels.thumbnails->isDone()));
}

const IVideoInfo* MainWindow::frameInfo() const {
    return player != nullptr ? player->frameInfo() : nullptr;
}

int MainWindow::currentFrame() const {
    return player != nullptr ? player->currentFrame() : 0;
}

bool MainWindow::recordProtected() const {
    return player != nullptr && player->frameInfo() != nullptr && player->imageLoader().archive().isProtected();
}

void MainWindow::refreshPanels() {
    if (panels.console != nullptr) panels.console->updateControls();
    if (GetFocus() == nullptr) SetFocus(handle());
    if (panels.stopwatch != nullptr) panels.stopwatch->refresh();
    if (panels.speedMeter == nullptr) return;  // the player reports before the panels exist
    if (panels.lineChart->isEnabled()) panels.lineChart->refreshCursor();
    panels.speedMeter->refresh();
    panels.circleChart->refresh(player->positionState());
    panels.analogSpeedMeter->refresh();
    panels.info->refresh();
}

void MainWindow::resetCharts() {
    panels.lineChart->invalidateGraph();
    panels.circleChart->discardBitmap();
    panels.info->repaint();
}

void MainWindow::redrawCharts() {
    if (panels.lineChart->isEnabled()) panels.lineChart->invalidateGraph();
    panels.circleChart->discardBitmap();
    panels.info->repaint();
}

void MainWindow::updateConsoleControls() {
    if (panels.console != nullptr) panels.console->updateControls();
}

void MainWindow::closeRecord() {
    player->close();
    InvalidateRect(player->handle(), nullptr, TRUE);
    refreshPanels();
    panels.info->repaint();
}

// Opens what the display mode calls for; throws the reader's Exception when it cannot.
void MainWindow::openRecord(const std::wstring& path) {
    player->setMode(mode);
    if (mode != kDisplayImage) panels.thumbnails->reset();
    closeRecord();
    switch (mode) {
    case kDisplayEvent:
        resetRecordPanels();
        player->openFolder(path);
        break;
    case kDisplayContinuous:
        panels.console->positionBar().setPosition(panels.console->positionBar().rangeMinimum(), false);
        resetRecordPanels();
        player->setTotalFrames(player->buildChapterList(path));
        if (!player->openChapter(0)) throw VideoArchiveException(loadString(kUnreadableDataText));
        break;
    default:
        openImageFolder(path);
        break;
    }
}

// The strip fills itself in the background and has the first record shown when it is done.
void MainWindow::openImageFolder(const std::wstring& path) {
    if (panels.thumbnails->openFolder(path)) warn(loadString(kImageLimitText));
}

void MainWindow::showImage(int index) {
    try {
        player->setImagePath(index < panels.thumbnails->imageCount() ? panels.thumbnails->imagePath(index) : std::wstring());
        player->openImage(folder);
        updateCaption();
    } catch (const Exception& failure) {
        updateCaption();
        warn(failure.message());
    }
}

std::wstring MainWindow::captionText(bool loaded, int displayMode, const std::wstring& folder,
                                     const std::wstring& applicationName) {
    if (!loaded) return applicationName;
    int modeIndex = displayMode >= 0 && displayMode <= 2 ? displayMode : 0;
    std::wstring text =
        fillFields(L"%s %s - %s", {loadString(kFirstModeName + modeIndex), folder, applicationName});
    if (text.size() > kMaxCaptionChars) text.resize(kMaxCaptionChars);
    return text;
}

void MainWindow::updateCaption() {
    SetWindowTextW(handle(), captionText(isDataLoaded(), mode, folder, Application::name()).c_str());
    panels.info->repaint();
    InvalidateRect(handle(), nullptr, TRUE);
}

void MainWindow::requestClose() {
    pausePlayback();
    if (isDataLoaded() &&
        showMessageBox(loadString(kCloseQuestion), loadString(kQuestionCaption), MB_OKCANCEL | MB_ICONQUESTION,
                       handle()) != IDOK)
        return;
    DestroyWindow(handle());
}

void MainWindow::openFolder() {
    pausePlayback();
    if (!lapsMayBeErased()) return;
    std::wstring chosen = folder;
    if (!FolderDialog::chooseRecordFolder(handle(), chosen, mode)) return;
    loadFolder(chosen);
}

void MainWindow::loadFolder(const std::wstring& path) {
    pausePlayback();
    folder = path;
    try {
        panels.stopwatch->reset();
        panels.console->updateControls();
        if (!RecordCatalog::decideDisplayMode(path, mode)) {
            closeRecord();
            panels.thumbnails->reset();
            throw Exception(loadString(kNoUsableDataText));
        }
        applyModeLayout();
        panels.stopwatch->onDisplayModeChanged(mode);
        openRecord(path);
        repaintRecordPanels();
        updateCaption();
        if (mode != kDisplayImage) player->play(player->currentFrame());
        if (mode == kDisplayContinuous) panels.stopwatch->enableForState();
    } catch (const Exception& failure) {
        fallBackAfterFailedLoad();
        warn(failure.message());
    }
}

void MainWindow::fallBackAfterFailedLoad() {
    InvalidateRect(player->handle(), nullptr, TRUE);
    mode = kDisplayEvent;
    applyModeLayout();
    panels.thumbnails->reset();
    panels.stopwatch->onDisplayModeChanged(mode);
    panels.lineChart->invalidateGraph();
    panels.circleChart->discardBitmap();
    panels.analogSpeedMeter->reset();
    panels.speedMeter->setLastSpeed(0);
    InvalidateRect(panels.speedMeter->handle(), nullptr, TRUE);
    updateCaption();
}

bool MainWindow::lapsMayBeErased() {
    if (panels.stopwatch->lapCount() == 0) return true;
    return showMessageBox(loadString(IDS_LAPS_WILL_BE_ERASED), loadString(kQuestionCaption),
                          MB_OKCANCEL | MB_ICONQUESTION, handle()) == IDOK;
}

void MainWindow::goToAdjacentRecord(bool previous) {
    pausePlayback();
    std::wstring sibling;
    try {
        sibling = SiblingFolderSearch::find(folder, previous);
        FileSystem& files = FileSystem::current();
        if (mode == kDisplayContinuous) {
            if (RecordCatalog::countMatches(sibling, RecordCatalog::kChapterPattern) == 0)
                throw Exception(std::wstring());
        } else if (!files.exists(joinPath(sibling, kEventMarkerFile)) && !files.exists(joinPath(sibling, kEventFile))) {
            throw Exception(std::wstring());
        }
    } catch (const DataMissingException&) {
        clearDisplay();
        panels.stopwatch->reset();
        warn(loadString(kFolderGoneText));
        return;
    } catch (const Exception&) {
        warn(loadString(previous ? kNoPreviousRecordText : kNoNextRecordText));
        return;
    }
    if (mode == kDisplayContinuous) {
        if (!lapsMayBeErased()) return;
        panels.console->positionBar().setPosition(panels.console->positionBar().rangeMinimum(), false);
    }
    loadFolder(sibling);
}

void MainWindow::clearDisplay() {
    closeRecord();
    panels.thumbnails->reset();
    // A measurement over a record that is gone means nothing any more.
    panels.stopwatch->reset();
    repaintRecordPanels();
    mode = kDisplayEvent;
    applyModeLayout();
    updateCaption();
    InvalidateRect(handle(), nullptr, TRUE);
    UpdateWindow(handle());
}

void MainWindow::warn(const std::wstring& text) {
    showMessageBox(text, loadString(kWarningCaption), MB_OK | MB_ICONWARNING, handle());
}
