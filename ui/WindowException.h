#pragma once
// Failures of the Win32 layer: windows, dialogs and resources. Built from a system
// error code, the message is the system's own text for it.
#include "base/Exception.h"

#include <cstdint>

class WindowException : public Exception {
public:
    explicit WindowException(std::wstring message) : Exception(std::move(message)) {}
    explicit WindowException(std::uint32_t systemErrorCode);

    static std::wstring systemErrorText(std::uint32_t code);
};
