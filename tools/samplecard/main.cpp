// scenova-samplecard ROOT: writes a sample SD card of the recorder into ROOT, for trying the
// viewer and the console program. The build runs it under Wine.
#include "tools/samplecard/SampleCard.h"

#include <cstdio>
#include <string>

namespace {

// The build hands over a Unix path; Wine's Z: drive is the Unix root.
std::wstring windowsPath(std::wstring path) {
    if (!path.empty() && path[0] == L'/') {
        for (wchar_t& c : path) {
            if (c == L'/') c = L'\\';
        }
        path = L"Z:" + path;
    }
    while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
    return path;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: scenova-samplecard ROOT\n");
        return 64;
    }
    SampleCard card(windowsPath(argv[1]));
    return card.write() ? 0 : 1;
}
