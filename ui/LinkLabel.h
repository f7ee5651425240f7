#pragma once
// A label that reads as a web link: blue, underlined, with the hand cursor; a click opens
// the support web page in the system's browser.
#include "ui/GdiScope.h"
#include "ui/Label.h"

class LinkLabel : public Label {
public:
    static constexpr unsigned kSupportAddressId = 5086;
    static constexpr COLORREF kLinkColour = 0xFF0000;  // pure blue as COLORREF (0x00BBGGRR)

    explicit LinkLabel(HWND existingControl);

    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void openSupportPage();

    GdiObject underlinedFont;
};
