#include "base/StringTable.h"

#include <cwctype>

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
