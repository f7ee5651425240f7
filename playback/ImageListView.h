#pragma once
// The row of small pictures in the thumbnail strip: a system list view in icon view whose
// items stand side by side in one row, each a 71 x 53 picture over its caption. The chosen
// item is marked only by a frame drawn into its picture (never by the list view's own
// highlight). Only the left and right arrow keys reach the list view, the wheel does
// nothing, and the row always comes to rest with an item's left edge just inside the view.
#include "playback/AlphaImage.h"
#include "ui/GdiScope.h"
#include "ui/Window.h"

#include <windows.h>
#include <commctrl.h>

#include <string>

class ImageListView : public Window {
public:
    static constexpr int kWidth = 644;
    static constexpr int kHeight = 90;
    static constexpr int kThumbnailWidth = 71;
    static constexpr int kThumbnailHeight = 53;
    // An item's box: the picture over a one-line caption, low enough that the row fits
    // above the horizontal scroll bar (the system's spacing would leave room for two lines).
    static constexpr int kItemSpacingX = 112;
    static constexpr int kItemSpacingY = 70;
    static constexpr int kItemGap = 2;     // between neighbouring items
    static constexpr int kRestInset = 3;   // where the first visible item's left edge rests
    static constexpr int kFrameWidth = 2;  // of the selection frame, picture 448
    static constexpr int kCaptionGap = 2;  // between a picture and its caption
    // The image list copies all its pictures whenever it grows: it grows by this many at once.
    static constexpr int kImageListGrowth = 64;
    static constexpr int kFramePictureId = 448;

    // A list view child of parent at (0, 0), kWidth x kHeight, white captions on black.
    // Throws WindowException when the control or its image list cannot be made.
    explicit ImageListView(HWND parent);
    ~ImageListView() override;

    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Appends the picture, shrunk to a thumbnail, with its caption as the next item of the
    // row. Nothing when the picture is empty. Throws ImageListViewException 5510 when the
    // thumbnail cannot be made; the row is then unchanged.
    void addThumbnail(const AlphaImage& picture, const std::wstring& caption);
    // Frames the picture of item index (taking the frame off the previously chosen one) and
    // makes the item focused and selected. Nothing for a negative index. Throws
    // ImageListViewException 5510 when the framed picture cannot be made.
    void highlight(int index);
    // Scrolls the item into view and makes it focused and selected; the list view then
    // reports the change to the parent.
    void selectItem(int index);
    // Removes every item and picture.
    void clear();
    // While a folder fills the row, the list view neither fits its scroll bar nor repaints
    // after every thumbnail (under Wine each of those costs more than making the thumbnail).
    // showFilled brings the view up to date, and keeps it so when nothing more is to come.
    void beginFilling();
    void showFilled(bool moreToCome);
    // Draws the item a custom-draw notification is about, picture over caption, and tells
    // the list view to draw nothing of its own: no selection colour, no focus rectangle.
    LRESULT drawItem(const NMLVCUSTOMDRAW& draw) const;

    int itemCount() const;
    int selectedItem() const { return selected; }
    // Distance between neighbouring items' left edges; 0 without items.
    int pitch() const;
    HIMAGELIST imageList() const { return images; }

private:
    void onPaint();
    bool onKey(WPARAM key) const;
    LRESULT onHorizontalScroll(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onMouse(UINT message, WPARAM wParam, LPARAM lParam);
    // Scrolls so that the first item at or right of the scroll position rests kRestInset
    // pixels inside the view; true when the row moved.
    bool snap();
    // A new bitmap: the picture of item index inside the selection frame. Keeps the
    // unframed picture in savedPicture.
    HBITMAP framedPicture(int index);
    void restoreSavedPicture();

    GdiObject font;
    HIMAGELIST images = nullptr;
    GdiObject savedPicture;  // the unframed picture of the chosen item
    int selected = 0;
    bool filling = false;    // redrawing is off until showFilled
};
