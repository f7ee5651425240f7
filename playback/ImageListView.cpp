#include "playback/ImageListView.h"

#include "base/Exception.h"
#include "base/StringTable.h"
#include "ui/WindowException.h"

#include <memory>

namespace {

constexpr unsigned kUnreadableText = 5510;  // "該当データを読み込めません。"
constexpr int kFontHeight = 10;
const wchar_t* const kFontFace = L"ＭＳ ゴシック";

[[noreturn]] void fail() {
    throw ImageListViewException(loadString(kUnreadableText));
}

}  // namespace

ImageListView::ImageListView(HWND parent) {
    WindowCreateParams params = childParams(parent, 0, 0, kWidth, kHeight);
    params.className = WC_LISTVIEWW;
    // The strip owns the image list and destroys it itself.
    params.style = WS_CHILD | WS_VISIBLE | LVS_ICON | LVS_SHAREIMAGELISTS;
    create(params);

    font.reset(CreateFontW(kFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_CHARACTER_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_MODERN, kFontFace));
    SendMessageW(handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);

    images = ImageList_Create(kThumbnailWidth, kThumbnailHeight, ILC_COLORDDB, 0, kImageListGrowth);
    if (images == nullptr) throw WindowException(static_cast<std::uint32_t>(GetLastError()));
    ListView_SetImageList(handle(), images, LVSIL_NORMAL);
    ListView_SetIconSpacing(handle(), kItemSpacingX, kItemSpacingY);
    ListView_SetBkColor(handle(), RGB(0, 0, 0));
    ListView_SetTextBkColor(handle(), RGB(0, 0, 0));
    ListView_SetTextColor(handle(), RGB(255, 255, 255));
}

ImageListView::~ImageListView() {
    clear();
    if (images != nullptr) ImageList_Destroy(images);
}

LRESULT ImageListView::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: onPaint(); return 0;
    case WM_KEYDOWN:
    case WM_KEYUP: return onKey(wParam) ? Window::handleMessage(message, wParam, lParam) : 0;
    case WM_CHAR: return 0;
    case WM_MOUSEWHEEL: return 0;
    case WM_HSCROLL: return onHorizontalScroll(message, wParam, lParam);
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: return onMouse(message, wParam, lParam);
    default: return Window::handleMessage(message, wParam, lParam);
    }
}

void ImageListView::onPaint() {
    {
        // Every item in view is drawn again, so that a picture exchanged in the image list
        // (the frame of the chosen item) shows at once. One invalidation of the whole view
        // does that; asking for each item of a full folder would cost more than the paint.
        PaintScope paint(handle());
        InvalidateRect(handle(), nullptr, FALSE);
        // The arrow keys page through the pictures without a click first; a dialog of the
        // program that is open in front keeps its focus.
        if (GetActiveWindow() == GetAncestor(handle(), GA_ROOT)) SetFocus(handle());
    }
    Window::handleMessage(WM_PAINT, 0, 0);
}

bool ImageListView::onKey(WPARAM key) const {
    return key == VK_LEFT || key == VK_RIGHT;
}

LRESULT ImageListView::onHorizontalScroll(UINT message, WPARAM wParam, LPARAM lParam) {
    int step = pitch();
    if (step <= 0) return 0;
    switch (LOWORD(wParam)) {
    case SB_LINELEFT: ListView_Scroll(handle(), -step, 0); return 0;
    case SB_LINERIGHT: ListView_Scroll(handle(), step, 0); return 0;
    case SB_ENDSCROLL: snap(); return 0;
    default: return Window::handleMessage(message, wParam, lParam);
    }
}

LRESULT ImageListView::onMouse(UINT message, WPARAM wParam, LPARAM lParam) {
    if (snap()) return 0;
    return Window::handleMessage(message, wParam, lParam);
}

bool ImageListView::snap() {
    int step = pitch();
    if (step <= 0) return false;
    int position = GetScrollPos(handle(), SB_HORZ);
    int first = position > 0 ? (position + step - 1) / step : 0;
    int distance = first * step - position - kRestInset;
    if (distance == 0) return false;
    ListView_Scroll(handle(), distance, 0);
    // At either end of the row the view cannot move further: that is no snap.
    return GetScrollPos(handle(), SB_HORZ) != position;
}

int ImageListView::itemCount() const {
    return ListView_GetItemCount(handle());
}

int ImageListView::pitch() const {
    if (itemCount() <= 0) return 0;
    RECT bounds = {};
    if (!ListView_GetItemRect(handle(), 0, &bounds, LVIR_BOUNDS)) return 0;
    return bounds.right - bounds.left + kItemGap;
}

void ImageListView::addThumbnail(const AlphaImage& picture, const std::wstring& caption) {
    if (picture.empty() || images == nullptr) return;
    WindowDc screen(handle());
    MemoryDc memory(screen.get());
    GdiObject thumbnail(CreateCompatibleBitmap(screen.get(), kThumbnailWidth, kThumbnailHeight));
    if (memory.get() == nullptr || thumbnail.get() == nullptr) fail();
    {
        Selection chosen(memory.get(), thumbnail.get());
        SetStretchBltMode(memory.get(), COLORONCOLOR);
        if (!picture.draw(memory.get(), 0, 0, kThumbnailWidth, kThumbnailHeight)) fail();
    }
    // The image list copies the bitmap; its index is also the item's.
    int index = ImageList_Add(images, static_cast<HBITMAP>(thumbnail.get()), nullptr);
    if (index < 0) fail();
    // The item is inserted wherever the list view puts new items and then moved: redrawing
    // waits for the move, and turning it back on fits the scroll range to the moved row.
    bool alone = !filling;
    if (alone) SendMessageW(handle(), WM_SETREDRAW, FALSE, 0);
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = index;
    item.pszText = const_cast<LPWSTR>(caption.c_str());
    item.iImage = index;
    bool inserted = ListView_InsertItem(handle(), &item) == index;
    if (inserted && index == 0) {
        // The list view lays out its items anew the first time it paints items; have it do
        // so now, while there is only the one, rather than over the row placed below.
        MemoryDc scratch(screen.get());
        SendMessageW(handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(scratch.get()), PRF_CLIENT);
    }
    if (inserted) {
        // An item's position is that of its picture, which sits inside the item's box; the
        // boxes stand side by side along the top edge of the view.
        RECT bounds = {};
        RECT icon = {};
        ListView_GetItemRect(handle(), index, &bounds, LVIR_BOUNDS);
        ListView_GetItemRect(handle(), index, &icon, LVIR_ICON);
        int boxLeft = index * (bounds.right - bounds.left + kItemGap);
        ListView_SetItemPosition(handle(), index, boxLeft + icon.left - bounds.left, icon.top - bounds.top);
    }
    if (alone) SendMessageW(handle(), WM_SETREDRAW, TRUE, 0);
    if (!inserted) {
        ImageList_Remove(images, index);
        fail();
    }
}

void ImageListView::highlight(int index) {
    if (index < 0) return;
    restoreSavedPicture();
    GdiObject framed(framedPicture(index));
    if (!ImageList_Replace(images, index, static_cast<HBITMAP>(framed.get()), nullptr)) fail();
    selected = index;
    ListView_SetItemState(handle(), index, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    ListView_RedrawItems(handle(), index, index);
}

void ImageListView::restoreSavedPicture() {
    if (savedPicture.get() == nullptr) return;
    if (selected < ImageList_GetImageCount(images)) {
        ImageList_Replace(images, selected, static_cast<HBITMAP>(savedPicture.get()), nullptr);
        ListView_RedrawItems(handle(), selected, selected);
    }
    savedPicture.reset();
}

HBITMAP ImageListView::framedPicture(int index) {
    IMAGEINFO info = {};
    if (images == nullptr || !ImageList_GetImageInfo(images, index, &info)) fail();
    int width = info.rcImage.right - info.rcImage.left;
    int height = info.rcImage.bottom - info.rcImage.top;
    std::unique_ptr<AlphaImage> border = AlphaImage::fromResource(kFramePictureId);

    WindowDc screen(handle());
    MemoryDc frameDc(screen.get());
    MemoryDc pictureDc(screen.get());
    GdiObject framed(CreateCompatibleBitmap(screen.get(), width, height));
    GdiObject unframed(CreateCompatibleBitmap(screen.get(), width, height));
    if (frameDc.get() == nullptr || pictureDc.get() == nullptr || framed.get() == nullptr || unframed.get() == nullptr)
        fail();
    {
        Selection frameChosen(frameDc.get(), framed.get());
        Selection pictureChosen(pictureDc.get(), unframed.get());
        SetStretchBltMode(frameDc.get(), COLORONCOLOR);
        if (!border->draw(frameDc.get(), 0, 0, width, height)) fail();
        if (!ImageList_Draw(images, index, pictureDc.get(), 0, 0, ILD_NORMAL)) fail();
        // The picture's inside over the frame's: what stays of the frame is its border.
        if (!BitBlt(frameDc.get(), kFrameWidth, kFrameWidth, width - 2 * kFrameWidth, height - 2 * kFrameWidth,
                    pictureDc.get(), kFrameWidth, kFrameWidth, SRCCOPY))
            fail();
    }
    savedPicture.reset(unframed.release());
    return static_cast<HBITMAP>(framed.release());
}

LRESULT ImageListView::drawItem(const NMLVCUSTOMDRAW& draw) const {
    int index = static_cast<int>(draw.nmcd.dwItemSpec);
    HDC dc = draw.nmcd.hdc;
    RECT icon = {};
    icon.left = LVIR_ICON;
    if (!ListView_GetItemRect(handle(), index, &icon, LVIR_ICON)) return CDRF_DODEFAULT;
    wchar_t caption[64] = {};
    ListView_GetItemText(handle(), index, 0, caption, 64);
    int saved = SaveDC(dc);
    ImageList_Draw(images, index, dc, icon.left, icon.top, ILD_NORMAL);
    RECT label = draw.nmcd.rc;
    label.top = icon.bottom + kCaptionGap;
    // Opaque, so that drawing an item again over itself leaves the caption as it was.
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, OPAQUE);
    DrawTextW(dc, caption, -1, &label, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    RestoreDC(dc, saved);
    return CDRF_SKIPDEFAULT;
}

void ImageListView::selectItem(int index) {
    ListView_EnsureVisible(handle(), index, FALSE);
    ListView_SetItemState(handle(), index, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
}

void ImageListView::beginFilling() {
    if (filling) return;
    filling = true;
    SendMessageW(handle(), WM_SETREDRAW, FALSE, 0);
}

void ImageListView::showFilled(bool moreToCome) {
    if (filling) {
        filling = false;
        SendMessageW(handle(), WM_SETREDRAW, TRUE, 0);
        UpdateWindow(handle());
    }
    if (moreToCome) beginFilling();
}

void ImageListView::clear() {
    showFilled(false);
    savedPicture.reset();
    selected = 0;
    if (images != nullptr) ImageList_RemoveAll(images);
    ListView_DeleteAllItems(handle());
}
