#include "app/TypedNumber.h"

#include <cmath>
#include <cwchar>
#include <cwctype>

namespace {

bool onlyBlanks(const wchar_t* text) {
    for (; *text != L'\0'; ++text)
        if (!std::iswspace(*text)) return false;
    return true;
}

template <typename Parse>
TypedNumber parse(const std::wstring& text, Parse parseNumber) {
    if (onlyBlanks(text.c_str())) return {TypedNumber::Empty, 0};
    wchar_t* end = nullptr;
    double value = parseNumber(text.c_str(), &end);
    if (end == text.c_str() || !onlyBlanks(end) || !std::isfinite(value)) return {TypedNumber::Junk, 0};
    return {TypedNumber::Number, value};
}

}  // namespace

TypedNumber TypedNumber::decimal(const std::wstring& text) {
    return parse(text, [](const wchar_t* start, wchar_t** end) { return std::wcstod(start, end); });
}

TypedNumber TypedNumber::integer(const std::wstring& text) {
    return parse(text, [](const wchar_t* start, wchar_t** end) { return static_cast<double>(std::wcstol(start, end, 10)); });
}

int TypedNumber::clamped(int low, int high) const {
    if (value <= low) return low;
    if (value >= high) return high;
    return static_cast<int>(value);
}
