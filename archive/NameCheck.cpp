#include "archive/NameCheck.h"

#include <cwctype>

namespace {

constexpr std::size_t kComparedTail = 4;
const wchar_t kChapterPattern[] = L"Video????.dmv";
constexpr std::size_t kChapterNameLength = 13;

wchar_t upper(wchar_t c) { return static_cast<wchar_t>(std::towupper(c)); }

// The last four characters, or the whole string when it is shorter.
std::wstring upperTail(const std::wstring& text) {
    std::size_t start = text.size() > kComparedTail ? text.size() - kComparedTail : 0;
    std::wstring tail = text.substr(start);
    for (wchar_t& c : tail) c = upper(c);
    return tail;
}

}  // namespace

bool nameMatchesPattern(const std::wstring& pattern, const std::wstring& name) {
    if (upperTail(pattern) != upperTail(name)) return false;
    if (pattern != kChapterPattern) return true;
    if (name.size() != kChapterNameLength) return false;
    static const wchar_t prefix[] = L"VIDEO";
    for (std::size_t i = 0; i < 5; ++i) {
        if (upper(name[i]) != prefix[i]) return false;
    }
    for (std::size_t i = 5; i < 9; ++i) {
        if (name[i] < L'0' || name[i] > L'9') return false;
    }
    return true;
}
