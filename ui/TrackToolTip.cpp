#include "ui/TrackToolTip.h"

#include <commctrl.h>

TrackToolTip::TrackToolTip(HWND owner) {
    WindowCreateParams params;
    params.className = TOOLTIPS_CLASSW;
    params.style = WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP;
    params.x = CW_USEDEFAULT;
    params.y = CW_USEDEFAULT;
    params.width = CW_USEDEFAULT;
    params.height = CW_USEDEFAULT;
    params.parent = owner;
    params.instance = GetModuleHandleW(nullptr);
    create(params);
    SetWindowPos(handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

TTTOOLINFOW TrackToolTip::toolInfo(HWND control, const std::wstring& text, UINT flags) const {
    TTTOOLINFOW info = {};
    // The size without the trailing reserved field, which both comctl32 5 and 6 accept.
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.uFlags = flags;
    info.hwnd = GetParent(handle());
    info.uId = reinterpret_cast<UINT_PTR>(control);
    info.hinst = GetModuleHandleW(nullptr);
    // The control copies the text; it never writes through this pointer for these messages.
    info.lpszText = const_cast<LPWSTR>(text.c_str());
    return info;
}

void TrackToolTip::addTrackingTool(HWND control, const std::wstring& text) {
    TTTOOLINFOW info = toolInfo(control, text, TTF_IDISHWND | TTF_SUBCLASS | TTF_TRACK);
    SendMessageW(handle(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void TrackToolTip::addHoverTool(const std::wstring& text, HWND button) {
    TTTOOLINFOW info = toolInfo(button, text, TTF_IDISHWND | TTF_SUBCLASS);
    GetWindowRect(button, &info.rect);
    SendMessageW(handle(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void TrackToolTip::activate(HWND control, const std::wstring& text) {
    TTTOOLINFOW info = toolInfo(control, text, 0);
    SendMessageW(handle(), TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&info));
}

void TrackToolTip::deactivate(HWND control) {
    TTTOOLINFOW info = toolInfo(control, std::wstring(), 0);
    SendMessageW(handle(), TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&info));
}

void TrackToolTip::updateText(HWND control, const std::wstring& text) {
    TTTOOLINFOW info = toolInfo(control, text, 0);
    SendMessageW(handle(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}
