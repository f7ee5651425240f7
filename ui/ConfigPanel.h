#pragma once
// The small panel of the right column that carries the open-folder button. The button
// opens the folder dialog when it is released inside, never while it is held.
#include "playback/AlphaImage.h"
#include "ui/ImageButton.h"
#include "ui/ImageButtonListener.h"
#include "ui/ImageTrackBarListener.h"
#include "ui/TrackToolTip.h"
#include "ui/Window.h"

#include <functional>
#include <memory>

class ConfigPanel : public Window, public ImageButtonListener, public ImageTrackBarListener {
public:
    // openFolder is the main window's open-folder command.
    ConfigPanel(HWND parent, std::function<void()> openFolder);

    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    void onClick(ImageButton* button) override;
    void onPress(ImageButton*) override {}
    void onChange(ImageTrackBar*) override {}
    void onBeginTrack(ImageTrackBar*) override {}
    void onEndTrack(ImageTrackBar*) override {}

    ImageButton* openFolderButton() const { return openButton; }

private:
    void onEraseBackground(HDC dc);

    std::function<void()> openFolder;
    ImageButton* openButton = nullptr;  // child window: deletes itself with its window
    TrackToolTip* toolTip = nullptr;    // likewise
    std::unique_ptr<AlphaImage> background;
};
