#pragma once
// Paints a static control of a dialog template itself: a picture centred in it, or a text
// placed by one of nine alignments, in a colour of the owner's choice.
#include "playback/AlphaImage.h"
#include "ui/Window.h"

#include <memory>
#include <string>

class Label : public Window {
public:
    // Alignments: rows top, middle, bottom; columns left, centre, right.
    enum Alignment {
        TopLeft = 0, TopCentre, TopRight, MiddleLeft, Centre, MiddleRight, BottomLeft, BottomCentre, BottomRight
    };

    explicit Label(HWND existingControl);

    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    void setText(const std::wstring& value) { text = value; }
    const std::wstring& labelText() const { return text; }
    void setAlignment(int value) { alignment = value; }
    void setTextColour(COLORREF value) { colour = value; }
    COLORREF textColour() const { return colour; }
    void setImage(int id) { image = AlphaImage::fromResource(id); }
    void setImage(std::unique_ptr<AlphaImage> value) { image = std::move(value); }

    // Where text of the given extent starts in a client area, for an alignment.
    static POINT placeText(int alignment, SIZE text, SIZE client);

private:
    void onEraseBackground(HDC dc);
    void onPaint();
    void paint(HDC dc);
    void drawText(HDC dc, const RECT& client);

    std::wstring text;
    int alignment = MiddleLeft;
    COLORREF colour = 0;
    std::unique_ptr<AlphaImage> image;
};
