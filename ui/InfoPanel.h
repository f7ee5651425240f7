#pragma once
// The panel under the analog meter: the record's date and time in skin glyphs, a label for
// the kind of record (no detection, automatic or manual event, image, continuous) and the
// protect icon. Everything is drawn while erasing; a refresh repaints only when what the
// panel shows has changed, so that playing costs it nothing between records.
#include "playback/AlphaImage.h"
#include "ui/GlyphSet.h"
#include "ui/IPanelSource.h"
#include "ui/Window.h"

#include <memory>
#include <string>

class InfoPanel : public Window {
public:
    static constexpr int kNoLabel = -1;

    // What the panel shows for the record and mode of the moment.
    struct Content {
        bool informationMissing = false;  // only the explanation (string 5025)
        std::wstring date;                // empty: not drawn
        std::wstring time;
        int kind = kNoLabel;              // RecordKind of the label, kNoLabel for none
        bool protectedRecord = false;
        bool operator==(const Content& other) const;
        bool operator!=(const Content& other) const { return !(*this == other); }
    };

    InfoPanel(HWND parent, const IPanelSource& source);

    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // After a frame change: repaints when the content differs from what was last drawn.
    void refresh();
    // Repaints whatever the content (the record or the caption changed).
    void repaint();

    Content contentNow() const;
    // What the panel shows as text ("2024/05/01 12:34:56", or the explanation when the
    // record's information is missing): its window text once drawn, so that a screen reader
    // and the test bed can read the glyphs.
    static std::wstring spokenText(const Content& content);

private:
    void onEraseBackground(HDC dc);
    void onPaint();
    void draw(HDC dc, const Content& content);
    const AlphaImage* kindLabel(int kind) const;

    const IPanelSource& source;
    std::unique_ptr<AlphaImage> background;
    std::unique_ptr<AlphaImage> noDetectionLabel;
    std::unique_ptr<AlphaImage> autoEventLabel;
    std::unique_ptr<AlphaImage> manualEventLabel;
    std::unique_ptr<AlphaImage> imageLabel;
    std::unique_ptr<AlphaImage> continuousLabel;
    std::unique_ptr<AlphaImage> protectIcon;
    GlyphSet dateGlyphs;
    GlyphSet timeGlyphs;
    Content shown;
    bool drawn = false;
};
