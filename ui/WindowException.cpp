#include "ui/WindowException.h"

#include "base/StringTable.h"

#include <windows.h>

namespace {
constexpr DWORD kMessageBufferChars = 1024;
constexpr unsigned kWindowsErrorText = 5070;  // "Windowsのエラーです。エラーコード:%d"
}

WindowException::WindowException(std::uint32_t systemErrorCode)
    : Exception(systemErrorText(systemErrorCode)) {}

std::wstring WindowException::systemErrorText(std::uint32_t code) {
    wchar_t buffer[kMessageBufferChars] = {};
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                  buffer, kMessageBufferChars, nullptr);
    if (length > 0) return std::wstring(buffer, length);
    // A code the system has no text for. The signed decimal matches "%d" of the table text.
    std::wstring text = formatString(kWindowsErrorText, {std::to_wstring(static_cast<int>(code))});
    if (text.size() >= kMessageBufferChars) text.resize(kMessageBufferChars - 1);
    return text;
}
