#pragma once
// "LAP LIST": the modeless window that lists the stopwatch's laps (time and average speed of
// each of up to ten) and the total. The stopwatch owns the one object of it and shows the
// window on request; closing it destroys the window and tells the stopwatch.
#include "playback/AlphaImage.h"
#include "ui/Dialog.h"
#include "ui/GlyphFont.h"
#include "ui/ImageButtonListener.h"

#include <memory>
#include <string>

class ImageButton;
class StopWatch;

class LapDialog : public Dialog, public ImageButtonListener {
public:
    // Sent by the stopwatch when its laps changed: the table is drawn again.
    static constexpr UINT kRefreshMessage = WM_USER + 1;
    static constexpr int kBackgroundId = 10132;
    static constexpr int kRows = 10;

    explicit LapDialog(StopWatch& stopwatch);

    INT_PTR dialogProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void onClick(ImageButton* button) override { close(); }
    void onPress(ImageButton*) override {}

    // Destroys the window and tells the stopwatch.
    void close();
    ImageButton* closeButton() const { return closer; }

    // The texts of the table: row 1 .. 10 and the TOTAL row.
    std::wstring rowText(int row) const;
    std::wstring totalText() const;

private:
    void drawTable(HDC target);
    void onPaint();
    void redraw();

    StopWatch& stopwatch;
    ImageButton* closer = nullptr;
    std::unique_ptr<AlphaImage> background;
    GlyphFont glyphs;
};
