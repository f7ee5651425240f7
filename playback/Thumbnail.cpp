#include "playback/Thumbnail.h"

#include "playback/IThumbnailHost.h"
#include "playback/decode/ImageDecoder.h"
#include "playback/ImageListView.h"
#include "playback/Messages.h"
#include "base/Exception.h"
#include "ui/ImageButton.h"
#include "ui/MessageBox.h"
#include "base/StringTable.h"
#include "ui/TrackToolTip.h"

#include <mmsystem.h>
#include <shlwapi.h>

#include <algorithm>
#include <ctime>

namespace {

constexpr unsigned kWarningCaption = 5005;  // "警告"
constexpr unsigned kFolderGoneText = 5078;  // "現在開いているフォルダが移動または削除されました。"
constexpr unsigned kUnreadableText = 5510;  // "該当データを読み込めません。"

constexpr int kLeftPieceId = 426;
constexpr int kMiddlePieceId = 427;
constexpr int kRightPieceId = 428;

struct ButtonLook {
    int normal, pressed, disabled;
    unsigned toolTipText;
};
// In the order of Thumbnail::Button.
constexpr ButtonLook kButtonLooks[] = {
    {442, 443, 444, 5512},  // first: "最初へ"
    {436, 437, 438, 5074},  // previous: "前へ"
    {433, 434, 435, 5075},  // next: "次へ"
    {439, 440, 441, 5513},  // last: "最後へ"
};

const wchar_t* const kUnknownCaption = L"----/--/-- --:--:--";

}  // namespace

namespace {

// Only a thumbnail is made of each record, so its frame is decoded no larger than needed.
std::unique_ptr<Image> decodeForThumbnail(VideoArchive& archive, int index) {
    std::vector<std::uint8_t> jpeg = archive.restoreFrameJpeg(index);
    if (jpeg.empty()) return nullptr;
    return decodeJpegReduced(jpeg.data(), jpeg.size(), ImageListView::kThumbnailWidth, ImageListView::kThumbnailHeight);
}

}  // namespace

Thumbnail::Thumbnail(HWND mainWindow, IThumbnailHost& host, ImageLoader::FrameDecoder decoder)
    : host(host), frameDecoder(decoder ? std::move(decoder) : decodeForThumbnail) {
    WindowCreateParams params = childParams(mainWindow, 0, 0, 0, 0);
    params.extendedStyle = WS_EX_CONTROLPARENT;
    create(params);
    backgroundBrush.reset(CreateSolidBrush(RGB(0, 0, 0)));
    leftPiece = AlphaImage::fromResource(kLeftPieceId);
    middlePiece = AlphaImage::fromResource(kMiddlePieceId);
    rightPiece = AlphaImage::fromResource(kRightPieceId);
    createButtons();
    list = new ImageListView(handle());
    toolTip = new TrackToolTip(handle());
    for (int which = FirstButton; which <= LastButton; ++which)
        toolTip->addHoverTool(loadString(kButtonLooks[which].toolTipText), buttons[which]->handle());
    updateButtons();
}

Thumbnail::~Thumbnail() {
    reset();
    // The loader's worker ends with the loader; nothing it posts reaches this window again.
    loader.reset();
}

void Thumbnail::createButtons() {
    const int x[] = {kFirstButtonX, kPreviousButtonX, -kNextButtonFromRight, -kLastButtonFromRight};
    for (int which = FirstButton; which <= LastButton; ++which) {
        const ButtonLook& look = kButtonLooks[which];
        // The right-hand pair is placed when the strip gets its width.
        buttons[which] = new ImageButton(handle(), x[which] > 0 ? x[which] : 0, kButtonTop, kButtonSize, kButtonSize);
        buttons[which]->setImages(look.normal, look.pressed, look.disabled);
        buttons[which]->setListener(this);
    }
}

LRESULT Thumbnail::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE: onSize(LOWORD(lParam)); return 0;
    case WM_ERASEBKGND: onEraseBackground(reinterpret_cast<HDC>(wParam)); return 1;
    case WM_NOTIFY:
        if (isFromList(lParam)) return onListNotify(reinterpret_cast<NMHDR*>(lParam));
        return Window::handleMessage(message, wParam, lParam);
    case WM_FRAME_DUE: onLoadTimer(); return 0;
    case WM_FRAME_READY: onFrameReady(static_cast<int>(wParam), reinterpret_cast<Image*>(lParam)); return 0;
    default: return Window::handleMessage(message, wParam, lParam);
    }
}

// ---- Layout and background ---------------------------------------------------------------

void Thumbnail::onSize(int width) {
    SetWindowPos(list->handle(), nullptr, width / 2 - ImageListView::kWidth / 2, kListTop, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(buttons[LastButton]->handle(), nullptr, width - kLastButtonFromRight, kButtonTop, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(buttons[NextButton]->handle(), nullptr, width - kNextButtonFromRight, kButtonTop, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Thumbnail::onEraseBackground(HDC dc) {
    RECT client;
    GetClientRect(handle(), &client);
    if (leftPiece->empty() || middlePiece->empty() || rightPiece->empty()) {
        FillRect(dc, &client, static_cast<HBRUSH>(backgroundBrush.get()));
        return;
    }
    int middleRight = client.right - rightPiece->width();
    leftPiece->draw(dc, 0, 0);
    middlePiece->draw(dc, leftPiece->width(), 0, middleRight - leftPiece->width(), middlePiece->height());
    rightPiece->draw(dc, middleRight, 0);
}

// ---- Opening and loading -----------------------------------------------------------------

bool Thumbnail::openFolder(const std::wstring& path) {
    reset();
    InvalidateRect(handle(), nullptr, FALSE);
    updateButtons();
    UpdateWindow(handle());
    try {
        folder = path;
        loader = std::make_unique<ImageLoader>(handle(), frameDecoder);
        bool truncated = loader->openImageFolder(folder);
        if (loader->archive().slotCount() <= 0) throw ThumbnailException(loadString(kUnreadableText));
        info = std::make_unique<VideoInfo07>(loader->archive());
        total = info->slotCount();
        list->clear();
        list->beginFilling();
        lastShown = timeGetTime();
        showInterval = kShowIntervalMs;
        loadStep();
        updateButtons();
        return truncated;
    } catch (const Exception& failure) {
        throw Exception(failure.message());
    }
}

void Thumbnail::reset() {
    if (loader) {
        loader->disarmTimer();
        loader->cancelPending();
    }
    current = 0;
    loaded = 0;
    total = 0;
    done = false;
    folder.clear();
    list->clear();
    info.reset();
    received.reset();
    // Ends the worker; what it delivered before is dropped next.
    loader.reset();
    discardDeliveredFrames();
    updateButtons();
}

void Thumbnail::discardDeliveredFrames() {
    MSG message;
    while (PeekMessageW(&message, handle(), WM_FRAME_READY, WM_FRAME_READY, PM_REMOVE)) {
        if (message.message == WM_FRAME_READY) {
            delete reinterpret_cast<Image*>(message.lParam);
        } else if (message.message == WM_QUIT) {
            // Wine hands out a pending quit whatever the filter; the loop still needs it.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
    }
}

void Thumbnail::loadStep() {
    if (!folderExists()) {
        host.clearDisplay();
        throw Exception(loadString(kFolderGoneText));
    }
    armLoadTimer();
    loader->reopenImage(loaded);
    loader->request(loaded);
}

// The loader may have lost a request (a busy loader refuses it): ask again when the record
// has not come within the load interval. A tick that was already waiting in the queue when
// the next request went out is no such case: asking again then would decode the record
// twice, and on a loaded machine that makes every record late and asked for again.
void Thumbnail::onLoadTimer() {
    if (timeGetTime() - requestedAt < static_cast<DWORD>(kLoadIntervalMs)) return;
    loadNext(loaded);
}

// The time is taken before the timer is armed, so that the tick of this arming always finds
// the full interval gone.
void Thumbnail::armLoadTimer() {
    requestedAt = timeGetTime();
    loader->armTimer(kLoadIntervalMs);
}

void Thumbnail::loadNext(int justArrived) {
    if (total == 0) return;
    if (loaded < total && !done) {
        if (!folderExists()) {
            folderVanished();
            return;
        }
        armLoadTimer();
        try {
            // A record asked for again keeps its file; the next one needs its own.
            if (justArrived != loaded) loader->reopenImage(loaded);
            loader->request(loaded);
        } catch (const Exception&) {
            // The record's file is unreadable: the request decodes nothing and the record
            // gets the picture of a frame that does not decode.
        }
        return;
    }
    if (done) return;
    done = true;
    // Every picture is in: the card's files are free again.
    loader->releaseImageFile();
    highlight(current);
    updateButtons();
    host.showImage(current);
}

void Thumbnail::onFrameReady(int index, Image* image) {
    received.reset(image);
    // A late answer to a request asked again, or one for a folder closed since.
    if ((index == 0 && !info) || index != loaded) return;
    const FrameRecord* record = info->frameAt(loaded);
    std::wstring caption = captionOf(record != nullptr ? record->dateTime : 0);
    std::unique_ptr<AlphaImage> picture = received ? std::make_unique<AlphaImage>(received->clone())
                                                   : AlphaImage::fromResource(kBrokenPictureId);
    loaded += 1;
    bool more = loaded < total;
    if (more) {
        // The loader decodes the next record while this one becomes a thumbnail.
        loadNext(index);
        if (total == 0) return;  // the folder has gone and the strip is empty again
    }
    try {
        list->addThumbnail(*picture, caption);
    } catch (const Exception&) {
        // The thumbnail is missing; loading goes on.
    }
    showNewThumbnails();
    if (!more) loadNext(index);
}

// Showing costs the same whether one thumbnail is new or fifty (the scroll bar is fitted
// and the view painted), so it happens at most every kShowIntervalMs, and on a slow machine
// no more than a quarter of the time goes to it.
void Thumbnail::showNewThumbnails() {
    bool last = loaded >= total;
    if (!last && timeGetTime() - lastShown < showInterval) return;
    DWORD start = timeGetTime();
    list->showFilled(!last);
    lastShown = timeGetTime();
    showInterval = std::max<DWORD>(kShowIntervalMs, 3 * (lastShown - start));
}

bool Thumbnail::folderExists() const {
    return !folder.empty() && PathIsDirectoryW(folder.c_str());
}

// The card was pulled or the folder moved while the strip was filling.
void Thumbnail::folderVanished() {
    host.clearDisplay();
    reset();
    showMessageBox(loadString(kFolderGoneText), loadString(kWarningCaption), MB_OK | MB_ICONWARNING,
                   GetParent(handle()));
}

std::wstring Thumbnail::captionOf(std::int64_t dateTime) {
    if (dateTime == 0) return kUnknownCaption;
    __time64_t seconds = dateTime;
    std::tm local = {};
    if (_localtime64_s(&local, &seconds) != 0) return kUnknownCaption;
    wchar_t text[32] = {};
    _snwprintf(text, 31, L"%04d/%02d/%02d %02d:%02d:%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
               local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

// ---- Choosing ----------------------------------------------------------------------------

bool Thumbnail::isFromList(LPARAM notification) const {
    auto* header = reinterpret_cast<const NMHDR*>(notification);
    return header != nullptr && header->hwndFrom == list->handle();
}

LRESULT Thumbnail::onListNotify(NMHDR* header) {
    switch (header->code) {
    case NM_CUSTOMDRAW: return onCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(header));
    case LVN_ITEMCHANGED: onItemChanged(reinterpret_cast<NMLISTVIEW*>(header)); return 0;
    default: return 0;
    }
}

// Items are drawn without the list view's highlight and focus rectangle: the frame in the
// picture is the only mark of the chosen one. Clearing the item state in the notification
// is not enough for that everywhere (Wine still blends the picture of a selected item), so
// the list draws its items itself.
LRESULT Thumbnail::onCustomDraw(NMLVCUSTOMDRAW* draw) const {
    switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: return list->drawItem(*draw);
    default: return CDRF_DODEFAULT;
    }
}

void Thumbnail::onItemChanged(const NMLISTVIEW* change) {
    // Only the item that takes the focus counts: the list view also reports the one that
    // keeps it while losing its selection.
    bool takesFocus = (change->uNewState & LVIS_FOCUSED) != 0 && (change->uOldState & LVIS_FOCUSED) == 0;
    if (highlighting || (change->uChanged & LVIF_STATE) == 0 || !takesFocus) return;
    current = change->iItem;
    highlight(current);
    updateButtons();
    host.showImage(current);
}

void Thumbnail::highlight(int index) {
    highlighting = true;
    try {
        list->highlight(index);
    } catch (const Exception&) {
        // The picture stays unframed; the record is shown all the same.
    }
    highlighting = false;
}

void Thumbnail::onClick(ImageButton* button) {
    if (button == buttons[FirstButton]) {
        choose(0);
    } else if (button == buttons[LastButton]) {
        int count = list->itemCount();
        if (count - 1 > 0) choose(count - 1);
    } else if (button == buttons[PreviousButton]) {
        if (current - 1 >= 0) choose(current - 1);
    } else if (button == buttons[NextButton]) {
        if (current + 1 < total) choose(current + 1);
    }
}

// The list view's report of the change shows the record.
void Thumbnail::choose(int index) {
    list->selectItem(index);
    current = index;
}

void Thumbnail::updateButtons() {
    buttons[FirstButton]->setEnabled(done && current > 0);
    buttons[PreviousButton]->setEnabled(done && current > 0);
    buttons[NextButton]->setEnabled(done && current < total - 1);
    buttons[LastButton]->setEnabled(done && current < total - 1);
}

int Thumbnail::imageCount() const {
    return list->itemCount();
}

std::wstring Thumbnail::imagePath(int index) const {
    const FrameRecord* record = info ? info->frameAt(index) : nullptr;
    return record != nullptr ? record->sourcePath : std::wstring();
}
