#pragma once
// The thumbnail strip of image mode: a row of small pictures of every image record of the
// folder, in date-time order, each captioned with its date and time, between buttons for
// the first, previous, next and last picture. Choosing one has the main window show that
// record full size.
//
// The strip has a loader of its own, so that filling it never competes with the player's
// frame requests; it lives while a folder is open in the strip, since its worker thread
// holds about 1 MB of memory under Wine. It asks for one record at a time, turns each
// arriving picture into a thumbnail at once (only the image list keeps the small pictures)
// and asks for the next; a request the busy loader refused is asked again after
// kLoadIntervalMs. When the last thumbnail is in, the strip is done: the chosen record is
// framed and shown, and the buttons come alive.
#include "archive/VideoInfo07.h"
#include "playback/AlphaImage.h"
#include "playback/decode/Image.h"
#include "playback/ImageLoader.h"
#include "ui/GdiScope.h"
#include "ui/ImageButtonListener.h"
#include "ui/Window.h"

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

class IThumbnailHost;
class ImageButton;
class ImageListView;
class TrackToolTip;

class Thumbnail : public Window, public ImageButtonListener {
public:
    enum Button { FirstButton, PreviousButton, NextButton, LastButton };

    static constexpr int kLoadIntervalMs = 50;
    // How often the row shows the thumbnails added while it fills.
    static constexpr DWORD kShowIntervalMs = 100;
    static constexpr int kButtonSize = 30;
    static constexpr int kButtonTop = 30;
    static constexpr int kFirstButtonX = 64;
    static constexpr int kPreviousButtonX = 98;
    static constexpr int kNextButtonFromRight = 129;
    static constexpr int kLastButtonFromRight = 97;
    static constexpr int kListTop = 2;
    static constexpr int kBrokenPictureId = 447;

    // A child of the main window, size 0 until the main window lays it out. decoder replaces
    // the strip's own (a reduced decode of each frame) in tests. Throws WindowException when
    // a window cannot be made, and openFolder when the loader cannot be.
    Thumbnail(HWND mainWindow, IThumbnailHost& host, ImageLoader::FrameDecoder decoder = {});
    ~Thumbnail() override;

    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Starts filling the strip with the image records of folder (at most 600, by date-time);
    // true when the folder held more. Throws Exception: 5510 when the folder holds no image
    // record, 5078 when it is gone (the display is cleared first), or the archive's message.
    bool openFolder(const std::wstring& folder);
    // Back to the empty strip: loading stops, the thumbnails and the record list go.
    void reset();

    void onClick(ImageButton* button) override;
    void onPress(ImageButton* button) override {}

    // Number of thumbnails in the row.
    int imageCount() const;
    // Full path of the image record at index, or empty outside the folder's list.
    std::wstring imagePath(int index) const;
    bool isDone() const { return done; }
    // Whether the loader and its worker thread exist (a folder is open).
    bool hasLoader() const { return loader != nullptr; }
    int currentIndex() const { return current; }
    int loadedCount() const { return loaded; }
    int totalCount() const { return total; }
    ImageListView& listView() const { return *list; }
    ImageButton& button(Button which) const { return *buttons[which]; }

    // "%04d/%02d/%02d %02d:%02d:%02d" of a time value in local time, or the dashes of an
    // unknown one.
    static std::wstring captionOf(std::int64_t dateTime);

private:
    void createButtons();
    void onSize(int width);
    void onEraseBackground(HDC dc);
    bool isFromList(LPARAM notification) const;
    LRESULT onListNotify(NMHDR* header);
    LRESULT onCustomDraw(NMLVCUSTOMDRAW* draw) const;
    void onItemChanged(const NMLISTVIEW* change);
    void onFrameReady(int index, Image* image);

    void loadStep();
    void onLoadTimer();
    void armLoadTimer();
    void showNewThumbnails();
    void loadNext(int justArrived);
    bool folderExists() const;
    void folderVanished();
    void highlight(int index);
    void choose(int index);
    void updateButtons();
    // Drops pictures the loader delivered for a folder closed since.
    void discardDeliveredFrames();

    IThumbnailHost& host;
    GdiObject backgroundBrush;
    ImageListView* list = nullptr;  // child windows: they go with their windows
    ImageButton* buttons[4] = {};
    TrackToolTip* toolTip = nullptr;
    std::unique_ptr<AlphaImage> leftPiece;
    std::unique_ptr<AlphaImage> middlePiece;
    std::unique_ptr<AlphaImage> rightPiece;
    std::unique_ptr<VideoInfo07> info;
    std::wstring folder;
    bool done = false;
    // Set while the strip itself frames an item, so that the list view's echo of it is not
    // taken for the user's choice.
    bool highlighting = false;
    int current = 0;
    int loaded = 0;  // thumbnails added so far; also the record being loaded
    int total = 0;
    DWORD lastShown = 0;    // multimedia clock when the row last showed its new thumbnails
    DWORD showInterval = kShowIntervalMs;
    DWORD requestedAt = 0;  // multimedia clock when the load timer was last armed
    std::unique_ptr<Image> received;
    ImageLoader::FrameDecoder frameDecoder;
    std::unique_ptr<ImageLoader> loader;  // while a folder is open
};
