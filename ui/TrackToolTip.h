#pragma once
// A native tool-tip window. Track bars use it as a tracking tip that follows the thumb
// while it is dragged; buttons use it as an ordinary hover tip.
#include "ui/Window.h"

#include <commctrl.h>

#include <string>

class TrackToolTip : public Window {
public:
    explicit TrackToolTip(HWND owner);

    // A tip that appears only when activated and is moved by its control.
    void addTrackingTool(HWND control, const std::wstring& text);
    // A tip that appears while the pointer rests on the button.
    void addHoverTool(const std::wstring& text, HWND button);
    void activate(HWND control, const std::wstring& text);
    void deactivate(HWND control);
    void updateText(HWND control, const std::wstring& text);

private:
    TTTOOLINFOW toolInfo(HWND control, const std::wstring& text, UINT flags) const;
};
