#pragma once
// A push button drawn from skin pictures: a normal picture, and optionally a pressed and a
// disabled one; without pictures it shows a caption. It reports to its listener when it
// goes down (and again at every auto-repeat tick while held) and when it is activated.
// The button is "down" exactly while it holds the mouse capture.
#include "playback/AlphaImage.h"
#include "ui/ImageButtonListener.h"
#include "ui/Window.h"

#include <memory>
#include <string>

class ImageButton : public Window {
public:
    static constexpr int kDefaultRepeatMs = 100;

    ImageButton(HWND parent, int x, int y, int width, int height);

    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Loads the skin pictures; a pressed or disabled id of 0 means none.
    void setImages(int normalId, int pressedId, int disabledId);
    // The same with pictures made elsewhere (any may be null).
    void setImages(std::unique_ptr<AlphaImage> normal, std::unique_ptr<AlphaImage> pressed,
                   std::unique_ptr<AlphaImage> disabled);

    void setListener(ImageButtonListener* value) { listener = value; }
    void setCaption(const std::wstring& text) { caption = text; }
    void setEdge(bool value) { edge = value; }
    void setCursor(HCURSOR value) { cursor = value; }
    void setRepeatInterval(int milliseconds) { repeatMs = milliseconds; }

    bool isDown() const { return GetCapture() == handle(); }

protected:
    // The three pictures of the face on show; PlayButton exchanges them for its second face.
    std::unique_ptr<AlphaImage> normalImage;
    std::unique_ptr<AlphaImage> pressedImage;
    std::unique_ptr<AlphaImage> disabledImage;

private:
    static constexpr UINT_PTR kRepeatTimer = 0;

    void onLButtonDown();
    void onLButtonUp(int x, int y);
    void onTimer();
    void onKeyDown(WPARAM key);
    void onKeyUp(WPARAM key);
    LRESULT onGetDlgCode(const MSG* query) const;
    // Shows the button's own cursor; false when it has none.
    bool onSetCursor();
    void onEraseBackground(HDC dc);
    void onPaint();
    void paint(HDC dc);
    void drawCaption(HDC dc, const RECT& client, bool down);
    void repaintNow();

    ImageButtonListener* listener = nullptr;
    std::wstring caption;
    bool edge = false;
    HCURSOR cursor = nullptr;
    int repeatMs = kDefaultRepeatMs;
};
