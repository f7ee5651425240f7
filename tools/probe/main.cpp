// scenova-probe: the test bed's helper inside Wine.
//
//   scenova-probe hold-desktop
//       Uses the desktop and waits until it is killed. Started with its output streams on
//       /dev/null before the tests, it makes Wine start the desktop's process (which takes
//       the standard error of whoever starts it) with those streams, and keeps the desktop,
//       and so that process, alive for the whole run.
//   scenova-probe watch PROGRAM INTERVAL_MS
//       Prints a CSV line of the process's memory, handles, GDI and USER objects every
//       INTERVAL_MS until it ends; PROGRAM is the full Windows path of its program file.
//   scenova-probe open PROGRAM FOLDER
//       Opens FOLDER in the running viewer through ファイル → 開く... and its folder dialog.
//   scenova-probe exit PROGRAM
//       Ends the running viewer through ファイル → 終了, confirming the question.
//   scenova-probe folder-dialog PROGRAM
//       Prints the folder selected in the viewer's open folder dialog (or the settings'
//       drive dialog), the control with the keyboard focus as CLASS#ID and the entry chosen in
//       its kind list (0 event, 1 image, 2 continuous, -1 none), separated by tabs; status 1
//       when none is open.
//   scenova-probe menu PROGRAM
//       Status 0 while one of the viewer's menus is open, 1 otherwise.
//   scenova-probe windows
//       Lists every visible window of the desktop with its children (tools/probe/WindowList.h).
//   scenova-probe panels PROGRAM
//       Prints the text of each visible panel of the viewer's main window that has one, one a
//       line: the info panel's date and time ("2024/05/01 12:34:56"), the speed meter's
//       speed ("42 km/h"); status 1 when the viewer has no main window.
// Every command but hold-desktop may follow "--desktop NAME": it then looks for the viewer on
// the Wine desktop NAME (a viewer started by "explorer /desktop=NAME,...") instead of the
// default one, whose windows it cannot see.
// Exit status 0 on success, 1 on failure (the reason on standard error), 64 on misuse.
#include "tools/probe/ProcessCounters.h"
#include "tools/probe/ViewerDriver.h"
#include "tools/probe/WindowList.h"

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: scenova-probe hold-desktop\n"

                 "       scenova-probe watch PROGRAM INTERVAL_MS\n"
                 "       scenova-probe open PROGRAM FOLDER\n"
                 "       scenova-probe exit PROGRAM\n"
                 "       scenova-probe folder-dialog PROGRAM\n"
                 "       scenova-probe focus PROGRAM\n"
                 "       scenova-probe menu PROGRAM\n"
                 "       scenova-probe panels PROGRAM\n"
                 "       scenova-probe windows\n"
                 "       (--desktop NAME may come before any command but hold-desktop)\n");
    return 64;
}

int holdDesktop() {
    GetDesktopWindow();
    HWND window = CreateWindowExW(0, L"STATIC", L"scenova-probe", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    if (window == nullptr) {
        std::fprintf(stderr, "scenova-probe: no window: error %lu\n", GetLastError());
        return 1;
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    return 0;
}

DWORD processOf(const wchar_t* program) {
    DWORD id = ViewerDriver::findProcess(program);
    if (id == 0) std::fprintf(stderr, "scenova-probe: no running process of %ls\n", program);
    return id;
}

int watch(const wchar_t* program, DWORD intervalMs) {
    DWORD id = processOf(program);
    if (id == 0) return 1;
    ProcessCounters counters(id);
    if (!counters.ok()) {
        std::fprintf(stderr, "scenova-probe: cannot open process %lu: error %lu\n", id, GetLastError());
        return 1;
    }
    std::printf("seconds,working_set_kb,peak_working_set_kb,private_kb,handles,gdi_objects,user_objects\n");
    bool first = true;
    DWORD start = GetTickCount();
    for (DWORD next = start;; next += intervalMs) {
        CounterSample sample;
        if (!counters.read(sample)) break;
        if (first) {
            std::fprintf(stderr, "scenova-probe: watching process %lu; %s\n", id, counters.sources().c_str());
            first = false;
        }
        std::printf("%.1f,%zu,%zu,%zu,%lu,%lu,%lu\n", (GetTickCount() - start) / 1000.0, sample.workingSetBytes / 1024,
                    sample.peakWorkingSetBytes / 1024, sample.privateBytes / 1024, sample.handles, sample.gdiObjects,
                    sample.userObjects);
        std::fflush(stdout);
        DWORD now = GetTickCount();
        if (static_cast<int>(next + intervalMs - now) > 0) Sleep(next + intervalMs - now);
        else next = now;  // fell behind: go on from here rather than sampling in a burst
    }
    return 0;
}

int drive(const wchar_t* program, const wchar_t* folder) {
    DWORD id = processOf(program);
    if (id == 0) return 1;
    ViewerDriver viewer(id);
    bool done = folder != nullptr ? viewer.openFolder(folder) : viewer.exitProgram();
    if (!done) std::fprintf(stderr, "scenova-probe: %s\n", viewer.error().c_str());
    return done ? 0 : 1;
}

void printUtf8(const std::wstring& line) {
    int size = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string text(size > 0 ? size - 1 : 0, '\0');
    if (size > 1) WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, &text[0], size, nullptr, nullptr);
    std::fputs(text.c_str(), stdout);
}

int printFolderDialog(const wchar_t* program) {
    DWORD id = processOf(program);
    if (id == 0) return 1;
    std::wstring selected, focus;
    int kind = -1;
    if (!ViewerDriver(id).folderDialogState(selected, focus, kind)) return 1;
    printUtf8(selected + L"\t" + focus + L"\t" + std::to_wstring(kind) + L"\n");
    return 0;
}

int printFocus(const wchar_t* program) {
    DWORD id = processOf(program);
    if (id == 0) return 1;
    std::wstring focusClass, text;
    if (!ViewerDriver(id).focusedControl(focusClass, text)) return 1;
    printUtf8(focusClass + L"\t" + text + L"\n");
    return 0;
}

int printPanels(const wchar_t* program) {
    DWORD id = processOf(program);
    if (id == 0) return 1;
    std::vector<std::wstring> texts;
    if (!ViewerDriver(id).panelTexts(texts)) {
        std::fprintf(stderr, "scenova-probe: the viewer has no main window\n");
        return 1;
    }
    for (const std::wstring& text : texts) printUtf8(text + L"\n");
    return 0;
}

// Moves this thread to the desktop NAME, before it has any window.
bool useDesktop(const wchar_t* name) {
    HDESK desktop = OpenDesktopW(name, 0, FALSE, GENERIC_ALL);
    if (desktop == nullptr || !SetThreadDesktop(desktop)) {
        std::fprintf(stderr, "scenova-probe: cannot use the desktop %ls: error %lu\n", name, GetLastError());
        return false;
    }
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc > 3 && std::wstring(argv[1]) == L"--desktop") {
        if (!useDesktop(argv[2])) return 1;
        argv[2] = argv[0];
        argv += 2;
        argc -= 2;
    }
    std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"hold-desktop" && argc == 2) return holdDesktop();
    if (command == L"watch" && argc == 4) return watch(argv[2], static_cast<DWORD>(std::wcstoul(argv[3], nullptr, 10)));
    if (command == L"open" && argc == 4) return drive(argv[2], argv[3]);
    if (command == L"exit" && argc == 3) return drive(argv[2], nullptr);
    if (command == L"folder-dialog" && argc == 3) return printFolderDialog(argv[2]);
    if (command == L"focus" && argc == 3) return printFocus(argv[2]);
    if (command == L"panels" && argc == 3) return printPanels(argv[2]);
    if (command == L"windows" && argc == 2) {
        printWindowList();
        return 0;
    }
    if (command == L"menu" && argc == 3) {
        DWORD id = processOf(argv[2]);
        return id != 0 && ViewerDriver(id).menuOpen() ? 0 : 1;
    }
    return usage();
}
