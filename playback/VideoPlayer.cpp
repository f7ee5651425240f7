#include "playback/VideoPlayer.h"

#include "archive/RecordCatalog.h"
#include "base/Exception.h"
#include "base/StringTable.h"
#include "playback/IPlayerHost.h"
#include "playback/IStopwatchControl.h"
#include "playback/Messages.h"
#include "playback/WaveAudioPlayer.h"
#include "resources/resource.h"
#include "ui/GdiScope.h"
#include "ui/MessageBox.h"

#include <mmsystem.h>
#include <shlwapi.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr unsigned kCaptionWarning = 5005;
constexpr unsigned kFolderGone = 5078;
constexpr unsigned kTooManyChapters = 5088;
constexpr unsigned kChapterUnreadable = 5510;
constexpr int kEventRate = 30;
constexpr int kChapterRate = 10;

void warn(unsigned textId, const std::wstring& text, HWND owner) {
    showMessageBox(text.empty() ? loadString(textId) : text, loadString(kCaptionWarning), MB_OK | MB_ICONWARNING, owner);
}

BITMAPINFOHEADER headerOf(const Image& image) {
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = image.width();
    header.biHeight = image.height();
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(image.byteSize());
    return header;
}

}  // namespace

VideoPlayer::VideoPlayer(HWND mainWindow, IPlayerHost& host, ImageLoader::FrameDecoder decoder) : host(host) {
    WindowCreateParams params = childParams(mainWindow, 0, 0, kWidth, kHeight);
    params.style |= WS_CLIPCHILDREN;
    create(params);
    drawDib = DrawDibOpen();
    // The loader's frame clock waits in 1 ms steps; that needs the finest timer period.
    TIMECAPS caps;
    if (timeGetDevCaps(&caps, sizeof caps) == TIMERR_NOERROR) {
        UINT wanted = std::min(std::max(caps.wPeriodMin, 1u), caps.wPeriodMax);
        if (timeBeginPeriod(wanted) == TIMERR_NOERROR) period = wanted;
    }
    sound = new WaveAudioPlayer(handle());
    loader = std::make_unique<ImageLoader>(handle(), std::move(decoder), ImageLoader::FramesInFlight::One);
}

VideoPlayer::~VideoPlayer() {
    close();
    loader.reset();
    if (drawDib != nullptr) DrawDibClose(drawDib);
    if (period != 0) timeEndPeriod(period);
    if (sound != nullptr) DestroyWindow(sound->handle());
}

LRESULT VideoPlayer::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_FRAME_DUE: tick(); return 0;
    case WM_FRAME_READY: onFrameReady(wParam, lParam); return 0;
    case WM_SOUND_DONE: onSoundDone(); return 0;
    case WM_PAINT: onPaint(); return 0;
    case WM_PRINTCLIENT: paintFrame(reinterpret_cast<HDC>(wParam)); return 0;
    case WM_ERASEBKGND: onEraseBackground(reinterpret_cast<HDC>(wParam)); return 1;
    case WM_RBUTTONDOWN:
        if (!inImageMode()) break;
        onRButtonDown();
        return 0;
    case WM_COMMAND:
        // The context menu offers the copy for still images; the main window's Ctrl+C sends
        // it for a video frame as well.
        if (LOWORD(wParam) != IDC_PLAYER_COPY) break;
        copyPicture();
        return 0;
    default: break;
    }
    return Window::handleMessage(message, wParam, lParam);
}

// ---- Opening and closing ---------------------------------------------------------------

void VideoPlayer::openFolder(const std::wstring& path) {
    close();
    repaint(true);
    host.refreshPanels();
    setFrameRate();
    showLoading();
    folder = path;
    try {
        loader->openRecord(RecordCatalog::eventFilePath(path), kDisplayEvent);
    } catch (const Exception& failure) {
        folder.clear();
        repaint(true);
        throw Exception(failure.message());
    }
    info = std::make_unique<VideoInfo07>(loader->archive());
    repaint(true);
    try {
        requestFrame();
    } catch (const DataMissingException&) {
        return;  // the folder went away at once; the record is closed again
    }
    openSound();
    state = Stopped;
    host.refreshPanels();
}

int VideoPlayer::buildChapterList(const std::wstring& chapterFolder) {
    ChapterList list = RecordCatalog::scanContinuousFolder(chapterFolder);
    for (auto& path : chapterPaths) path.clear();
    chapters = static_cast<int>(std::min<std::size_t>(list.paths.size(), kMaxChapters));
    for (int i = 0; i < chapters; ++i) chapterPaths[static_cast<std::size_t>(i)] = list.paths[static_cast<std::size_t>(i)];
    if (list.truncated)
        warn(kTooManyChapters, formatString(kTooManyChapters, {std::to_wstring(kMaxChapters)}), GetParent(handle()));
    return list.totalSlots;
}

bool VideoPlayer::openChapter(int index) {
    if (index < 0 || index >= kMaxChapters || chapterPaths[static_cast<std::size_t>(index)].empty()) return false;
    close();
    repaint(true);
    host.refreshPanels();
    chapterFrameArrived = false;
    repaint(true);
    setFrameRate();
    const std::wstring& path = chapterPaths[static_cast<std::size_t>(index)];
    folder = path.substr(0, path.find_last_of(L'\\') == std::wstring::npos ? 0 : path.find_last_of(L'\\'));
    showLoading();
    host.resetCharts();
    try {
        VideoArchive& archive = loader->archive();
        // While laps are measured the archive must see every chapter in order, for the
        // chapter time table the lap averages are computed from.
        if (stopwatch != nullptr && stopwatch->isMeasuring()) {
            for (int k = archive.chapterIndex() + 1; k < index && k < kMaxChapters; ++k) {
                if (chapterPaths[static_cast<std::size_t>(k)].empty()) continue;
                archive.setChapterIndex(k);
                loader->openRecord(chapterPaths[static_cast<std::size_t>(k)], kDisplayContinuous);
            }
        }
        chapterIndex = index;
        archive.setChapterIndex(index);
        loader->openRecord(path, kDisplayContinuous);
    } catch (const VideoArchiveException&) {
        folder.clear();
        return false;
    } catch (const Exception& failure) {
        folder.clear();
        repaint(true);
        throw Exception(failure.message());
    }
    info = std::make_unique<VideoInfo07>(loader->archive());
    repaint(true);
    host.redrawCharts();
    try {
        requestFrame();
        openSound();
    } catch (const DataMissingException&) {
    }
    state = Stopped;
    host.refreshPanels();
    return true;
}

void VideoPlayer::openImage(const std::wstring& imageFolder) {
    close();
    imageArrived = false;
    frameIntervalMs = 1000 / kEventRate;
    folder = imageFolder;
    if (!folderExists()) {
        folder.clear();
        throw Exception(loadString(kFolderGone));
    }
    showLoading();
    try {
        loader->openImageFile(imagePath);
    } catch (const Exception&) {
        folder.clear();
        throw;
    }
    info = std::make_unique<VideoInfo07>(loader->archive());
    repaint(true);
    loader->armTimer(frameIntervalMs);
    try {
        requestFrame();
    } catch (const DataMissingException&) {
        return;
    }
    state = Stopped;
    position = AtStart;
    host.refreshPanels();
}

void VideoPlayer::close() {
    loader->disarmTimer();
    loader->cancelPending();
    try {
        sound->close();
    } catch (const Exception&) {
    }
    info.reset();
    state = Idle;
    position = NoPosition;
    frame = 0;
    atEnd = false;
    retryPending = false;
    arrivedIndex = -1;
    folder.clear();
    currentImage.reset();
    loader->closeArchive();
}

void VideoPlayer::openSound() {
    try {
        sound->open(loader->archive().soundFileName());
        // A record without sound chunks still gets a sound file, with no samples. Played,
        // it would stop at once and leave the pictures to step one a tick, slower than
        // recorded; without a device they run on the virtual clock at the true pace.
        if (sound->dataLength() == 0) sound->close();
    } catch (const Exception&) {
        // No sound: the pictures run on the audio player's virtual clock.
    }
}

// ---- Playback control --------------------------------------------------------------------

void VideoPlayer::play(int from) {
    if (!info) return;
    state = Playing;
    position = PositionPlaying;
    host.refreshPanels();
    frame = clampFrame(from);
    int fromMs = static_cast<int>(frame * frameIntervalExact);
    startHearing(fromMs);
    try {
        sound->play(fromMs);
    } catch (const Exception&) {
    }
    advance();
}

void VideoPlayer::pause() {
    if (!info) return;
    state = Paused;
    position = Elsewhere;
    host.refreshPanels();
    if (sound->state() == ISoundPlayer::Playing) heardBaseMs = heardPosition();
    try {
        sound->pause();
    } catch (const Exception&) {
    }
    // The frame asked for last may have been refused by a busy loader; paused, no tick asks again.
    if (arrivedIndex != pictureIndex()) {
        try {
            requestFrame();
        } catch (const DataMissingException&) {
        }
    }
}

void VideoPlayer::resume() {
    if (!info) return;
    state = Playing;
    position = PositionPlaying;
    host.refreshPanels();
    startHearing(heardBaseMs);
    try {
        sound->resume();
    } catch (const Exception&) {
    }
    advance();
}

void VideoPlayer::halt() {
    if (!info) return;
    state = Stopped;
    host.refreshPanels();
    try {
        sound->stop();
    } catch (const Exception&) {
    }
}

void VideoPlayer::seek(int target) {
    if (state == Idle) return;
    if (state == Playing || state == Paused) halt();
    int wanted = clampFrame(target);
    if (wanted == frame) return;
    if (std::abs(wanted - frame) > kFarSeekFrames) {
        currentImage.reset();
        repaint(false);
    }
    frame = wanted;
    try {
        requestFrame();
        sync();
    } catch (const DataMissingException&) {
    }
}

void VideoPlayer::seekGlobal(int playFlag, int absolute) {
    if (total < absolute) return;
    int wanted = absolute / kSlotsPerChapter;
    if (chapters > 0 && wanted >= chapters) wanted = chapters - 1;
    if (wanted != chapterIndex && wanted < chapters) {
        if (stopwatch != nullptr) stopwatch->beginChapterChange();
        chapterIndex = wanted;
        if (!openChapter(wanted)) {
            if (stopwatch != nullptr) stopwatch->reset();
            host.updateConsoleControls();
            host.clearDisplay();
            warn(kChapterUnreadable, {}, handle());
            return;
        }
        tick();
        if (currentMode() == kDisplayContinuous && stopwatch != nullptr) stopwatch->enableForState();
    }
    frame = clampFrame(absolute - chapterIndex * kSlotsPerChapter);
    if (playFlag == 1) {
        if (state == Paused)
            resume();
        else
            play(frame);
        return;
    }
    host.refreshPanels();
    if (position == NoPosition || position == AtStart) position = frame == 0 ? AtStart : Elsewhere;
    try {
        requestFrame();
        sync();
    } catch (const DataMissingException&) {
    }
    if (stopwatch != nullptr && stopwatch->lapCount() == 0) stopwatch->setStartStopEnabled(position != AtStart);
    if (frame <= 0 && chapterIndex == 0) {
        endMeasuring();
        position = AtStart;
        seek(0);
    }
}

// ---- The frame clock ---------------------------------------------------------------------

void VideoPlayer::advance(int delayMs) {
    atEnd = false;
    retryPending = false;
    bool awaitingChapter = mode == kDisplayContinuous && !chapterFrameArrived;
    if (mode == kDisplayImage)
        frame = 0;
    else if (awaitingChapter)
        frame = clampFrame(frame);  // the chapter's first picture is not there yet: ask again
    else
        frame = clampFrame(frame + 1);
    // Waiting a whole interval for the chapter's first picture would find the next frame due
    // already at the first tick after it, and that frame would never be asked for.
    if (awaitingChapter) delayMs = kChapterPollMs;
    loader->armTimer(delayMs > 0 ? delayMs : frameIntervalMs);
    try {
        requestFrame();
    } catch (const DataMissingException&) {
    }
}

void VideoPlayer::tick() {
    // A tick left over from a record closed since has nothing to do.
    if (!info) return;
    switch (currentMode()) {
    case kDisplayImage:
        if (!imageArrived) advance();
        break;
    case kDisplayContinuous:
        if (!chapterFrameArrived) {
            advance();
            break;
        }
        retryRefusedRequest();
        sync();
        break;
    default:
        retryRefusedRequest();
        sync();
        break;
    }
}

void VideoPlayer::retryRefusedRequest() {
    if (!retryPending || state == Playing) return;
    retryPending = false;
    try {
        requestFrame();
    } catch (const DataMissingException&) {
    }
}

void VideoPlayer::sync() {
    host.refreshPanels();
    int clockMs = -1;
    switch (sound->state()) {
    case ISoundPlayer::Playing:
        clockMs = heardPosition();
        frame = clampFrame(static_cast<int>(clockMs / frameIntervalExact));
        break;
    case ISoundPlayer::NoDevice:
        if (state != Playing) return;
        // May run one frame past the end; the check below ends the record then.
        clockMs = sound->virtualPosition();
        frame = static_cast<int>(clockMs / frameIntervalExact);
        break;
    default: break;
    }
    if (state != Playing) return;
    if (frame < frameCount() - 1) {
        advance(clockMs < 0 ? frameIntervalMs : delayToNextFrame(clockMs));
        return;
    }
    atEnd = true;
    if (sound->state() != ISoundPlayer::Playing) endOfRecord();
}

void VideoPlayer::startHearing(int fromMs) {
    heardBaseMs = fromMs;
    heardSince = timeGetTime();
}

int VideoPlayer::heardPosition() {
    // The device reports the position of what it has handed to the sound server, which
    // starts about 100 ms ahead of what is heard (the first frames would be due before they
    // could be shown). What is heard never runs ahead of the time since playback started, and
    // falls behind it when the device runs late, so the picture takes the smaller of the two.
    int handedOver = sound->position();
    int sinceStart = heardBaseMs + static_cast<int>(timeGetTime() - heardSince);
    return std::min(handedOver, sinceStart);
}

int VideoPlayer::delayToNextFrame(int clockMs) const {
    // The next tick comes just after the frame requested now becomes due. A fixed interval
    // would drift against the clock by the timer's latency (about a millisecond a tick) and
    // so skip a frame every few dozen; waking at the boundary keeps one tick per frame.
    int due = static_cast<int>(clockMs / frameIntervalExact);
    double nextBoundary = (due + 1) * frameIntervalExact;
    int delay = static_cast<int>(std::ceil(nextBoundary - clockMs)) + kTickMarginMs;
    return std::clamp(delay, 1, frameIntervalMs + kTickMarginMs);
}

void VideoPlayer::requestFrame() {
    if (!folderExists()) {
        host.clearDisplay();
        if (stopwatch != nullptr) stopwatch->reset();
        // The main window's clear display closes the record; make sure of it, so that no
        // further tick finds the folder gone and repeats the message.
        if (info) close();
        warn(kFolderGone, {}, GetParent(handle()));
        throw DataMissingException();
    }
    if (loader->request(pictureIndex())) return;
    // A busy loader drops the request. Playing, the next tick asks again; stopped or paused
    // no tick would, and the picture would stay on the frame that was being decoded.
    if (state != Playing) {
        retryPending = true;
        loader->armTimer(kRetryMs);
    }
}

int VideoPlayer::pictureIndex() const {
    int index = clampFrame(frame);
    if (!info || info->slotsPerPicture() != 1) index &= ~1;
    return index;
}

void VideoPlayer::endOfRecord() {
    bool lastChapter = chapterIndex >= chapters - 1;
    if (lastChapter) endMeasuring();
    state = Stopped;
    position = AtStart;
    host.refreshPanels();
    if (currentMode() != kDisplayContinuous) {
        seek(0);
        return;
    }
    if (lastChapter) {
        position = Elsewhere;
        host.refreshPanels();
        return;
    }
    chapterIndex += 1;
    loader->archive().setChapterIndex(chapterIndex);
    if (openChapter(chapterIndex)) {
        play(frame);
        return;
    }
    if (stopwatch != nullptr) stopwatch->reset();
    host.clearDisplay();
    warn(kChapterUnreadable, {}, handle());
}

void VideoPlayer::endMeasuring() {
    if (stopwatch == nullptr) return;
    if (stopwatch->isMeasuring())
        stopwatch->pressStartStop();
    else
        stopwatch->setStartStopEnabled(false);
}

void VideoPlayer::onFrameReady(WPARAM index, LPARAM lParam) {
    std::unique_ptr<Image> arrived(reinterpret_cast<Image*>(lParam));
    // A picture decoded for a record closed since is not shown.
    if (!info) {
        arrived.reset();
        loader->frameReceived();
        return;
    }
    int current = currentMode();
    if (current == kDisplayImage) imageArrived = true;
    if (current == kDisplayContinuous) chapterFrameArrived = true;
    if (arrived) currentImage = std::move(arrived);
    // The picture it replaced is freed: the next frame may be decoded into its buffer.
    loader->frameReceived();
    arrivedIndex = static_cast<int>(index);
    repaint(false);
    // Stopped or paused, the picture must come to rest on the frame the position says: a
    // step or seek made while this one was decoding was refused, or asked for in vain.
    if (state != Playing && arrivedIndex != pictureIndex()) {
        try {
            requestFrame();
        } catch (const DataMissingException&) {
        }
    }
}

void VideoPlayer::onSoundDone() {
    if (atEnd && sound->isEnded()) endOfRecord();
}

// ---- Helpers -----------------------------------------------------------------------------

int VideoPlayer::currentMode() const {
    return host.displayMode();
}

bool VideoPlayer::inImageMode() const {
    return currentMode() == kDisplayImage;
}

void VideoPlayer::setFrameRate() {
    int rate = currentMode() == kDisplayContinuous ? kChapterRate : kEventRate;
    frameIntervalMs = 1000 / rate;
    frameIntervalExact = 1000.0 / rate;
}

int VideoPlayer::clampFrame(int index) const {
    int last = frameCount() - 1;
    if (index >= last) return std::max(last, 0);
    return std::max(index, 0);
}

bool VideoPlayer::folderExists() const {
    return !folder.empty() && PathIsDirectoryW(folder.c_str());
}

void VideoPlayer::repaint(bool erase) {
    InvalidateRect(handle(), nullptr, erase ? TRUE : FALSE);
    UpdateWindow(handle());
}

void VideoPlayer::setGamma(double value) {
    gamma.setGamma(value);
    repaint(false);
}

std::int64_t VideoPlayer::recordStartTime() const {
    if (!info) return 0;
    if (const FrameRecord* event = info->eventFrame()) return event->dateTime;
    for (int i = 0; i < info->slotCount(); ++i)
        if (const FrameRecord* record = info->frameAt(i)) return record->dateTime;
    return 0;
}

// ---- Painting ----------------------------------------------------------------------------

RECT VideoPlayer::letterbox(int width, int height) {
    int w;
    int h;
    if (width / static_cast<double>(kWidth) < height / static_cast<double>(kHeight)) {
        w = width;
        h = static_cast<int>(width * static_cast<double>(kHeight) / kWidth);
    } else {
        h = height;
        w = static_cast<int>(height * static_cast<double>(kWidth) / kHeight);
    }
    int x = (width - w) / 2;
    int y = (height - h) / 2;
    return RECT{x, y, x + w, y + h};
}

void VideoPlayer::onPaint() {
    PaintScope scope(handle());
    paintFrame(scope.dc());
}

std::unique_ptr<Image> VideoPlayer::shownPicture() const {
    if (!currentImage) return nullptr;
    // The brightness goes onto a copy: the decoded frame stays as it came, for the next change.
    std::unique_ptr<Image> shown = currentImage->clone();
    gamma.apply(*shown);
    return shown;
}

void VideoPlayer::paintFrame(HDC dc) {
    RECT client;
    GetClientRect(handle(), &client);
    if (!currentImage) {
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        return;
    }
    std::unique_ptr<Image> copy;
    const Image& shown = gamma.adjusted(*currentImage, copy);
    RECT place = letterbox(client.right, client.bottom);
    int width = place.right - place.left;
    int height = place.bottom - place.top;
    BITMAPINFOHEADER header = headerOf(shown);
    if (drawDib != nullptr) {
        // DrawDib only reads the bits; its interface just does not say so.
        DrawDibDraw(drawDib, dc, place.left, place.top, width, height, &header, const_cast<std::uint8_t*>(shown.pixels()),
                    0, 0, shown.width(), shown.height(), 0);
    } else {
        int oldMode = SetStretchBltMode(dc, HALFTONE);
        StretchDIBits(dc, place.left, place.top, width, height, 0, 0, shown.width(), shown.height(), shown.pixels(),
                      reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, SRCCOPY);
        SetStretchBltMode(dc, oldMode);
    }
}

void VideoPlayer::onEraseBackground(HDC dc) {
    RECT client;
    GetClientRect(handle(), &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

void VideoPlayer::showLoading() {
    WindowDc window(handle());
    if (window.get() == nullptr) return;
    RECT client;
    GetClientRect(handle(), &client);
    FillRect(window.get(), &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    COLORREF oldText = SetTextColor(window.get(), RGB(255, 255, 255));
    COLORREF oldBack = SetBkColor(window.get(), RGB(0, 0, 0));
    DrawTextW(window.get(), L"Now Loading...", -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SetBkColor(window.get(), oldBack);
    SetTextColor(window.get(), oldText);
}

// ---- Image mode: the context menu and the clipboard ----------------------------------------

void VideoPlayer::onRButtonDown() {
    HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDM_PLAYER_IMAGE_MENU));
    if (menu == nullptr) return;
    POINT at;
    GetCursorPos(&at);
    TrackPopupMenu(GetSubMenu(menu, 0), TPM_LEFTALIGN | TPM_LEFTBUTTON, at.x, at.y, 0, handle(), nullptr);
    DestroyMenu(menu);
}

void VideoPlayer::copyPicture() {
    RECT client;
    GetClientRect(handle(), &client);
    RECT place = letterbox(client.right, client.bottom);
    int width = place.right - place.left;
    int height = place.bottom - place.top;
    WindowDc window(handle());
    GdiObject bitmap(CreateCompatibleBitmap(window.get(), width, height));
    MemoryDc memory(window.get());
    if (bitmap.get() == nullptr || memory.get() == nullptr) return;
    {
        Selection selected(memory.get(), bitmap.get());
        BitBlt(memory.get(), 0, 0, width, height, window.get(), place.left, place.top, SRCCOPY);
    }
    if (!OpenClipboard(handle())) return;
    EmptyClipboard();
    // The clipboard owns the bitmap once it took it.
    if (SetClipboardData(CF_BITMAP, bitmap.get()) != nullptr) bitmap.release();
    CloseClipboard();
}
