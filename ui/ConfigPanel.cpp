#include "ui/ConfigPanel.h"

#include "base/StringTable.h"

namespace {

constexpr int kBackgroundId = 10024;
constexpr int kButtonNormalId = 10021;
constexpr int kButtonPressedId = 10022;
constexpr int kButtonDisabledId = 10023;
constexpr RECT kButtonPlace = {27, 29, 27 + 128, 29 + 30};
constexpr unsigned kOpenFolderTip = 5010;

}  // namespace

ConfigPanel::ConfigPanel(HWND parent, std::function<void()> openFolder) : openFolder(std::move(openFolder)) {
    WindowCreateParams params = childParams(parent, 0, 0, 0, 0);
    params.extendedStyle = WS_EX_CONTROLPARENT;
    params.style |= WS_CLIPCHILDREN;
    create(params);
    openButton = new ImageButton(handle(), kButtonPlace.left, kButtonPlace.top, kButtonPlace.right - kButtonPlace.left,
                                 kButtonPlace.bottom - kButtonPlace.top);
    openButton->setImages(kButtonNormalId, kButtonPressedId, kButtonDisabledId);
    openButton->setListener(this);
    toolTip = new TrackToolTip(handle());
    toolTip->addHoverTool(loadString(kOpenFolderTip), openButton->handle());
    background = AlphaImage::fromResource(kBackgroundId);
}

LRESULT ConfigPanel::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: onEraseBackground(reinterpret_cast<HDC>(wParam)); return 0;
    case WM_SIZE: return 0;
    default: return Window::handleMessage(message, wParam, lParam);
    }
}

void ConfigPanel::onClick(ImageButton* button) {
    if (button == openButton && openFolder) openFolder();
}

void ConfigPanel::onEraseBackground(HDC dc) {
    if (background && !background->empty()) {
        background->draw(dc, 0, 0);
    } else {
        RECT client;
        GetClientRect(handle(), &client);
        FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    }
    InvalidateRect(openButton->handle(), nullptr, TRUE);
}
