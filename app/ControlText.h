#pragma once
// Text of the settings dialogs' edits and labels.
#include <windows.h>

#include <string>

inline std::wstring controlText(HWND control) {
    int length = GetWindowTextLengthW(control);
    if (length <= 0) return std::wstring();
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    int copied = GetWindowTextW(control, &text[0], length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

// Hundredths of G as the recorder's manuals write them: "0.45".
inline std::wstring hundredthsText(int hundredths) {
    wchar_t text[32];
    swprintf(text, 32, L"%d.%02d", hundredths / 100, hundredths % 100);
    return text;
}
