#include "support/SampleCard.h"

#include <algorithm>
#include <cstdlib>

std::wstring sampleCardFolder(const std::wstring& relative, const wchar_t* override) {
    if (override != nullptr)
        if (const wchar_t* chosen = _wgetenv(override)) return chosen;
    const wchar_t* build = _wgetenv(L"SCENOVA_BUILD_DIR");
    std::wstring folder = L"Z:" + std::wstring(build != nullptr ? build : L"") + L"/sample-card/" + relative;
    std::replace(folder.begin(), folder.end(), L'/', L'\\');
    return folder;
}
