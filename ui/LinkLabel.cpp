#include "ui/LinkLabel.h"

#include "base/StringTable.h"
#include "ui/WindowException.h"

#include <shellapi.h>

#include <vector>

LinkLabel::LinkLabel(HWND existingControl) : Label(existingControl) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(handle(), WM_GETFONT, 0, 0));
    LOGFONTW description;
    if (font != nullptr && GetObjectW(font, sizeof description, &description) == sizeof description) {
        description.lfUnderline = TRUE;
        underlinedFont.reset(CreateFontIndirectW(&description));
        if (underlinedFont.get() != nullptr)
            SendMessageW(handle(), WM_SETFONT, reinterpret_cast<WPARAM>(underlinedFont.get()), TRUE);
    }
    int length = GetWindowTextLengthW(handle());
    std::vector<wchar_t> title(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(handle(), title.data(), length + 1);
    setText(title.data());
    InvalidateRect(handle(), nullptr, TRUE);
    setTextColour(kLinkColour);
}

LRESULT LinkLabel::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETCURSOR: SetCursor(LoadCursorW(nullptr, IDC_HAND)); return 0;
    case WM_LBUTTONUP: openSupportPage(); return 0;
    default: return Label::handleMessage(message, wParam, lParam);
    }
}

void LinkLabel::openSupportPage() {
    try {
        std::wstring address = loadString(kSupportAddressId);
        if (address.empty()) throw WindowException(static_cast<std::uint32_t>(GetLastError()));
        HINSTANCE result = ShellExecuteW(nullptr, nullptr, address.c_str(), nullptr, L"C:\\", SW_SHOWNORMAL);
        if (reinterpret_cast<INT_PTR>(result) <= 32) throw WindowException(static_cast<std::uint32_t>(GetLastError()));
    } catch (const WindowException&) {
        // A link that cannot be opened is not worth interrupting the user for.
    }
}
