#include "ui/StringTable.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <cwctype>

std::wstring loadString(unsigned id) {
#ifdef _WIN32
    // With a zero length LoadStringW hands out a read-only pointer into the resource, so
    // texts of any length come back whole.
    const wchar_t* text = nullptr;
    int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || text == nullptr) return std::wstring();
    return std::wstring(text, static_cast<std::size_t>(length));
#else
    // Native builds (fuzzing) carry no resources; the id stands in for the text.
    return L"#" + std::to_wstring(id);
#endif
}

std::wstring fillFields(const std::wstring& pattern, std::initializer_list<std::wstring> args) {
    std::wstring out;
    out.reserve(pattern.size() + 32);
    auto next = args.begin();
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        wchar_t c = pattern[i];
        if (c != L'%' || i + 1 >= pattern.size()) {
            out += c;
            continue;
        }
        if (pattern[i + 1] == L'%') {
            out += L'%';
            ++i;
            continue;
        }
        // Skip flags, width, precision and length up to the conversion letter.
        std::size_t j = i + 1;
        while (j < pattern.size() && !std::iswalpha(pattern[j])) ++j;
        while (j < pattern.size() && (pattern[j] == L'l' || pattern[j] == L'h' || pattern[j] == L'I')) ++j;
        if (j >= pattern.size()) {
            out.append(pattern, i, std::wstring::npos);
            break;
        }
        if (next != args.end()) out += *next++;
        i = j;
    }
    return out;
}

std::wstring formatString(unsigned id, std::initializer_list<std::wstring> args) {
    return fillFields(loadString(id), args);
}
