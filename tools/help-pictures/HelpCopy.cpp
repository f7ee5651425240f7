// Writes the help page and its pictures out of the program's resources into a folder, the
// same way the viewer does before it opens the page in the browser, so that the page can be
// looked at in a real browser without the viewer.
//
//   scenova-help-copy.exe FOLDER      (the folder must exist)
#include "app/HelpPage.h"
#include "base/Exception.h"

#include <windows.h>

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: scenova-help-copy.exe FOLDER\n");
        return 2;
    }
    try {
        HelpPage::writeTo(argv[1]);
    } catch (const Exception& failure) {
        const std::wstring& text = failure.message();
        int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
        std::string bytes(static_cast<std::size_t>(size), '\0');
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &bytes[0], size, nullptr, nullptr);
        std::fprintf(stderr, "scenova-help-copy: cannot write the help page: %s\n", bytes.c_str());
        return 1;
    }
    return 0;
}
