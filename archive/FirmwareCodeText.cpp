#include "archive/FirmwareCodeText.h"

#include "base/StringTable.h"

#include <cwchar>

namespace {
constexpr unsigned kFirmwareCodeText = 5087;
}

FirmwareCode parseFirmwareCode(const std::wstring& text) {
    FirmwareCode code;
    const wchar_t* begin = text.c_str();
    wchar_t* end = nullptr;
    // wcstoul saturates on overflow and wraps a leading minus, and both land above 0xFFFF.
    unsigned long value = std::wcstoul(begin, &end, 16);
    if (end == begin || value > 0xFFFF) return code;
    code.high = static_cast<std::uint8_t>(value >> 8);
    code.low = static_cast<std::uint8_t>(value);
    return code;
}

const FirmwareCode& currentFirmwareCode() {
    static const FirmwareCode code = parseFirmwareCode(loadString(kFirmwareCodeText));
    return code;
}
